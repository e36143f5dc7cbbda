#include "reports/qt/design_sheet.h"

#include <QFileDialog>

namespace ks {

QFileDialog* DesignSheet::SaveDialog(const QString& title) const
{
    auto* dlg = new QFileDialog(window_.designWindow());
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    dlg->setOption(QFileDialog::DontUseNativeDialog);
    dlg->setAcceptMode(QFileDialog::AcceptSave);
    dlg->setFileMode(QFileDialog::AnyFile);
    dlg->setWindowModality(Qt::WindowModal);
    dlg->setWindowTitle(title);
    return dlg;
}

}  // namespace ks
