// SPDX-License-Identifier: GPL-3.0-or-later
#include "driver_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "library/driver_values.h"

namespace ks::vantrel {
namespace {

QString Q(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

}  // namespace

DriverDialog::DriverDialog(const QString& title, const lib::Driver& start, QWidget* parent)
    : QDialog(parent), driver_(start)
{
    setWindowTitle(title);
    auto* form = new QFormLayout;
    const auto texts = lib::Texts(start);
    // A Qts computed from Qes and Qms stays computed: its field is left
    // empty, so it follows what Qes and Qms become.
    const bool computedQts = lib::QtsIsComputed(start);
    for (int i = 0; i < lib::kFieldCount; ++i) {
        const lib::Field f = static_cast<lib::Field>(i);
        const lib::FieldInfo& info = lib::Info(f);
        const bool required = f == lib::Field::Model || f == lib::Field::Fs;
        QString label = Q(info.title);
        if (!info.unit.empty()) label += QStringLiteral(" (") + Q(info.unit) + QLatin1Char(')');
        if (required) label += QStringLiteral(" *");
        const bool empty = (start.model.empty() && start.id == 0 && info.numeric && start.get(f) == 0) ||
                           (f == lib::Field::Qts && computedQts);
        auto* edit = new QLineEdit(empty ? QString() : Q(texts[std::size_t(i)]));
        edit->setMaxLength(info.numeric ? 64 : int(lib::kMaxTextBytes));
        if (info.numeric) edit->setInputMethodHints(Qt::ImhFormattedNumbersOnly);
        if (f == lib::Field::Qts)
            edit->setPlaceholderText(
                computedQts ? QStringLiteral("%1 from Qes and Qms").arg(start.get(f), 0, 'f', lib::kQtsDecimals)
                            : QStringLiteral("from Qes and Qms when left empty"));
        auto* why = new QLabel;
        why->setStyleSheet(QStringLiteral("color: #b00020"));
        why->setVisible(false);
        auto* cell = new QVBoxLayout;
        cell->setSpacing(1);
        cell->addWidget(edit);
        cell->addWidget(why);
        form->addRow(label, cell);
        edits_[std::size_t(i)] = edit;
        reasons_[std::size_t(i)] = why;
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &DriverDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &DriverDialog::reject);
    auto* top = new QVBoxLayout(this);
    top->addLayout(form);
    top->addWidget(new QLabel(
        QStringLiteral("* required; Qts may instead come from Qes and Qms. A decimal comma is read as a point.")));
    top->addWidget(buttons);
}

void DriverDialog::accept()
{
    std::array<std::string, lib::kFieldCount> texts;
    for (int i = 0; i < lib::kFieldCount; ++i) {
        texts[std::size_t(i)] = edits_[std::size_t(i)]->text().toStdString();
        reasons_[std::size_t(i)]->setVisible(false);
    }
    lib::Driver d = driver_;
    std::vector<lib::FieldError> errors = lib::Validate(texts, d);
    // A value no driver has is a slip: said with the range (a computed Qts
    // too, at its empty field).
    if (errors.empty())
        for (int i = 0; i < lib::kFieldCount; ++i)
            if (const auto said = lib::Implausible(static_cast<lib::Field>(i), d.get(static_cast<lib::Field>(i))))
                errors.push_back({static_cast<lib::Field>(i), *said});
    if (errors.empty()) {
        driver_ = d;
        QDialog::accept();
        return;
    }
    for (const lib::FieldError& e : errors) {
        QLabel* why = reasons_[std::size_t(e.field)];
        why->setText(QString::fromStdString(e.reason));
        why->setVisible(true);
    }
    edits_[std::size_t(errors.front().field)]->setFocus();
}

}  // namespace ks::vantrel
