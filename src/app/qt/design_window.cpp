// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/design_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <algorithm>

#include "app/qt/help_tags.h"
#include "app/qt/menus.h"
#include "exchange/companion.h"
#include "graphs/qt/image_canvas.h"
#include "support/macroman.h"
#include "support/numtext.h"
#include "support/qt/bundle_image.h"
#include "support/qt/fonts.h"
#include "support/qt/qt_text.h"
#include "support/qt/window_place.h"

namespace ks {

namespace {

constexpr int kDriverPanel = 101;
constexpr int kBoxPanel = 102;
constexpr Ltrb kDriverPanelRect{0, 380, 370, 560};
constexpr Ltrb kBoxPanelRect{369, 380, 540, 560};

// Edit fields draw their frame around the text rectangle, as the panel's
// geometry expects: the widget is the rectangle grown by this much.
constexpr int kFieldOutset = 2;

enum class Kind { Separator, Static, Label, Unit };

struct StaticDef {
    int id;
    int parent;
    Ltrb r;
    const char* text;
    Kind kind;
    const char* help;  // empty: none
};

// Separators, titles, labels and units, in building order.
constexpr StaticDef kStatics[] = {
    {121, kDriverPanel, {5, 400, 365, 410}, "", Kind::Separator, ""},
    {122, kBoxPanel, {375, 400, 535, 410}, "", Kind::Separator, ""},
    {151, kDriverPanel, {19, 385, 147, 401}, "Driver Parameters", Kind::Static, "Thiele/Small Driver Parameters"},
    {152, kBoxPanel, {378, 385, 530, 401}, "Closed Box Parameters", Kind::Static, "Thiele/Small Closed Box Parameters"},
    {153, kDriverPanel, {18, 420, 65, 436}, "Model :", Kind::Label, "Model Name"},
    {154, kDriverPanel, {20, 445, 65, 461}, "SPL :", Kind::Label, "Sound Pressure Level (1W1m)"},
    {155, kDriverPanel, {20, 470, 65, 486}, "Fs :", Kind::Label, "Free Air Resonance"},
    {156, kDriverPanel, {20, 495, 65, 511}, "Vas :", Kind::Label, "Acoustic Volume"},
    {157, kDriverPanel, {26, 520, 65, 536}, "Effi :", Kind::Label, "Efficiency"},
    {158, kDriverPanel, {198, 420, 237, 436}, "Qts :", Kind::Label, "Total Q Factor"},
    {159, kDriverPanel, {192, 445, 237, 461}, "Qes :", Kind::Label, "Electorical Q Factor"},
    {160, kDriverPanel, {192, 470, 237, 486}, "Qms :", Kind::Label, "Mechanical Q Factor"},
    {161, kDriverPanel, {198, 495, 237, 511}, "Re :", Kind::Label, "Voice Coile D.C. Resistance"},
    {163, kBoxPanel, {371, 420, 410, 436}, "Vb :", Kind::Label, "Box Net Volume"},
    {164, kBoxPanel, {370, 445, 410, 461}, "Fc :", Kind::Label, "Box Tuning Frequency"},
    {165, kBoxPanel, {370, 470, 410, 486}, "Qtc :", Kind::Label, "Closed Box System Total Q Factor"},
    {166, kBoxPanel, {371, 495, 410, 511}, "Qa :", Kind::Label, "Box Loss Factor Q"},
    {201, kDriverPanel, {156, 445, 193, 461}, "dB", Kind::Unit, ""},
    {202, kDriverPanel, {156, 470, 193, 486}, "Hz", Kind::Unit, ""},
    {203, kDriverPanel, {156, 495, 193, 511}, "Liter", Kind::Unit, ""},
    {204, kDriverPanel, {156, 520, 193, 536}, "%", Kind::Unit, ""},
    {205, kDriverPanel, {328, 495, 365, 511}, "Ohm", Kind::Unit, ""},
    {207, kBoxPanel, {501, 420, 538, 436}, "Liter", Kind::Unit, ""},
    {208, kBoxPanel, {501, 445, 538, 461}, "Hz", Kind::Unit, ""},
};

struct FieldDef {
    int id;
    Ltrb r;
    int decimals;  // -1: the model name
};
constexpr FieldDef kDriverFields[] = {
    {301, {73, 418, 193, 433}, -1}, {302, {73, 445, 143, 458}, 1},  {303, {73, 470, 143, 483}, 2},
    {304, {73, 495, 143, 508}, 2},  {305, {73, 520, 143, 533}, 3},  {306, {245, 420, 315, 433}, 3},
    {307, {245, 445, 315, 458}, 3}, {308, {245, 470, 315, 483}, 3}, {309, {245, 495, 315, 508}, 3},
};
constexpr Ltrb k311{418, 420, 488, 433};
constexpr Ltrb k312{418, 445, 488, 458};
constexpr Ltrb k313{418, 470, 488, 483};
constexpr Ltrb k320{416, 493, 490, 510};
constexpr Ltrb k1{470, 525, 525, 542};
constexpr Ltrb k2{182, 525, 297, 542};
constexpr Ltrb k11{307, 525, 357, 542};
constexpr Ltrb k13{333, 385, 355, 400};
constexpr Ltrb k451{385, 527, 455, 544};

// Screen positions are kept as 16-bit numbers: far-off places saturate.
std::int16_t ToI16(int v) { return static_cast<std::int16_t>(std::clamp(v, -32768, 32767)); }

// A rectangle given in content coordinates, placed inside a panel.
QRect InPanel(Ltrb r, Ltrb panel) { return ToQRect(r).translated(-panel.left, -panel.top); }

QFont PanelFont() { return KestrovaFont(1, 13.0f); }

QFont ButtonFont()
{
    QFont f = QApplication::font();
    f.setPixelSize(11);
    return f;
}

float FieldValue(const Design& d, int id)
{
    switch (id) {
    case 302: return d.SPL;
    case 303: return d.FS;
    case 304: return d.VAS;
    case 305: return d.EFI;
    case 306: return d.QTS;
    case 307: return d.QES;
    case 308: return d.QMS;
    case 309: return d.RE;
    default: return 0.0f;
    }
}

// The graph area: paints the retained image, so an uncovered window shows
// the last drawing without a redraw.
class GraphArea final : public QWidget {
public:
    GraphArea(ImageCanvas& canvas, QWidget* parent) : QWidget(parent), canvas_(canvas)
    {
        setObjectName(QStringLiteral("graph"));
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.drawImage(QRect(0, 0, DesignWindow::kWidth, DesignWindow::kGraphHeight), canvas_.image());
    }

private:
    ImageCanvas& canvas_;
};

void Help(QWidget* root, int id, const char* text)
{
    if (*text) ButtonHelpSetText(root, id, std::string(text) + "\\@B");
}

}  // namespace

DesignWindow::DesignWindow(Kestrova& k, ImageCanvas& graph, Menus& menus, QWidget* parent)
    : QMainWindow(parent), k_(k), graph_(graph), menus_(menus)
{
    setObjectName(QStringLiteral("window1"));
    setWindowTitle(QStringLiteral("Kestrova"));
    // A document window with close and minimise boxes, not resizable.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint |
                   Qt::CustomizeWindowHint);
    menus_.attach(menuBar());
    Build();
}

DesignWindow::~DesignWindow() = default;

void DesignWindow::WarmFonts()
{
    for (const QFont& f : {QFont(), PanelFont(), ButtonFont()}) QFontMetrics(f).height();
}

// The parts in the order they are made, which is also the order Tab takes
// through them.
void DesignWindow::Build()
{
    BuildContent();
    BuildPanels();
    BuildStatics();
    BuildFields();
    BuildQaPopup();
    BuildButtons();
    DrawBevelBtnMenu();
    BuildHelpTags();
}

void DesignWindow::BuildContent()
{
    content_ = new QWidget(this);
    content_->setObjectName(QStringLiteral("content"));
    content_->setFixedSize(kWidth, kHeight);
    setCentralWidget(content_);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    auto* area = new GraphArea(graph_, content_);
    area->setGeometry(0, 0, kWidth, kGraphHeight);
    graphArea_ = area;
}

void DesignWindow::BuildPanels()
{
    auto panel = [this](int id, Ltrb r) {
        auto* f = new QFrame(content_);
        f->setObjectName(QString::number(id));
        f->setFrameShape(QFrame::StyledPanel);
        f->setFrameShadow(QFrame::Raised);
        f->setAutoFillBackground(true);
        f->setGeometry(ToQRect(r));
        return f;
    };
    driverPanel_ = panel(kDriverPanel, kDriverPanelRect);
    boxPanel_ = panel(kBoxPanel, kBoxPanelRect);
    boxPanel_->setEnabled(k_.d.CBactive == 1);
}

void DesignWindow::BuildStatics()
{
    for (const StaticDef& s : kStatics) {
        QWidget* parent = s.parent == kDriverPanel ? driverPanel_ : boxPanel_;
        const Ltrb pr = s.parent == kDriverPanel ? kDriverPanelRect : kBoxPanelRect;
        QWidget* w = nullptr;
        if (s.kind == Kind::Separator) {
            auto* line = new QFrame(parent);
            line->setFrameShape(QFrame::HLine);
            line->setFrameShadow(QFrame::Sunken);
            w = line;
        } else {
            auto* label = new QLabel(QString::fromLatin1(s.text), parent);
            if (s.kind != Kind::Static) label->setFont(PanelFont());
            label->setAlignment((s.kind == Kind::Label ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
            w = label;
        }
        w->setObjectName(QString::number(s.id));
        w->setGeometry(InPanel(s.r, pr));
    }
}

// The driver's values, display only, and the box's Fc; the Vb and Qtc
// entries come with ResponseWndDisp.
void DesignWindow::BuildFields()
{
    const Design& d = k_.d;
    for (const FieldDef& f : kDriverFields) {
        const PStr text = f.decimals < 0 ? d.s_SP : RoundedText(FieldValue(d, f.id), f.decimals);
        MakeField(f.id, driverPanel_, f.r, text, false);
    }
    MakeField(312, boxPanel_, k312, RoundedText(d.FC, 2), false);
}

void DesignWindow::BuildQaPopup()
{
    qa_ = new QComboBox(boxPanel_);
    qa_->setObjectName(QStringLiteral("320"));
    // The font before the items: they are laid out once, in it.
    qa_->setFont(ButtonFont());
    qa_->addItems(QaPopupItems());
    qa_->setGeometry(InPanel(k320, kBoxPanelRect));
    SelectQaItem();
    connect(qa_, &QComboBox::activated, this, [this](int index) { emit qaChosen(index + 1); });
}

// Calc., Copy Parameters, Snap and the Speaker Select arrow: each reports its
// id as a control hit.
void DesignWindow::BuildButtons()
{
    auto button = [this](int id, QWidget* parent, Ltrb r, Ltrb pr, const char* title) {
        auto* b = new QPushButton(QString::fromLatin1(title), parent);
        b->setObjectName(QString::number(id));
        b->setFont(ButtonFont());
        b->setGeometry(InPanel(r, pr));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, id] { emit controlHit(id); });
        return b;
    };
    QPushButton* calc = button(1, boxPanel_, k1, kBoxPanelRect, "Calc.");
    calc->setDefault(true);
    calc->setEnabled(false);
    button(2, driverPanel_, k2, kDriverPanelRect, "Copy Parameters");
    button(11, driverPanel_, k11, kDriverPanelRect, "Snap");

    auto* select = new QToolButton(driverPanel_);
    select->setObjectName(QStringLiteral("13"));
    select->setGeometry(InPanel(k13, kDriverPanelRect));
    select->setAutoRaise(false);
    const QImage arrow = CreateCGImageFromBundleResource("SpSelArrow.png", "Images");
    if (!arrow.isNull()) {
        select->setIcon(QIcon(QPixmap::fromImage(arrow)));
        select->setIconSize(QSize(k13.right - k13.left - 4, k13.bottom - k13.top - 3));
    }
    select->setEnabled(SpeakerSelectEnabled(k_));
    connect(select, &QToolButton::clicked, this, [this] { emit controlHit(13); });
}

void DesignWindow::BuildHelpTags()
{
    for (const StaticDef& s : kStatics) Help(content_, s.id, s.help);
    Help(content_, 1, "Calculate Custom Alignment.");
    Help(content_, 2, "Copy to Clipboard Parameters.\rAnd Pass to Quillam.");
    Help(content_, 11, "Snapshot Response.");
    Help(content_, 13, "Speaker Select");
}

QLineEdit* DesignWindow::MakeField(int id, QWidget* parent, Ltrb r, const PStr& text, bool enabled)
{
    const Ltrb pr = parent == driverPanel_ ? kDriverPanelRect : kBoxPanelRect;
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::number(id));
    e->setFont(PanelFont());
    e->setAlignment(Qt::AlignCenter);
    e->setGeometry(InPanel(r, pr).adjusted(-kFieldOutset, -kFieldOutset, kFieldOutset, kFieldOutset));
    e->setMaxLength(255);
    e->setText(FromMacRoman(text));
    e->setCursorPosition(0);
    e->setEnabled(enabled);
    e->setInputMethodHints(Qt::ImhLatinOnly | Qt::ImhNoPredictiveText);
    // Display-only fields stay readable: darker than the style's greyed text.
    QPalette pal = e->palette();
    pal.setColor(QPalette::Disabled, QPalette::Text, QColor(72, 72, 72));
    pal.setColor(QPalette::Disabled, QPalette::Base, QColor(246, 246, 246));
    e->setPalette(pal);
    e->show();
    return e;
}

void DesignWindow::RepaintGraph()
{
    if (graphArea_) graphArea_->update();
}

QWidget* DesignWindow::control(int id) const { return content_->findChild<QWidget*>(QString::number(id)); }

QLineEdit* DesignWindow::field(int id) const { return content_->findChild<QLineEdit*>(QString::number(id)); }

void DesignWindow::DrawBevelBtnMenu()
{
    delete boxPanel_->findChild<QToolButton*>(QStringLiteral("451"));
    auto* b = new QToolButton(boxPanel_);
    b->setObjectName(QStringLiteral("451"));
    b->setText(QStringLiteral("Alignment"));
    b->setFont(ButtonFont());
    b->setGeometry(InPanel(k451, kBoxPanelRect));
    b->setMenu(menus_.menu(menu::kAlignment));
    b->setPopupMode(QToolButton::InstantPopup);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    b->show();
    ButtonHelpSetText(content_, 451, "Edit select Box Volume or Qtc\\@B");
}

void DesignWindow::SetClosedBoxPanelEnabled(bool on) { boxPanel_->setEnabled(on); }

void DesignWindow::SetCalcEnabled(bool on)
{
    if (QWidget* c = control(1)) c->setEnabled(on);
}

void DesignWindow::SetSpeakerSelectEnabled(bool on)
{
    if (QWidget* c = control(13)) c->setEnabled(on);
}

void DesignWindow::SelectQaItem()
{
    if (const int item = QaItem(k_.d)) qa_->setCurrentIndex(item - 1);
}

void DesignWindow::ResponseWndDisp()
{
    delete field(311);
    delete field(313);
    const BoxEntries e = BoxEntryTexts(k_.d);
    if (!e.shown) return;
    QLineEdit* vb = MakeField(311, boxPanel_, k311, e.vb, e.active == 311);
    QLineEdit* qtc = MakeField(313, boxPanel_, k313, e.qtc, e.active == 313);
    // Keep the tab order of the panel: Vb, Fc, Qtc.
    setTabOrder(vb, field(312));
    setTabOrder(field(312), qtc);
    if (QLineEdit* fc = field(312)) fc->setText(FromMacRoman(e.fc));
    if (e.active != 0) {
        QLineEdit* active = e.active == 311 ? vb : qtc;
        active->setFocus(Qt::OtherFocusReason);
        active->selectAll();
        k_.sh.edtFldID = e.active;
    }
}

PStr DesignWindow::BoxEntryText(std::int16_t id)
{
    QLineEdit* e = field(id);
    if (!e) return PStr();
    // Characters Mac Roman lacks cannot be part of a number: they read as
    // nothing rather than failing the whole entry.
    const std::optional<std::string> bytes = ToMacRoman(e->text().left(255));
    return bytes ? PStr(*bytes) : PStr("?");
}

void DesignWindow::Beep() { emit entryRejected(); }

void DesignWindow::ShowSheetAlert(std::string_view message, std::string_view informative)
{
    auto* box =
        new QMessageBox(QMessageBox::Warning, QStringLiteral("Kestrova"), FromMacRoman(message), QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("sheet"));
    box->setInformativeText(FromMacRoman(informative));
    box->setWindowModality(Qt::WindowModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    sheet_ = box;
    box->open();
}

QRect DesignWindow::ContentRectOnScreen() const
{
    return QRect(content_->mapToGlobal(QPoint(0, 0)), QSize(kWidth, kHeight));
}

void DesignWindow::PlaceAndShow()
{
    const Prefs& p = k_.prefs;
    const QPoint origin(p.Bounds.left, p.Bounds.top);
    const bool saved = (p.BoundsCheck == 1 || k_.sh.RePosiFlag != 0) && origin != QPoint(0, 0);
    layout()->activate();
    // The saved origin is the content's, below the menu bar; the geometry
    // set here is the client area's, so the frame does not shift it.
    const QPoint offset = content_->mapTo(this, QPoint(0, 0));
    const QSize client = sizeHint().expandedTo(QSize(kWidth, kHeight + offset.y()));
    placing_ = true;
    setGeometry(PlaceOnScreen(QRect(origin - offset, client), saved));
    show();
    // With the frame known, the title bar must be on the screen too.
    const QRect frame = frameGeometry();
    if (const QRect fit = PlaceOnScreen(frame, true); fit != frame) move(fit.topLeft());
    placed_ = pos();
    placing_ = false;
}

void DesignWindow::closeEvent(QCloseEvent* e)
{
    // The close box runs the close sequence, which hides and deletes us.
    e->ignore();
    emit closeRequested();
}

void DesignWindow::moveEvent(QMoveEvent* e)
{
    QMainWindow::moveEvent(e);
    if (placing_ || !isVisible() || pos() == placed_) return;
    const QRect r = ContentRectOnScreen();
    k_.prefs.Bounds = Rect16{ToI16(r.top()), ToI16(r.left()), ToI16(r.top() + kHeight), ToI16(r.left() + kWidth)};
    k_.sh.RePosiFlag = 1;
    placed_ = pos();
}

void DesignWindow::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        emit returnPressed();
        e->accept();
        return;
    }
    QMainWindow::keyPressEvent(e);
}

void DesignWindow::keyReleaseEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Tab || e->key() == Qt::Key_Backtab) {
        bool ok = false;
        const QWidget* f = QApplication::focusWidget();
        const int id = f ? f->objectName().toInt(&ok) : 0;
        if (ok) k_.sh.edtFldID = static_cast<std::int16_t>(id);
        e->accept();
        return;
    }
    QMainWindow::keyReleaseEvent(e);
}

}  // namespace ks
