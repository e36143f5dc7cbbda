// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the release notes as a one-page PDF: make_release_notes OUT.pdf VERSION
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QStringList>

int main(int argc, char** argv)
{
    // Fonts need a platform; nothing is shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) return 2;
    const QString version = QString::fromLocal8Bit(argv[2]);

    QPdfWriter pdf(QString::fromLocal8Bit(argv[1]));
    pdf.setTitle(QStringLiteral("Kestrova Release Notes"));
    pdf.setCreator(QStringLiteral("Kestrova"));
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
    pdf.setResolution(72);

    QPainter p(&pdf);
    if (!p.isActive()) return 1;
    QFont title(QStringLiteral("Liberation Sans"));
    title.setPixelSize(22);
    title.setBold(true);
    QFont heading = title;
    heading.setPixelSize(14);
    QFont body(QStringLiteral("Liberation Sans"));
    body.setPixelSize(11);

    int y = 30;
    auto line = [&](const QFont& f, const QString& text, int after) {
        p.setFont(f);
        p.drawText(0, y, text);
        y += after;
    };
    line(title, QStringLiteral("Kestrova %1").arg(version), 24);
    line(body, QStringLiteral("Closed-box and infinite-baffle design for midrange units and tweeters."), 30);
    line(heading, QStringLiteral("What is in this release"), 20);
    const QStringList items = {
        QStringLiteral("Optimum, box-volume and Qtc alignments with box loss factors Qa 5, 7, 10, 15 and 20."),
        QStringLiteral("Amplitude, impedance, phase, group delay, Nyquist diagram and step response views."),
        QStringLiteral("Amplitude as relative level or SPL at 1 W / 1 m, 5 or 10 dB per division."),
        QStringLiteral("Cone excursion and maximum SPL at the driver's Pemax, Sd and Xmax."),
        QStringLiteral("A system profile data sheet with the driver and box figures."),
        QStringLiteral("Printing of any view with its parameter list and the date."),
        QStringLiteral("Snapshots of the design window as PNG files."),
        QStringLiteral("Copy Parameters puts the design on the clipboard as one line of text."),
        QStringLiteral("Works together with the Vantrel driver database over the session bus."),
        QStringLiteral("Checks for a newer version and downloads it into the Downloads folder."),
    };
    for (const QString& t : items) line(body, QStringLiteral("\u2022 ") + t, 16);
    y += 14;
    line(heading, QStringLiteral("Notes"), 20);
    line(body, QStringLiteral("Preferences are saved when Kestrova quits."), 16);
    line(body, QStringLiteral("A box volume or Qtc that is not a positive number is refused with a beep."), 16);
    return p.end() ? 0 : 1;
}
