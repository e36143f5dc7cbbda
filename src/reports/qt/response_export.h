// SPDX-License-Identifier: GPL-3.0-or-later
// The Export Response Data command: a window-modal save dialog whose typed
// suffix, else its file type, chooses FRD, ZMA or CSV, the file written whole
// or not at all, and an alert naming the path and the reason when it cannot
// be.
#pragma once

#include <QFileDialog>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>

#include "graphs/response_data.h"
#include "reports/qt/design_sheet.h"

namespace ks {

struct Kestrova;

// What a chosen name writes: the typed suffix (frd, zma or csv in any case)
// decides the format; a name without one of those gets the chosen file
// type's suffix and format.
struct ExportTarget {
    QString path;
    ResponseFormat format;
};
ExportTarget ExportTargetFor(const QString& chosen, ResponseFormat fileType);

class ResponseExport : public DesignSheet {
    Q_OBJECT
public:
    ResponseExport(Kestrova& k, SheetWindow& window, QObject* parent = nullptr);

    void Export();

    QFileDialog* saveDialog() const { return dialog_; }
    QMessageBox* failureAlert() const { return alert_; }

private:
    void OpenDialog(const QString& proposed, ResponseFormat type);
    void Chosen(int result);
    void ShowWriteFailure(const QString& path, const QString& reason);
    void Done();

    Kestrova& k_;
    QString folder_;  // the folder of the last file written
    QPointer<QFileDialog> dialog_;
    QPointer<QMessageBox> alert_;
};

}  // namespace ks
