// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/qt/printing.h"

#include <QDateTime>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QWidget>

#include "context/kestrova.h"
#include "graphs/qt/painter_canvas.h"
#include "reports/print_job.h"
#include "support/macroman.h"
#include "support/qt/file_dialogs.h"
#include "support/qt/qt_text.h"
#include "support/qt/resource_dir.h"

namespace ks {

namespace {

// The drawn page reaches down to the date stamp's baseline at 775 points.
constexpr double kPageContentHeight = 780.0;
// A file printer has no unprintable border; give it the margins of a
// typical desk printer so the page looks the same on paper and in a PDF.
constexpr double kFileMargin = 18.0;

void GiveFileMargins(QPrinter& printer)
{
    if (printer.outputFormat() == QPrinter::PdfFormat && printer.pageLayout().margins(QPageLayout::Point).isNull())
        printer.setPageMargins(QMarginsF(kFileMargin, kFileMargin, kFileMargin, kFileMargin), QPageLayout::Point);
}

}  // namespace

DateStamp CurrentDateStamp()
{
    const QDateTime now = QDateTime::currentDateTime();
    DateStamp s;
    s.year = now.date().year();
    s.month = now.date().month();
    s.day = now.date().day();
    s.hour = now.time().hour();
    s.minute = now.time().minute();
    s.second = now.time().second();
    return s;
}

Printing::Printing(Kestrova& k, SheetWindow& window, QObject* parent)
    : DesignSheet(window, parent), clock(CurrentDateStamp), k_(k)
{
}

Printing::~Printing() = default;

void Printing::MySetupPageFormatForPrinting(QPrinter& printer)
{
    // Made once from the printer's default, then kept and checked before use.
    if (!haveLayout_ || !layout_.isValid()) {
        GiveFileMargins(printer);
        layout_ = printer.pageLayout();
        haveLayout_ = layout_.isValid();
    } else {
        printer.setPageLayout(layout_);
    }
}

QWidget* Printing::PrepareDialog()
{
    QWidget* w = window_.designWindow();
    if (!w) {
        emit beepRequested();
        return nullptr;
    }
    if (setup_ || print_) return nullptr;
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    MySetupPageFormatForPrinting(*printer_);
    return w;
}

void Printing::MyDoPageSetup()
{
    QWidget* w = PrepareDialog();
    if (!w) return;
    emit busy();
    auto* dlg = new PageSetupSheet(printer_->pageLayout(), k_.sh.GPrintScale, w);
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    dlg->setWindowModality(Qt::WindowModal);
    w->unsetCursor();
    connect(dlg, &QDialog::finished, this, &Printing::MyPageSetupDoneRoutine);
    setup_ = dlg;
    dlg->open();
}

void Printing::MyPageSetupDoneRoutine(int result)
{
    if (result == QDialog::Accepted && setup_) {
        const QPageLayout chosen = setup_->chosenLayout();
        if (chosen.isValid()) {
            layout_ = chosen;
            haveLayout_ = true;
        }
        k_.sh.GPrintScale = setup_->chosenScale();
    }
    setup_ = nullptr;
    emit idle();
    emit finished();
}

int Printing::MyGetDocumentNumPagesInDoc(QPrinter& printer)
{
    const QRectF r = printer.pageLayout().paintRect(QPageLayout::Point);
    const double k = CalcPrintPageScale(0.0, 0.0, r.height(), r.width());
    // The page-setup scale acts once.
    pageScale_ = k / 100.0 * (k_.sh.GPrintScale / 100.0);
    // Fitted to the width, the page would run off the bottom of the paper
    // and lose its date stamp; then it is fitted to the height instead.
    if (r.height() > 0.0 && pageScale_ * kPageContentHeight > r.height()) pageScale_ = r.height() / kPageContentHeight;
    return 1;
}

void Printing::MyDoPrint()
{
    QWidget* w = PrepareDialog();
    if (!w) return;
    printer_->setDocName(FromMacRoman(PrintJobName(k_.d)));
    printer_->setFromTo(1, MyGetDocumentNumPagesInDoc(*printer_));
    printer_->setCopyCount(1);
    emit busy();
    auto* dlg = new QPrintDialog(printer_.get(), w);
    // Its output file's completer lists folders as a file dialog does.
    KeepFileModelsFromReading(*dlg);
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    dlg->setWindowModality(Qt::WindowModal);
    dlg->setOption(QAbstractPrintDialog::PrintCollateCopies, false);
    dlg->setMinMax(1, 1);
    connect(dlg, &QDialog::finished, this, &Printing::MyPrintDialogDoneRoutine);
    print_ = dlg;
    dlg->open();
}

void Printing::MyPrintDialogDoneRoutine(int result)
{
    print_ = nullptr;
    if (result == QDialog::Accepted && printer_) {
        // One page and one copy, whatever the dialog allowed.
        printer_->setCopyCount(1);
        printer_->setFromTo(1, 1);
        MyDoPrintLoop(*printer_);
    }
    emit idle();
    emit finished();
}

bool Printing::MyDoPrintLoop(QPrinter& printer)
{
    GiveFileMargins(printer);
    MyGetDocumentNumPagesInDoc(printer);
    QPainter painter;
    if (!painter.begin(&printer)) {
        ReportPMError(-1);
        return false;
    }
    // Page coordinates are points from the printable area's top left,
    // enlarged by the page scale.
    const double unit = printer.resolution() / 72.0 * pageScale_;
    painter.scale(unit, unit);
    PainterCanvas canvas(painter, ImagesDir());
    Canvas* before = k_.page;
    k_.page = &canvas;
    k_.ds.doPrint = 1;
    DrawPrintPage(k_, clock ? clock() : CurrentDateStamp());
    k_.ds.doPrint = 0;
    k_.page = before;
    return painter.end();
}

void Printing::ReportPMError(int code)
{
    const PrintErrorText t = PrintErrorTexts(code);
    auto* box = new QMessageBox(QMessageBox::Information, QStringLiteral("Kestrova"), FromMacRoman(t.message),
                                QMessageBox::Ok, window_.designWindow());
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setObjectName(QStringLiteral("PrintError"));
    box->setInformativeText(FromMacRoman(t.informative));
    box->setWindowModality(Qt::WindowModal);
    alert_ = box;
    box->open();
}

}  // namespace ks
