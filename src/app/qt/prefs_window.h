// Window 3, the preferences window: six check boxes and the impedance-scale
// radio pair, each acting on the context's preferences at the click, and OK.
// Every control is named by its id ("502" ...; the radio buttons "510-1"
// and "510-2").
#pragma once

#include <QDialog>
#include <functional>

class QButtonGroup;

namespace ks {

struct Kestrova;

class PreferencesWindow : public QDialog {
    Q_OBJECT
public:
    static constexpr int kWidth = 330, kHeight = 375;

    explicit PreferencesWindow(Kestrova& k, QWidget* parent = nullptr);

    // Closes without okChosen (close() itself takes the OK path).
    void CloseQuietly();

    // Puts the window where the preferences say: at the saved content origin
    // when positions are kept and one was saved, else centred on the
    // primary screen. The constructor calls it; show() or open() next.
    void Place();

    QButtonGroup* scaleGroup() const { return scale_; }

signals:
    // After the window has closed itself (OK, Return, Enter, or a close from
    // the window manager): the shell restores menus and redraws. It may
    // deleteLater() the window.
    void okChosen();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Ok();

    Kestrova& k_;
    QButtonGroup* scale_ = nullptr;
    bool finishing_ = false;
    bool quiet_ = false;
};

}  // namespace ks
