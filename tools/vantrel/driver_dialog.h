// SPDX-License-Identifier: GPL-3.0-or-later
// The form for one driver: one field a parameter with its unit; a refused
// field says why beside it and keeps what was typed.
#pragma once

#include <QDialog>
#include <array>

#include "library/driver.h"

class QLabel;
class QLineEdit;

namespace ks::vantrel {

class DriverDialog final : public QDialog {
    Q_OBJECT
public:
    DriverDialog(const QString& title, const lib::Driver& start, QWidget* parent = nullptr);
    const lib::Driver& driver() const { return driver_; }
    QLineEdit* field(lib::Field f) const { return edits_[std::size_t(f)]; }
    QLabel* reason(lib::Field f) const { return reasons_[std::size_t(f)]; }

    void accept() override;

private:
    lib::Driver driver_;
    std::array<QLineEdit*, lib::kFieldCount> edits_{};
    std::array<QLabel*, lib::kFieldCount> reasons_{};
};

}  // namespace ks::vantrel
