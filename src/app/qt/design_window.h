// SPDX-License-Identifier: GPL-3.0-or-later
// The design window (window 1): the graph area showing the retained image of
// the graphs, and the parameter panel with the driver's values, the box
// entries, the Qa pop-up, the Alignment button and the command buttons.
// Controls are found by their ids (objectName "311" ...). The window shows
// the context; what its controls do is the shell's.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <functional>

#include "app/design_actions.h"
#include "support/qt/window_place.h"

class QComboBox;
class QFrame;
class QLineEdit;
class QMessageBox;

namespace ks {

class ImageCanvas;
class Menus;

class DesignWindow final : public QMainWindow, public DesignView {
    Q_OBJECT
public:
    static constexpr int kWidth = 540;
    static constexpr int kHeight = 560;
    static constexpr int kGraphHeight = 380;

    // Builds the window hidden (ResponseWnd): the graph area shows `graph`,
    // the Alignment button shows the Alignment menu of `menus`.
    DesignWindow(Kestrova& k, ImageCanvas& graph, Menus& menus, QWidget* parent = nullptr);
    ~DesignWindow() override;

    // Places the window by the preferences and shows it.
    void PlaceAndShow();

    // Measures a line in each font the controls use, which fills Qt's
    // shared font list and fallback lists the first window would otherwise
    // fill on its way to the screen. Safe on any thread once the
    // application object exists.
    static void WarmFonts();

    // Schedules a repaint of the graph area from the retained image.
    void RepaintGraph();

    // The content area (540 × 560): every control is its descendant.
    QWidget* content() const { return content_; }
    QWidget* control(int id) const;
    QLineEdit* field(int id) const;

    // The Alignment button (451) with its menu, built again after alignment
    // and system changes.
    void DrawBevelBtnMenu();
    // The box panel takes input only for a closed box.
    void SetClosedBoxPanelEnabled(bool on);
    void SetCalcEnabled(bool on);
    void SetSpeakerSelectEnabled(bool on);
    // The Qa pop-up shows the item of the current QA.
    void SelectQaItem();

    // DesignView
    void ResponseWndDisp() override;
    PStr BoxEntryText(std::int16_t id) override;
    void Beep() override;
    void ShowSheetAlert(std::string_view message, std::string_view informative) override;

    // The open alignment sheet, if any (tests read its texts).
    QMessageBox* sheet() const { return sheet_; }

signals:
    // What the window reports to the shell: control hits and its events.
    void controlHit(int id);  // 1, 2, 11, 13
    void qaChosen(int item);  // 320, items 1..5
    void returnPressed();     // Return or Enter
    void closeRequested();    // the window's close button
    void entryRejected();     // a refused box entry: the beep

protected:
    void closeEvent(QCloseEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;

private:
    // The builder, part by part.
    void Build();
    void BuildContent();
    void BuildPanels();
    void BuildStatics();
    void BuildFields();
    void BuildQaPopup();
    void BuildButtons();
    void BuildHelpTags();
    QLineEdit* MakeField(int id, QWidget* parent, Ltrb r, const PStr& text, bool enabled);
    QRect ContentRectOnScreen() const;

    Kestrova& k_;
    ImageCanvas& graph_;
    Menus& menus_;
    QWidget* content_ = nullptr;
    QWidget* graphArea_ = nullptr;
    QFrame* driverPanel_ = nullptr;
    QFrame* boxPanel_ = nullptr;
    QComboBox* qa_ = nullptr;
    QPoint placed_;
    bool placing_ = true;
    QPointer<QMessageBox> sheet_;
};

}  // namespace ks
