// Printing: the page drawn into a PDF and read back with pdftotext, the
// scale and error texts, and the dialogs' effect on the menus.
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QRadioButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "context/kestrova.h"
#include "model/response.h"
#include "reports/print_job.h"
#include "reports/qt/printing.h"
#include "support/numtext.h"

using namespace ks;

namespace {

struct Host : SheetWindow {
    QWidget window;
    bool hasWindow = true;
    int disabled = 0, restored = 0, beeps = 0;
    QWidget* designWindow() override { return hasWindow ? &window : nullptr; }
    // Counts what the sheet reports.
    void watch(DesignSheet& s)
    {
        QObject::connect(&s, &DesignSheet::busy, [this] { ++disabled; });
        QObject::connect(&s, &DesignSheet::idle, [this] { ++restored; });
        QObject::connect(&s, &DesignSheet::beepRequested, [this] { ++beeps; });
    }
};

DateStamp FixedDate() { return DateStamp{2026, 12, 5, 14, 30, 0}; }

// A closed-box or baffle design as the set-up sequence leaves it.
void SetUp(Kestrova& k, bool closedBox)
{
    k = Kestrova{};
    if (closedBox) {
        k.d.s_SP2 = "Box 10";
        k.d.FS2 = 50.0f;
        k.d.VAS2 = 10.0f;
        k.d.QTS2 = 0.35f;
    }
    ParameterPass(k.d);
    InitSetUpMenuParam(k.d);
    SPLcal(k.d);
}

// Collapses runs of blanks, as pdftotext's layout varies with spacing.
QString Squeeze(QString s) { return s.simplified(); }

}  // namespace

class PrintTest : public QObject {
    Q_OBJECT

    Kestrova k;
    Host host;
    QTemporaryDir dir;

    QString printToPdf(const QString& name)
    {
        Printing printing(k, host);
        host.watch(printing);
        printing.clock = FixedDate;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageSize(QPageSize(QPageSize::Letter));
        const QString pdf = dir.filePath(name + ".pdf");
        printer.setOutputFileName(pdf);
        if (!printing.MyDoPrintLoop(printer)) return {};
        // The whole page, down to the date stamp, lies inside the printable area.
        const QRectF paint = printer.pageLayout().paintRect(QPageLayout::Point);
        if (paint.top() < 1.0 || printing.pageScale() * 780.0 > paint.height() + 1e-9) return {};
        QProcess p;
        p.start("pdftotext", {"-layout", pdf, "-"});
        if (!p.waitForFinished(30000)) return {};
        return QString::fromUtf8(p.readAllStandardOutput());
    }

private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable("pdftotext").isEmpty()) QSKIP("pdftotext is missing");
    }

    void graphPageOfAClosedBox()
    {
        SetUp(k, true);
        k.prefs.PrintDateCheck = 1;
        const QString text = printToPdf("amp-box");
        QVERIFY(!text.isEmpty());
        const QString s = Squeeze(text);
        // The page drawn (pinned as a display list in graphs/golden) reaches
        // the document: the graph, the list and the stamp.
        QVERIFY2(s.contains("Amplitude"), qPrintable(text));
        QVERIFY(s.contains("Closed Box Parameters"));
        QVERIFY(s.contains("Kestrova Box 10 Dec/05/2026 14:30:00"));
    }

    void pageScale()
    {
        QVERIFY(std::abs(CalcPrintPageScale(0, 0, 734, 576) - 105.62) < 0.01);
        // Landscape fits the height.
        QVERIFY(std::abs(CalcPrintPageScale(0, 0, 576, 734) - 73.674) < 0.001);
    }

    void errorTexts()
    {
        PrintErrorText a = PrintErrorTexts(-30872);
        QCOMPARE(a.message.str(), std::string("No default printer specified"));
        QCOMPARE(a.informative.str(), std::string("Error code -30872"));
        PrintErrorText b = PrintErrorTexts(-1);
        QCOMPARE(b.message.str(), std::string("Printing error"));
        QCOMPARE(b.informative.str(), std::string("Error code -1"));
    }

    void noDesignWindowBeeps()
    {
        SetUp(k, true);
        host.hasWindow = false;
        host.beeps = host.disabled = 0;
        Printing printing(k, host);
        host.watch(printing);
        printing.MyDoPrint();
        printing.MyDoPageSetup();
        QCOMPARE(host.beeps, 2);
        QCOMPARE(host.disabled, 0);
        QVERIFY(!printing.printDialog());
        host.hasWindow = true;
    }

    void printDialogIsWindowModalForOnePage()
    {
        SetUp(k, true);
        host.disabled = host.restored = 0;
        host.window.show();
        Printing printing(k, host);
        host.watch(printing);
        printing.MyDoPrint();
        QPrintDialog* dlg = printing.printDialog();
        QVERIFY(dlg);
        QCOMPARE(dlg->windowModality(), Qt::WindowModal);
        QCOMPARE(host.disabled, 1);
        QCOMPARE(printing.printer()->docName(), QString("Box 10 Amplitude"));
        QCOMPARE(printing.printer()->fromPage(), 1);
        QCOMPARE(printing.printer()->toPage(), 1);
        QCOMPARE(printing.printer()->copyCount(), 1);
        dlg->reject();
        QCOMPARE(host.restored, 1);
        QVERIFY(!printing.printDialog());
    }

    // Paper, orientation and scale chosen in the sheet stay with the window
    // and reach the next sheet and the print.
    void pageSetupKeepsOrientationAndScale()
    {
        SetUp(k, true);
        host.disabled = host.restored = 0;
        Printing printing(k, host);
        host.watch(printing);
        printing.MyDoPageSetup();
        PageSetupSheet* sheet = printing.pageSetupDialog();
        QVERIFY(sheet);
        QCOMPARE(sheet->windowModality(), Qt::WindowModal);
        QCOMPARE(host.disabled, 1);
        QCOMPARE(sheet->findChild<QSpinBox*>("scale")->maximum(), 1000);
        sheet->findChild<QRadioButton*>("landscape")->setChecked(true);
        sheet->findChild<QSpinBox*>("scale")->setValue(50);
        sheet->accept();
        QCOMPARE(host.restored, 1);
        QCOMPARE(k.sh.GPrintScale, 50.0);
        QCOMPARE(printing.pageLayout().orientation(), QPageLayout::Landscape);

        printing.MyDoPageSetup();
        sheet = printing.pageSetupDialog();
        QVERIFY(sheet->findChild<QRadioButton*>("landscape")->isChecked());
        QCOMPARE(sheet->findChild<QSpinBox*>("scale")->value(), 50);
        sheet->reject();
        QCOMPARE(k.sh.GPrintScale, 50.0);

        printing.MyDoPrint();
        QVERIFY(printing.printDialog());
        QCOMPARE(printing.printer()->pageLayout().orientation(), QPageLayout::Landscape);
        printing.printDialog()->reject();
    }
};

QTEST_MAIN(PrintTest)
#include "print_test.moc"
