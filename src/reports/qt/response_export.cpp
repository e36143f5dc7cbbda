#include "reports/qt/response_export.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include "context/kestrova.h"
#include "graphs/qt/picture_output.h"
#include "graphs/response_data.h"
#include "support/macroman.h"
#include "support/qt/qt_text.h"
#include "support/qt/save_file.h"

namespace ks {

namespace {

struct FileType {
    const char* filter;
    ResponseFormat format;
};
constexpr FileType kTypes[] = {
    {"Frequency response (*.frd)", ResponseFormat::Frd},
    {"Impedance (*.zma)", ResponseFormat::Zma},
    {"Spreadsheet table (*.csv)", ResponseFormat::Csv},
};

const FileType& TypeOf(const QString& filter)
{
    for (const FileType& t : kTypes)
        if (filter == QLatin1String(t.filter)) return t;
    return kTypes[0];
}

}  // namespace

ResponseExport::ResponseExport(Kestrova& k, SheetWindow& window, QObject* parent)
    : DesignSheet(window, parent), k_(k), folder_(QDir::homePath())
{
}

void ResponseExport::Export()
{
    if (!window_.designWindow() || dialog_ || alert_) return;
    emit busy();

    // The driver's model names the file; a slash would name a folder.
    QString model = FromMacRoman(k_.d.s_SP.view());
    model.replace(QLatin1Char('/'), QLatin1Char('-')).replace(QLatin1Char('\0'), QLatin1Char('-'));
    if (model.trimmed().isEmpty()) model = QStringLiteral("Kestrova");

    QFileDialog* dlg = SaveDialog(QStringLiteral("Export Response Data"));
    QStringList filters;
    for (const FileType& t : kTypes) filters << QLatin1String(t.filter);
    // In a save dialog another file type also puts its suffix on the name.
    dlg->setNameFilters(filters);
    dlg->setDirectory(folder_);
    dlg->selectFile(model + QStringLiteral(".frd"));
    connect(dlg, &QDialog::finished, this, &ResponseExport::Chosen);
    dialog_ = dlg;
    dlg->open();
}

void ResponseExport::Chosen(int result)
{
    QString path;
    const FileType* type = &kTypes[0];
    if (dialog_ && result == QDialog::Accepted && !dialog_->selectedFiles().isEmpty()) {
        path = dialog_->selectedFiles().constFirst();
        type = &TypeOf(dialog_->selectedNameFilter());
    }
    dialog_ = nullptr;
    if (path.isEmpty()) return Done();

    if (const std::string why = ResponseRefusal(k_.d, type->format); !why.empty())
        return ShowWriteFailure(path, QString::fromStdString(why));
    const std::string text = ResponseText(SampleResponse(k_.d, ResponseRange{}), type->format,
                                          QDateTime::currentDateTime().toString(Qt::ISODate).toStdString());
    const QString failed = SaveFileBytes(path, QByteArray::fromStdString(text));
    if (!failed.isEmpty()) return ShowWriteFailure(path, failed);
    folder_ = QFileInfo(path).absolutePath();
    Done();
}

void ResponseExport::ShowWriteFailure(const QString& path, const QString& reason)
{
    auto* box = new QMessageBox(
        QMessageBox::Warning, QStringLiteral("Kestrova"),
        QStringLiteral("The response data could not be saved as \"%1\".").arg(QDir::toNativeSeparators(path)),
        QMessageBox::Ok, window_.designWindow());
    box->setInformativeText(reason);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setObjectName(QStringLiteral("ExportFailed"));
    box->setWindowModality(Qt::WindowModal);
    connect(box, &QMessageBox::finished, this, [this] {
        alert_ = nullptr;
        Done();
    });
    alert_ = box;
    box->open();
}

void ResponseExport::Done()
{
    emit idle();
    emit finished();
}

}  // namespace ks
