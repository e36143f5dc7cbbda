// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/qt/page_setup_sheet.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace ks {

namespace {

constexpr QPageSize::PageSizeId kPapers[] = {QPageSize::A4,        QPageSize::Letter, QPageSize::Legal,
                                             QPageSize::A3,        QPageSize::A5,     QPageSize::B5,
                                             QPageSize::Executive, QPageSize::Tabloid};

}  // namespace

PageSetupSheet::PageSetupSheet(const QPageLayout& layout, double scalePercent, QWidget* parent)
    : QDialog(parent), layout_(layout)
{
    setWindowTitle(QStringLiteral("Page Setup"));
    setObjectName(QStringLiteral("pageSetup"));

    paper_ = new QComboBox(this);
    paper_->setObjectName(QStringLiteral("paper"));
    for (QPageSize::PageSizeId id : kPapers) paper_->addItem(QPageSize::name(id), QVariant::fromValue(QPageSize(id)));
    const QPageSize current = layout.pageSize();
    int at = -1;
    for (int i = 0; i < paper_->count(); ++i)
        if (paper_->itemData(i).value<QPageSize>().isEquivalentTo(current)) at = i;
    if (at < 0 && current.isValid()) {
        paper_->addItem(current.name(), QVariant::fromValue(current));
        at = paper_->count() - 1;
    }
    paper_->setCurrentIndex(std::max(at, 0));

    portrait_ = new QRadioButton(QStringLiteral("Portrait"), this);
    portrait_->setObjectName(QStringLiteral("portrait"));
    landscape_ = new QRadioButton(QStringLiteral("Landscape"), this);
    landscape_->setObjectName(QStringLiteral("landscape"));
    (layout.orientation() == QPageLayout::Landscape ? landscape_ : portrait_)->setChecked(true);
    auto* orientation = new QHBoxLayout;
    orientation->addWidget(portrait_);
    orientation->addWidget(landscape_);

    scale_ = new QSpinBox(this);
    scale_->setObjectName(QStringLiteral("scale"));
    scale_->setRange(kMinScale, kMaxScale);
    scale_->setSuffix(QStringLiteral(" %"));
    scale_->setValue(static_cast<int>(std::lround(std::clamp(scalePercent, double(kMinScale), double(kMaxScale)))));
    scale_->setToolTip(
        QStringLiteral("The printed size in percent. A page is never printed larger than "
                       "the paper: past that it is fitted to the printable area."));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Paper:"), paper_);
    form->addRow(QStringLiteral("Orientation:"), orientation);
    form->addRow(QStringLiteral("Scale:"), scale_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* column = new QVBoxLayout(this);
    column->addLayout(form);
    column->addWidget(buttons);
}

QPageLayout PageSetupSheet::chosenLayout() const
{
    QPageLayout out = layout_;
    out.setPageSize(paper_->currentData().value<QPageSize>(), out.minimumMargins());
    out.setOrientation(landscape_->isChecked() ? QPageLayout::Landscape : QPageLayout::Portrait);
    return out;
}

double PageSetupSheet::chosenScale() const { return scale_->value(); }

}  // namespace ks
