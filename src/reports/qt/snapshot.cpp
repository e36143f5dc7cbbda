// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/qt/snapshot.h"

#include <QFileDialog>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include "context/kestrova.h"
#include "graphs/dispatch.h"
#include "reports/snapshot_name.h"
#include "sound/sound.h"
#include "support/macroman.h"
#include "support/qt/qt_text.h"
#include "support/qt/save_file.h"

namespace ks {

QString WritePngFile(const QImage& image, const QString& path)
{
    if (image.isNull()) return QStringLiteral("no picture was taken");
    return SaveFileAtomically(path, [&image](QIODevice& file) { return image.save(&file, "PNG"); });
}

Snapshot::Snapshot(Kestrova& k, SoundPlayer& sound, SheetWindow& window, QObject* parent)
    : DesignSheet(window, parent), k_(k), sound_(sound)
{
}

QImage Snapshot::CaptureDesignWindow() const
{
    QWidget* w = window_.designWindow();
    if (!w) return {};
    // The content region lies below the menu bar, which is no part of it.
    if (auto* main = qobject_cast<QMainWindow*>(w); main && main->centralWidget()) w = main->centralWidget();
    int height = w->height();
    // Without the edit region only the graph area at the top remains.
    if (k_.prefs.SnapRegionCheck == 0) height -= 180;
    if (height <= 0) return {};
    const QRect area(0, 0, w->width(), height);

    // As displayed, with whatever lies over the window, where the platform
    // lets us read the screen; otherwise the window renders itself.
    const QString platform = QGuiApplication::platformName();
    if (platform != QLatin1String("offscreen") && platform != QLatin1String("minimal")) {
        if (QScreen* screen = w->screen()) {
            const QPoint origin = w->mapToGlobal(QPoint(0, 0)) - screen->geometry().topLeft();
            const QPixmap shot = screen->grabWindow(0, origin.x(), origin.y(), area.width(), area.height());
            if (!shot.isNull()) return shot.toImage();
        }
    }
    return w->grab(area).toImage();
}

void Snapshot::SnapShot()
{
    if (!window_.designWindow() || dialog_) return;
    if (k_.prefs.SnapSoundCheck == 1) sound_.PlayMovieSoundFromSupportFilename("Shutter.aif", "Images");
    const QImage image = CaptureDesignWindow();
    if (image.isNull()) return;
    NavSaveAsPngFileWnd(image);
}

void Snapshot::NavSaveAsPngFileWnd(const QImage& image)
{
    emit busy();
    ++k_.sh.SnapNum;
    image_ = image;
    const PStr name = SnapShotFileName(k_.d.s_SP, SetResponseTitle(k_.d), k_.sh.SnapNum);

    QFileDialog* dlg = SaveDialog(QStringLiteral("Save This Png File As..."));
    dlg->setLabelText(QFileDialog::FileName, QStringLiteral("Save This Png File As..."));
    dlg->selectFile(FromMacRoman(name.view()));
    connect(dlg, &QDialog::finished, this, &Snapshot::PutPngFileHandler);
    dialog_ = dlg;
    dlg->open();
}

void Snapshot::PutPngFileHandler(int result)
{
    QString path;
    if (dialog_ && result == QDialog::Accepted && !dialog_->selectedFiles().isEmpty())
        path = dialog_->selectedFiles().constFirst();
    dialog_ = nullptr;

    if (path.isEmpty()) {
        // Cancelled: the number is offered again next time.
        --k_.sh.SnapNum;
    } else if (const QString why = WritePngFile(image_, path); !why.isEmpty()) {
        image_ = {};
        ShowWriteFailure(why);
        return;
    }
    image_ = {};
    emit idle();
    emit finished();
}

void Snapshot::ShowWriteFailure(const QString& why)
{
    auto* box = new QMessageBox(QMessageBox::Critical, QStringLiteral("Kestrova"),
                                QStringLiteral("SaveImageFile failed"), QMessageBox::NoButton, window_.designWindow());
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setObjectName(QStringLiteral("SaveImageFileFailed"));
    box->setInformativeText(why);
    QPushButton* cont = box->addButton(QStringLiteral("Continue"), QMessageBox::AcceptRole);
    QPushButton* quit = box->addButton(QStringLiteral("Quit"), QMessageBox::DestructiveRole);
    box->setDefaultButton(cont);
    box->setWindowModality(Qt::WindowModal);
    connect(box, &QMessageBox::finished, this, [this, box, quit](int) {
        const bool stop = box->clickedButton() == quit;
        alert_ = nullptr;
        emit idle();
        emit finished();
        if (stop) emit quitRequested();
    });
    alert_ = box;
    box->open();
}

}  // namespace ks
