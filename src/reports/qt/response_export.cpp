// SPDX-License-Identifier: GPL-3.0-or-later
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
    const char* suffix;
    ResponseFormat format;
};
constexpr FileType kTypes[] = {
    {"Frequency response (*.frd)", "frd", ResponseFormat::Frd},
    {"Impedance (*.zma)", "zma", ResponseFormat::Zma},
    {"Spreadsheet table (*.csv)", "csv", ResponseFormat::Csv},
};

const FileType& TypeOf(const QString& filter)
{
    for (const FileType& t : kTypes)
        if (filter == QLatin1String(t.filter)) return t;
    return kTypes[0];
}

const FileType& TypeOf(ResponseFormat format)
{
    for (const FileType& t : kTypes)
        if (t.format == format) return t;
    return kTypes[0];
}

}  // namespace

ExportTarget ExportTargetFor(const QString& chosen, ResponseFormat fileType)
{
    if (const auto typed = ResponseFormatNamed(QFileInfo(chosen).suffix().toStdString())) return {chosen, *typed};
    return {chosen + QLatin1Char('.') + QLatin1String(TypeOf(fileType).suffix), fileType};
}

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
    OpenDialog(QDir(folder_).filePath(model + QStringLiteral(".frd")), ResponseFormat::Frd);
}

void ResponseExport::OpenDialog(const QString& proposed, ResponseFormat type)
{
    QFileDialog* dlg = SaveDialog(QStringLiteral("Export Response Data"), QFileInfo(proposed).absolutePath());
    QStringList filters;
    for (const FileType& t : kTypes) filters << QLatin1String(t.filter);
    // In a save dialog another file type also puts its suffix on the name,
    // and a name typed without a suffix gets the type's before the dialog
    // asks about replacing a file.
    dlg->setNameFilters(filters);
    dlg->selectNameFilter(QLatin1String(TypeOf(type).filter));
    dlg->setDefaultSuffix(QLatin1String(TypeOf(type).suffix));
    connect(dlg, &QFileDialog::filterSelected, dlg,
            [dlg](const QString& filter) { dlg->setDefaultSuffix(QLatin1String(TypeOf(filter).suffix)); });
    dlg->selectFile(QFileInfo(proposed).fileName());
    connect(dlg, &QDialog::finished, this, &ResponseExport::Chosen);
    dialog_ = dlg;
    dlg->open();
}

void ResponseExport::Chosen(int result)
{
    QString path;
    ResponseFormat type = ResponseFormat::Frd;
    if (dialog_ && result == QDialog::Accepted && !dialog_->selectedFiles().isEmpty()) {
        path = dialog_->selectedFiles().constFirst();
        type = TypeOf(dialog_->selectedNameFilter()).format;
    }
    dialog_ = nullptr;
    if (path.isEmpty()) return Done();

    const ExportTarget target = ExportTargetFor(path, type);
    // The suffix added names another file: one that exists is replaced only
    // when the user says so, in the dialog again.
    if (target.path != path && QFileInfo::exists(target.path)) return OpenDialog(target.path, target.format);
    if (const std::string why = ResponseRefusal(k_.d, target.format); !why.empty())
        return ShowWriteFailure(target.path, QString::fromStdString(why));
    const std::string text = ResponseText(SampleResponse(k_.d, ResponseRange{}), target.format,
                                          QDateTime::currentDateTime().toString(Qt::ISODate).toStdString());
    const QString failed = SaveFileBytes(target.path, QByteArray::fromStdString(text));
    if (!failed.isEmpty()) return ShowWriteFailure(target.path, failed);
    folder_ = QFileInfo(target.path).absolutePath();
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
