// SPDX-License-Identifier: GPL-3.0-or-later
// The five programs without a display: --help and --version answer, anything unknown is
// refused in one line, and what --help prints is the manual page's.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <set>
#include <tuple>

#include "common/sandbox.h"
#include "support/program_lines.h"

namespace {

const char* const kPrograms[] = {"kestrova", "vantrel", "kestrova-render", "kestrova-send", "kestrova-fetch"};

struct Ran {
    int status = -1;  // -1: did not end by itself within the time
    QString out, err;
};

Ran RunProgram(const QString& program, const QStringList& args)
{
    const kt::SandboxHome home;
    QProcessEnvironment env = home.environment();
    for (const char* key : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(key);
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(KESTROVA_BIN_DIR "/") + program, args);
    const bool ended = p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit;
    if (!ended) p.kill();
    p.waitForFinished();
    return {ended ? p.exitCode() : -1, p.readAllStandardOutput(), p.readAllStandardError()};
}

// The words that are options: a dash or two and a name, starting a word.
QStringList Options(const QString& text)
{
    static const QRegularExpression option(QStringLiteral(R"((?:^|[\s\[(|,"])(--?[A-Za-z][A-Za-z0-9-]*))"));
    std::set<QString> found;
    for (auto m = option.globalMatch(text); m.hasNext();) found.insert(m.next().captured(1));
    return QStringList(found.begin(), found.end());
}

// The leading numbers of "Exit status: 0 done; 1 ...; 2 ...", to its paragraph's end.
QStringList HelpStatuses(const QString& help)
{
    const QString text = help.section(QStringLiteral("Exit status:"), 1).section(QStringLiteral("\n\n"), 0, 0);
    QStringList statuses;
    for (const QString& piece : text.split(QLatin1Char(';')))
        statuses << piece.trimmed().section(QLatin1Char(' '), 0, 0);
    return statuses;
}

// The tag lines (each after a .TP) of a section of a page, in plain text.
QString Tags(const QString& page, const QString& section)
{
    static const QRegularExpression font(QStringLiteral(R"(\\f(\[[^\]]*\]|\(..|.))"));
    const QStringList lines = page.split(QLatin1Char('\n'));
    QString current, tags;
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        if (lines[i].startsWith(QStringLiteral(".SH "))) current = lines[i].mid(4).remove(QLatin1Char('"'));
        if (current == section && lines[i] == QStringLiteral(".TP")) tags += lines[i + 1] + QLatin1Char('\n');
    }
    return tags.remove(font).replace(QStringLiteral("\\-"), QStringLiteral("-"));
}

TEST(Programs, AnswerWithoutADisplayAndRefuseInOneLine)
{
    std::vector<std::tuple<QString, QStringList, QString>> refused;  // program, arguments, the reason's start
    for (const char* program : kPrograms) {
        SCOPED_TRACE(program);
        const Ran help = RunProgram(program, {"--help"}), version = RunProgram(program, {"--version"});
        EXPECT_EQ(help.status, 0);
        EXPECT_EQ(help.err.toStdString(), "");
        EXPECT_TRUE(help.out.contains("--version")) << help.out.toStdString();
        EXPECT_EQ(version.status, 0);
        EXPECT_TRUE(version.out.contains("GPL-3.0-or-later")) << version.out.toStdString();
        EXPECT_EQ(version.out.section('\n', 0, 0).toStdString(),
                  std::string(program) + " " + std::string(ks::ProgramVersion()));
        refused.push_back({program, {"--no-such-option"}, program + QString(": unknown option")});
    }
    refused.push_back({"vantrel", {"--import"}, "vantrel: option takes one FILE or MODEL: --import"});
    for (const auto& [program, args, why] : refused) {
        const Ran r = RunProgram(program, args);
        const std::string said = program.toStdString() + " said: " + r.err.toStdString();
        EXPECT_EQ(r.status, 2) << said;
        EXPECT_EQ(r.out.toStdString(), "") << said;
        EXPECT_EQ(r.err.count('\n'), 1) << said;
        EXPECT_TRUE(r.err.startsWith(why)) << said;
        EXPECT_TRUE(r.err.contains(args.last())) << said;
    }
}

TEST(ManualPages, ListTheOptionsAndExitStatusesHelpPrints)
{
    for (const char* program : kPrograms) {
        SCOPED_TRACE(program);
        QFile file(QStringLiteral(KESTROVA_MAN_DIR "/%1.1").arg(program));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString page = QString::fromUtf8(file.readAll());
        const QString help = RunProgram(program, {"--help"}).out;
        EXPECT_EQ(Options(Tags(page, "OPTIONS")).join(' ').toStdString(), Options(help).join(' ').toStdString());
        const QStringList statuses = HelpStatuses(help);
        EXPECT_TRUE(statuses.contains("0")) << statuses.join(' ').toStdString();
        EXPECT_TRUE(statuses.contains("2")) << statuses.join(' ').toStdString();
        EXPECT_EQ(Tags(page, "EXIT STATUS").replace(".B ", "").split('\n', Qt::SkipEmptyParts).join(' ').toStdString(),
                  statuses.join(' ').toStdString());
    }
}

}  // namespace
