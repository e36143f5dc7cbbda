// SPDX-License-Identifier: GPL-3.0-or-later
// Page Setup and Print of the current view: window-modal dialogs on the
// design window, one page, one copy.
#pragma once

#include <QMessageBox>
#include <QObject>
#include <QPageLayout>
#include <QPointer>
#include <QPrintDialog>
#include <functional>
#include <memory>

#include "reports/print_page.h"
#include "reports/qt/design_sheet.h"
#include "reports/qt/page_setup_sheet.h"

class QPrinter;
class QWidget;

namespace ks {

struct Kestrova;

class Printing : public DesignSheet {
    Q_OBJECT
public:
    Printing(Kestrova& k, SheetWindow& window, QObject* parent = nullptr);
    ~Printing() override;

    // Page Setup...: the page setup sheet on the design window.
    void MyDoPageSetup();
    // Print...: the print dialog on the design window; without one a beep.
    void MyDoPrint();
    // Draws the one page onto the printer; false (and the error alert) when
    // the printer cannot be opened.
    bool MyDoPrintLoop(QPrinter& printer);
    // The printing error alert for the code, on the design window.
    void ReportPMError(int code);

    // The page layout kept with the design window.
    QPageLayout pageLayout() const { return layout_; }
    // The date stamp's clock (tests fix it).
    std::function<DateStamp()> clock;

    PageSetupSheet* pageSetupDialog() const { return setup_; }
    QPrintDialog* printDialog() const { return print_; }
    QMessageBox* errorAlert() const { return alert_; }
    QPrinter* printer() const { return printer_.get(); }
    // Device points per page point of the last page drawn.
    double pageScale() const { return pageScale_; }

private:
    // The design window a dialog opens on, with a fresh printer set up;
    // nullptr (after a beep when there is no window) when none may open.
    QWidget* PrepareDialog();
    // The kept page layout onto the printer (made from its default once).
    void MySetupPageFormatForPrinting(QPrinter& printer);
    // The page setup sheet's end: an accepted layout and scale are kept.
    void MyPageSetupDoneRoutine(int result);
    // The print dialog's end: an accepted one prints the page.
    void MyPrintDialogDoneRoutine(int result);
    // The page count (always 1), setting the page's scale on the way.
    int MyGetDocumentNumPagesInDoc(QPrinter& printer);

    Kestrova& k_;
    QPageLayout layout_;
    bool haveLayout_ = false;
    std::unique_ptr<QPrinter> printer_;
    QPointer<PageSetupSheet> setup_;
    QPointer<QPrintDialog> print_;
    QPointer<QMessageBox> alert_;
    double pageScale_ = 1.0;
};

DateStamp CurrentDateStamp();

}  // namespace ks
