// The five programs as a shell meets them on a machine without a display:
// --help and --version answer, anything unknown is refused in one line, and
// each option and exit status --help prints is in the program's manual page,
// and no other.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <set>

#include "common/sandbox.h"
#include "support/program_lines.h"

namespace {

const QString kBinDir = QStringLiteral(KESTROVA_BIN_DIR);
const QString kManDir = QStringLiteral(KESTROVA_MAN_DIR);
const char* const kPrograms[] = {"kestrova", "vantrel", "kestrova-render", "kestrova-send", "kestrova-fetch"};

struct Ran {
    bool ended = false;  // ended by itself, within the time
    int status = -1;
    QString out, err;
};

Ran RunProgram(const QString& program, const QStringList& args)
{
    const kt::SandboxHome home;
    QProcessEnvironment env = home.environment();
    for (const char* key : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(QString::fromLatin1(key));
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(kBinDir + QLatin1Char('/') + program, args);
    Ran r;
    r.ended = p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit;
    if (!r.ended) {
        p.kill();
        p.waitForFinished();
    }
    r.status = p.exitCode();
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// Options as a help text or a page writes them: a dash or two and a name,
// standing at the start of a word.
std::set<QString> Options(const QString& text)
{
    static const QRegularExpression option(QStringLiteral(R"((?:^|[\s\[(|,"])(--?[A-Za-z][A-Za-z0-9-]*))"));
    std::set<QString> found;
    for (auto m = option.globalMatch(text); m.hasNext();) found.insert(m.next().captured(1));
    return found;
}

// "Exit status: 0 done; 1 ...; 2 ..." up to the end of its paragraph.
std::set<int> HelpStatuses(const QString& help)
{
    const qsizetype at = help.indexOf(QStringLiteral("Exit status:"));
    if (at < 0) return {};
    const QString text = help.mid(at + 12).section(QStringLiteral("\n\n"), 0, 0);
    std::set<int> statuses;
    static const QRegularExpression leading(QStringLiteral(R"(^\s*(\d+)\s)"));
    for (const QString& piece : text.split(QLatin1Char(';'))) {
        const auto m = leading.match(piece);
        if (m.hasMatch()) statuses.insert(m.captured(1).toInt());
    }
    return statuses;
}

// The tag lines (the line after each .TP) of one section of a page, with
// font changes dropped and escaped dashes as dashes.
QStringList Tags(const QString& page, const QString& section)
{
    static const QRegularExpression font(QStringLiteral(R"(\\f(\[[^\]]*\]|\(..|.))"));
    QStringList tags, lines = page.split(QLatin1Char('\n'));
    QString current;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.startsWith(QStringLiteral(".SH "))) current = line.mid(4).remove(QLatin1Char('"')).trimmed();
        if (current != section || line != QStringLiteral(".TP") || i + 1 >= lines.size()) continue;
        QString tag = lines[i + 1];
        tags << tag.remove(font).replace(QStringLiteral("\\-"), QStringLiteral("-"));
    }
    return tags;
}

QString Page(const char* program)
{
    QFile f(kManDir + QLatin1Char('/') + QLatin1String(program) + QStringLiteral(".1"));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

QString Listed(const auto& items)
{
    QStringList l;
    for (const auto& i : items) l << QVariant(i).toString();
    return l.join(QLatin1Char(' '));
}

TEST(Programs, AnswerHelpAndVersionWithoutADisplay)
{
    for (const char* program : kPrograms) {
        SCOPED_TRACE(program);
        const Ran help = RunProgram(QLatin1String(program), {QStringLiteral("--help")});
        EXPECT_TRUE(help.ended && help.status == 0 && help.err.isEmpty()) << help.status << help.err.toStdString();
        EXPECT_TRUE(help.out.contains(QStringLiteral("--version")));
        const Ran version = RunProgram(QLatin1String(program), {QStringLiteral("--version")});
        EXPECT_TRUE(version.ended && version.status == 0 && version.err.isEmpty()) << version.err.toStdString();
        EXPECT_EQ(version.out.section(QLatin1Char('\n'), 0, 0).toStdString(),
                  std::string(program) + " " + std::string(ks::ProgramVersion()));
        EXPECT_TRUE(version.out.contains(QStringLiteral("GPL-3.0-or-later")));
    }
}

TEST(Programs, RefuseWhatTheyDoNotKnowInOneLine)
{
    std::vector<std::pair<const char*, QStringList>> cases;
    for (const char* program : kPrograms) cases.push_back({program, {QStringLiteral("--no-such-option")}});
    cases.push_back({"kestrova", {QStringLiteral("notes.txt")}});
    cases.push_back({"kestrova", {QStringLiteral("--"), QStringLiteral("--help")}});  // a file named --help
    cases.push_back({"vantrel", {QStringLiteral("--import")}});
    for (const auto& [program, args] : cases) {
        SCOPED_TRACE(std::string(program) + " " + args.join(' ').toStdString());
        const Ran r = RunProgram(QLatin1String(program), args);
        EXPECT_TRUE(r.ended && r.status == 2 && r.out.isEmpty()) << r.status;
        EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1) << r.err.toStdString();
        EXPECT_TRUE(r.err.startsWith(QLatin1String(program) + QStringLiteral(": ")) && r.err.contains(args.last()))
            << r.err.toStdString();
    }
}

TEST(ManualPages, ListTheOptionsAndExitStatusesHelpPrints)
{
    for (const char* program : kPrograms) {
        SCOPED_TRACE(program);
        const QString page = Page(program);
        ASSERT_FALSE(page.isEmpty()) << "no manual page";
        const QString help = RunProgram(QLatin1String(program), {QStringLiteral("--help")}).out;

        std::set<QString> pageOptions;
        for (const QString& tag : Tags(page, QStringLiteral("OPTIONS"))) pageOptions.merge(Options(tag));
        const std::set<QString> helpOptions = Options(help);
        EXPECT_FALSE(helpOptions.empty());
        EXPECT_EQ(Listed(pageOptions).toStdString(), Listed(helpOptions).toStdString());

        std::set<int> pageStatuses;
        for (const QString& tag : Tags(page, QStringLiteral("EXIT STATUS")))
            pageStatuses.insert(tag.section(QLatin1Char(' '), 1).toInt());
        const std::set<int> helpStatuses = HelpStatuses(help);
        EXPECT_TRUE(helpStatuses.count(0) && helpStatuses.count(2)) << Listed(helpStatuses).toStdString();
        EXPECT_EQ(Listed(pageStatuses).toStdString(), Listed(helpStatuses).toStdString());
    }
}

}  // namespace
