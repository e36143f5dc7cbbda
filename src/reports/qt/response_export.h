// The Export Response Data command: a window-modal save dialog whose file
// type chooses FRD, ZMA or CSV, the file written whole or not at all, and an
// alert naming the path and the reason when it cannot be.
#pragma once

#include <QFileDialog>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>

#include "reports/qt/design_sheet.h"

namespace ks {

struct Kestrova;

class ResponseExport : public DesignSheet {
    Q_OBJECT
public:
    ResponseExport(Kestrova& k, SheetWindow& window, QObject* parent = nullptr);

    void Export();

    QFileDialog* saveDialog() const { return dialog_; }
    QMessageBox* failureAlert() const { return alert_; }

private:
    void Chosen(int result);
    void ShowWriteFailure(const QString& path, const QString& reason);
    void Done();

    Kestrova& k_;
    QString folder_;  // the folder of the last file written
    QPointer<QFileDialog> dialog_;
    QPointer<QMessageBox> alert_;
};

}  // namespace ks
