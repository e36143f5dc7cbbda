// SPDX-License-Identifier: GPL-3.0-or-later
// The page-setup sheet: paper, orientation and the scale in percent. Qt's
// own page-setup dialog applies its choices to the printer only when run
// with exec(); a sheet returns at once, so the choices are read here.
#pragma once

#include <QDialog>
#include <QPageLayout>

class QComboBox;
class QRadioButton;
class QSpinBox;

namespace ks {

class PageSetupSheet final : public QDialog {
    Q_OBJECT
public:
    static constexpr int kMinScale = 1, kMaxScale = 1000;

    PageSetupSheet(const QPageLayout& layout, double scalePercent, QWidget* parent = nullptr);

    // The layout given, with the chosen paper and orientation.
    QPageLayout chosenLayout() const;
    double chosenScale() const;

private:
    QPageLayout layout_;
    QComboBox* paper_;
    QRadioButton* portrait_;
    QRadioButton* landscape_;
    QSpinBox* scale_;
};

}  // namespace ks
