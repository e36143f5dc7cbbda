// SPDX-License-Identifier: GPL-3.0-or-later
// The shell's design files and comparison: Open Design, Open Recent, Save
// Design (As), Keep for Comparison and Clear Comparison, the file a launch
// names or hands over.
#include <QDir>
#include <QFileInfo>
#include <QTimer>

#include "app/command_line.h"
#include "app/design_apply.h"
#include "app/design_list.h"
#include "app/qt/design_window.h"
#include "app/qt/menu_window.h"
#include "app/qt/menus.h"
#include "app/qt/shell.h"
#include "document/qt/design_file.h"
#include "graphs/dispatch.h"
#include "support/qt/file_dialogs.h"
#include "support/qt/qt_text.h"

namespace ks {

using namespace menu;

namespace {

const QString kDesignFilter = QStringLiteral("Kestrova designs (*.kestrova)");

// A reason as the alert's second line: a sentence.
QString Sentence(QString why)
{
    if (why.isEmpty()) return why;
    why[0] = why[0].toUpper();
    if (!why.endsWith(QLatin1Char('.'))) why += QLatin1Char('.');
    return why;
}

}  // namespace

QWidget* Shell::DialogParent() const
{
    if (design_) return design_;
    if (strip_ && strip_->isVisible()) return strip_;
    return nullptr;
}

QFileDialog* Shell::DesignFileDialog(const QString& title, bool save)
{
    auto* dlg = new QFileDialog(DialogParent());
    KeepFileModelsFromReading(*dlg);
    dlg->setObjectName(QStringLiteral("DesignFileDialog"));
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    dlg->setOption(QFileDialog::DontUseNativeDialog);
    dlg->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg->setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dlg->setWindowModality(dlg->parentWidget() ? Qt::WindowModal : Qt::ApplicationModal);
    dlg->setWindowTitle(title);
    dlg->setDirectory(DialogFolder(designFolder_));
    if (save) {
        dlg->setNameFilter(kDesignFilter);
        dlg->setDefaultSuffix(QString::fromLatin1(kDesignFileSuffix.substr(1)));
    } else {
        dlg->setNameFilters({kDesignFilter, QStringLiteral("All files (*)")});
    }
    // Busy while it is open, as the design window's other sheets are.
    MenuDisable();
    connect(dlg, &QDialog::finished, this, [this] {
        designDialog_ = nullptr;
        RestoreMenus();
    });
    designDialog_ = dlg;
    return dlg;
}

void Shell::ShowDesignAlert(const QString& text, const QString& informative)
{
    QWidget* parent = DialogParent();
    auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Kestrova"), text, QMessageBox::Ok, parent);
    box->setObjectName(QStringLiteral("DesignFileAlert"));
    box->setInformativeText(informative);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);
    designAlert_ = box;
    box->open();
}

void Shell::RememberDesignFile(const QString& path)
{
    designPath_ = QFileInfo(path).absoluteFilePath();
    designFolder_ = QFileInfo(designPath_).absolutePath();
    AddRecentDesign(k_.prefs.RecentDesigns, designPath_.toStdString());
    menus_->SetRecentDesigns(k_.prefs.RecentDesigns);
    menus_->setItemEnabled(kFile, kOpenRecentItem, true);
    if (design_) design_->setWindowTitle(QFileInfo(designPath_).fileName() + QStringLiteral(" \u2014 Kestrova"));
}

bool Shell::OpenDesignFile(const QString& path)
{
    const DesignFileRead read = ReadDesignFile(path);
    if (!read.doc) {
        ShowDesignAlert(
            QStringLiteral("The design \u201C%1\u201D could not be opened.").arg(QDir::toNativeSeparators(path)),
            Sentence(read.error));
        return false;
    }
    const DesignDocument& doc = *read.doc;
    k_.kept = MakeKeptDesigns(doc.kept);
    LoadIncomingDriver(k_.d, doc.driver);
    AdoptIncomingDriver(k_, *this);
    ApplyBoxAndView(doc.box, doc.view, *this);
    // The start-up's default window is not wanted over it.
    startUp_.stop();
    RememberDesignFile(path);
    return true;
}

bool Shell::SaveDesignTo(const QString& path)
{
    const QString failed = WriteDesignFile(path, CaptureDesign(k_));
    if (!failed.isEmpty()) {
        ShowDesignAlert(
            QStringLiteral("The design could not be saved as \u201C%1\u201D.").arg(QDir::toNativeSeparators(path)),
            Sentence(failed));
        return false;
    }
    RememberDesignFile(path);
    return true;
}

void Shell::CommandOpenDesign()
{
    if (designDialog_) return;
    QFileDialog* dlg = DesignFileDialog(QStringLiteral("Open Design"), false);
    connect(dlg, &QDialog::finished, this, [this, dlg](int result) {
        if (result == QDialog::Accepted && !dlg->selectedFiles().isEmpty()) {
            const QString path = dlg->selectedFiles().constFirst();
            QTimer::singleShot(0, this, [this, path] { OpenDesignFile(path); });
        }
    });
    dlg->open();
}

void Shell::CommandSaveDesign()
{
    if (!design_) return;
    if (designPath_.isEmpty())
        CommandSaveDesignAs();
    else
        SaveDesignTo(designPath_);
}

void Shell::CommandSaveDesignAs()
{
    if (!design_ || designDialog_) return;
    // The file's own name again, else the driver's model (a slash would name
    // a folder).
    QString name = QFileInfo(designPath_).completeBaseName();
    if (name.isEmpty()) name = FromMacRoman(k_.d.s_SP.view());
    name.replace(QLatin1Char('/'), QLatin1Char('-')).replace(QChar(0), QLatin1Char('-'));
    if (name.trimmed().isEmpty()) name = QStringLiteral("Kestrova");
    QFileDialog* dlg = DesignFileDialog(QStringLiteral("Save Design As"), true);
    dlg->selectFile(name + QString::fromLatin1(kDesignFileSuffix));
    connect(dlg, &QDialog::finished, this, [this, dlg](int result) {
        if (result == QDialog::Accepted && !dlg->selectedFiles().isEmpty())
            SaveDesignTo(dlg->selectedFiles().constFirst());
    });
    dlg->open();
}

void Shell::OpenRecentDesign(const QString& path)
{
    if (!QFileInfo::exists(path)) {
        DropRecentDesign(k_.prefs.RecentDesigns, path.toStdString());
        menus_->SetRecentDesigns(k_.prefs.RecentDesigns);
        menus_->setItemEnabled(kFile, kOpenRecentItem, !k_.prefs.RecentDesigns.empty());
        ShowDesignAlert(
            QStringLiteral("The design \u201C%1\u201D is no longer there.").arg(QDir::toNativeSeparators(path)),
            QStringLiteral("It has been taken off Open Recent."));
        return;
    }
    OpenDesignFile(path);
}

void Shell::OpenDesignAtStart(const QString& path)
{
    QTimer::singleShot(0, this, [this, path] { OpenDesignFile(path); });
}

void Shell::OpenHandedDesign(const QString& path)
{
    if (holds_ > 0) {
        held_.push(Held{true, path.toStdString()});
        return;
    }
    if (OpenDesignFile(path) && design_) {
        design_->raise();
        design_->activateWindow();
    }
}

void Shell::CommandKeepForComparison()
{
    if (!design_) return;
    QString name = QFileInfo(designPath_).completeBaseName();
    if (name.isEmpty()) name = FromMacRoman(k_.d.s_SP.view());
    KeepForComparison(k_, name.toStdString());
    menus_->setItemEnabled(kResponse, kClearKeptItem, true);
    ResponsePlot(k_);
}

void Shell::CommandClearComparison()
{
    if (!design_) return;
    k_.kept.clear();
    menus_->setItemEnabled(kResponse, kClearKeptItem, false);
    ResponsePlot(k_);
}

}  // namespace ks
