// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/qt/design_sheet.h"

#include <QFileDialog>

#include "support/qt/file_dialogs.h"

namespace ks {

QFileDialog* DesignSheet::SaveDialog(const QString& title, const QString& folder) const
{
    auto* dlg = new QFileDialog(window_.designWindow());
    KeepFileModelsFromReading(*dlg);
    // Qt's own choice is the last folder used, in this run or a former one.
    dlg->setDirectory(DialogFolder(folder.isEmpty() ? dlg->directory().absolutePath() : folder));
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    dlg->setOption(QFileDialog::DontUseNativeDialog);
    dlg->setAcceptMode(QFileDialog::AcceptSave);
    dlg->setFileMode(QFileDialog::AnyFile);
    dlg->setWindowModality(Qt::WindowModal);
    dlg->setWindowTitle(title);
    return dlg;
}

}  // namespace ks
