// SPDX-License-Identifier: GPL-3.0-or-later
// The snapshot command: the design window as displayed, saved as a PNG
// through a window-modal save dialog.
#pragma once

#include <QFileDialog>
#include <QImage>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>

#include "reports/qt/design_sheet.h"

class QWidget;

namespace ks {

struct Kestrova;
class SoundPlayer;

class Snapshot : public DesignSheet {
    Q_OBJECT
public:
    Snapshot(Kestrova& k, SoundPlayer& sound, SheetWindow& window, QObject* parent = nullptr);

    // Snapshot Response...: the shutter sound, the picture, the save dialog.
    void SnapShot();
    // The captured picture of the design window's content (height 560, or
    // 380 without the edit region).
    QImage CaptureDesignWindow() const;
    // The save dialog for the picture, named after the driver, view and
    // snapshot number.
    void NavSaveAsPngFileWnd(const QImage& image);

    // The open save dialog and failure alert, for tests and for the shell.
    QFileDialog* saveDialog() const { return dialog_; }
    QMessageBox* failureAlert() const { return alert_; }

private:
    // The save dialog's end: the picture written, or the number given back.
    void PutPngFileHandler(int result);
    void ShowWriteFailure(const QString& why);

    Kestrova& k_;
    SoundPlayer& sound_;
    QImage image_;
    QPointer<QFileDialog> dialog_;
    QPointer<QMessageBox> alert_;
};

// Writes a PNG atomically: empty on success; on failure the reason (the
// system's own where there is one) and nothing is left at path.
QString WritePngFile(const QImage& image, const QString& path);

}  // namespace ks
