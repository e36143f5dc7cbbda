// SPDX-License-Identifier: GPL-3.0-or-later
// vantrel: the driver library. With no arguments it opens its window and
// joins the session bus as the design program's companion; from a shell it
// imports, exports or sends without a window.
#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "exchange/qt/dbus_messenger.h"
#include "kestrova_link.h"
#include "library/qt/import.h"
#include "library/qt/store.h"
#include "library/qt/table_model.h"
#include "library_window.h"
#include "support/program_lines.h"
#include "support/qt/resource_dir.h"
#include "support/qt/save_file.h"

namespace {

constexpr const char* kUsage =
    "Usage: vantrel                 open the driver library window\n"
    "       vantrel --import FILE   add the drivers of a CSV file or a qspeakers\n"
    "                               driver database (XML) to the library; a\n"
    "                               model already there is updated\n"
    "       vantrel --export FILE.csv\n"
    "                               write the library as CSV (- for standard\n"
    "                               output); only a regular file is replaced\n"
    "       vantrel --send MODEL    send the driver of that model name to Kestrova,\n"
    "                               starting Kestrova when none runs\n"
    "       vantrel --screenshot FILE.png\n"
    "                               open the window, write a picture of it and end\n"
    "       vantrel --help, -h      show this text\n"
    "       vantrel --version       show the version and the licence\n"
    "Exit status: 0 done; 1 some rows refused (import), the file written is\n"
    "more than one import reads back (export) or Kestrova not reached (send);\n"
    "2 the file cannot be read or written, the library cannot be opened (in\n"
    "use by another program, unreadable, of another layout) or written, or\n"
    "the arguments are wrong.\n"
    "The library is $XDG_DATA_HOME/Tessaly/Vantrel/drivers.sqlite.\n";

void Err(const QString& s) { std::fprintf(stderr, "vantrel: %s\n", s.toLocal8Bit().constData()); }

void SetNames()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Tessaly"));
    QCoreApplication::setApplicationName(QStringLiteral("Vantrel"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KESTROVA_VERSION));
}

// Opens the library; its messages go to standard error.
bool OpenStore(ks::lib::DriverStore& store)
{
    const ks::lib::DriverStore::Opened o = store.open();
    if (!o.message.isEmpty()) Err(o.message);
    return o.ok;
}

int RunImport(const QString& path)
{
    ks::lib::DriverStore store(ks::lib::DriverStore::DefaultPath());
    if (!OpenStore(store)) return 2;
    ks::lib::ImportResult r = ks::lib::ImportFile(path);
    if (!r.fatal.empty()) {
        Err(path + QStringLiteral(": ") + QString::fromStdString(r.fatal));
        return 2;
    }
    const std::optional<ks::lib::MergePlan> plan = store.merge(std::move(r.taken));
    if (!plan) {
        Err(store.lastError() + QStringLiteral(" (nothing was imported)"));
        return 2;
    }
    for (const ks::lib::Refusal& f : r.refused)
        std::printf("%s:%d: refused: %s\n", path.toLocal8Bit().constData(), f.line, f.reason.c_str());
    std::printf("%zu drivers added, %zu updated, %zu unchanged, %zu rows refused.\n", plan->added.size(), plan->updated,
                plan->unchanged, r.refused.size());
    return r.refused.empty() ? 0 : 1;
}

int RunExport(const QString& path)
{
    ks::lib::DriverStore store(ks::lib::DriverStore::DefaultPath());
    if (!OpenStore(store)) return 2;
    const std::vector<ks::lib::Driver> all = store.all();
    if (!store.lastError().isEmpty()) {
        Err(store.lastError());
        return 2;
    }
    if (path == QLatin1String("-")) {
        const std::string csv = ks::lib::ExportCsv(all);
        if (std::fwrite(csv.data(), 1, csv.size(), stdout) != csv.size() || std::fflush(stdout) != 0) {
            Err(QStringLiteral("cannot write to standard output: %1")
                    .arg(QString::fromLocal8Bit(std::strerror(errno))));
            return 2;
        }
        return 0;
    }
    // A CSV file in the library's place would end it.
    if (QFileInfo(path).canonicalFilePath() == QFileInfo(store.path()).canonicalFilePath()) {
        Err(QStringLiteral("%1 is the library itself; it is left as it is").arg(path));
        return 2;
    }
    QString error;
    if (!ks::lib::ExportFile(path, all, error)) {
        Err(error);
        return 2;
    }
    std::printf("%zu drivers written to %s.\n", all.size(), path.toLocal8Bit().constData());
    const QString limit = ks::lib::ReadBackLimit(all.size(), QFileInfo(path).size());
    if (limit.isEmpty()) return 0;
    Err(limit);
    return 1;
}

int RunSend(QCoreApplication& app, const QString& model)
{
    ks::lib::DriverStore store(ks::lib::DriverStore::DefaultPath());
    if (!OpenStore(store)) return 2;
    const std::vector<ks::lib::Driver> all = store.all();
    const std::string wanted = model.toStdString();
    const auto it = std::find_if(all.begin(), all.end(), [&](const ks::lib::Driver& d) { return d.model == wanted; });
    if (it == all.end()) {
        Err(QStringLiteral("no driver \"%1\" in the library").arg(model));
        return 2;
    }
    ks::DbusMessenger bus(ks::BusText(ks::kVantrelName), ks::BusText(ks::kVantrelClass));
    ks::vantrel::KestrovaLink link(bus);
    link.quit = [&app] { app.exit(0); };
    bus.setReceiver([&link](const QByteArray& t) { link.Receive(t); });
    int code = 2;
    QObject::connect(&link, &ks::vantrel::KestrovaLink::finished, &app, [&](bool sent, const QString& m) {
        if (sent)
            std::printf("%s\n", m.toLocal8Bit().constData());
        else
            Err(m);
        code = sent ? 0 : 1;
        // A moment for a freshly started program's first words to be answered.
        QTimer::singleShot(sent ? 300 : 0, &app, [&app] { app.quit(); });
    });
    QTimer::singleShot(0, &app, [&] { link.SendDriver(*it); });
    app.exec();
    return code;
}

// Writes a picture of the window once it is laid out, and ends.
void TakeScreenshot(QApplication& app, QWidget& window, const QString& path)
{
    QTimer::singleShot(0, &window, [&app, &window, path] {
        const QString failed =
            ks::SaveFileAtomically(path, [&window](QIODevice& out) { return window.grab().save(&out, "PNG"); });
        if (!failed.isEmpty()) Err(QStringLiteral("cannot write %1: %2").arg(path, failed));
        app.exit(failed.isEmpty() ? 0 : 2);
    });
}

// With a screenshot path the window is drawn for the picture only: it tells
// no running Kestrova that it has started.
int RunWindow(QApplication& app, const QString& screenshot)
{
    QApplication::setDesktopFileName(QStringLiteral("vantrel"));
    QApplication::setWindowIcon(
        QIcon::fromTheme(QStringLiteral("vantrel"), QIcon(ks::ImagesDir() + QStringLiteral("/vantrel.png"))));
    // Hidden by the design program, it still waits for its words.
    QApplication::setQuitOnLastWindowClosed(false);

    ks::lib::DriverStore store(ks::lib::DriverStore::DefaultPath());
    const ks::lib::DriverStore::Opened opened = store.open();
    const bool busy = opened.status == ks::lib::DriverStore::Status::Busy;
    if (!opened.ok && !busy) {
        QMessageBox::critical(nullptr, QStringLiteral("Vantrel"), opened.message);
        return 2;
    }
    ks::lib::DriverTableModel model(store);
    ks::DbusMessenger bus(ks::BusText(ks::kVantrelName), ks::BusText(ks::kVantrelClass));
    ks::vantrel::KestrovaLink link(bus);
    ks::vantrel::LibraryWindow window(model, link);
    link.show = [&window] { window.MakeReady(); };
    link.hide = [&window] { window.hide(); };
    link.ready = [&window] {
        if (window.isVisible()) window.MakeReady();
    };
    link.quit = [&app] { app.quit(); };
    // Closing the window ends the program unless a send is still waiting.
    QObject::connect(&app, &QGuiApplication::lastWindowClosed, &app, [&] {
        if (!link.busy()) app.quit();
    });
    bus.setReceiver([&link](const QByteArray& t) { link.Receive(t); });
    window.show();
    if (!busy) window.Load(opened.message);
    // A library another program holds: the window changes nothing and tries
    // again now and then, each try short so the window keeps painting; the
    // note goes when the library comes.
    QTimer retry;
    QPointer<QMessageBox> note;
    if (busy) {
        window.SetReadOnly(
            QStringLiteral("The library is in use by another program: nothing can be changed; "
                           "trying again every few seconds."));
        note = new QMessageBox(QMessageBox::Information, QStringLiteral("Vantrel"),
                               QStringLiteral("The library %1 is in use by another program. This window shows it "
                                              "as soon as that program lets it go, and changes nothing until then.")
                                   .arg(store.path()),
                               QMessageBox::Ok, &window);
        note->setAttribute(Qt::WA_DeleteOnClose);
        QTimer::singleShot(0, note, [note] { note->show(); });
        store.setBusyTimeout(200);
        retry.setInterval(3000);
        QObject::connect(&retry, &QTimer::timeout, &window, [&] {
            const ks::lib::DriverStore::Opened again = store.open();
            if (again.status == ks::lib::DriverStore::Status::Busy) return;
            retry.stop();
            store.setBusyTimeout(5000);
            if (note) note->close();
            if (!again.ok) {
                window.SetReadOnly(again.message);
                QMessageBox::critical(&window, QStringLiteral("Vantrel"), again.message);
                return;
            }
            window.SetReadOnly({});
            window.Load(again.message);
        });
        retry.start();
    }
    if (screenshot.isEmpty())
        link.Announce();
    else
        TakeScreenshot(app, window, screenshot);
    return app.exec();
}

}  // namespace

int main(int argc, char** argv)
{
    enum class Mode { Window, Import, Export, Send, Screenshot } mode = Mode::Window;
    QString arg;
    if (argc >= 2) {
        const std::string_view a = argv[1];
        if (a == "--help" || a == "-h" || a == "--version") {
            const std::string text = a == "--version" ? ks::VersionText("vantrel") : kUsage;
            std::fputs(text.c_str(), stdout);
            return std::fflush(stdout) == 0 ? 0 : 2;
        }
        const std::pair<std::string_view, Mode> modes[] = {{"--import", Mode::Import},
                                                           {"--export", Mode::Export},
                                                           {"--send", Mode::Send},
                                                           {"--screenshot", Mode::Screenshot}};
        const auto it = std::find_if(std::begin(modes), std::end(modes), [a](const auto& m) { return m.first == a; });
        std::string refused;
        if (it == std::end(modes))
            refused =
                ks::RefusalLine("vantrel", a.size() > 1 && a[0] == '-' ? "unknown option:" : "unexpected argument:", a);
        else if (argc != 3 || std::strlen(argv[2]) == 0 || std::strlen(argv[2]) > 4096)
            refused = ks::RefusalLine("vantrel", "option takes one FILE or MODEL:", a);
        if (!refused.empty()) {
            std::fprintf(stderr, "%s\n", refused.c_str());
            return 2;
        }
        mode = it->second;
        arg = QString::fromLocal8Bit(argv[2]);
    }
    if (mode == Mode::Window || mode == Mode::Screenshot) {
        QApplication app(argc, argv);
        SetNames();
        return RunWindow(app, mode == Mode::Screenshot ? arg : QString());
    }
    QCoreApplication app(argc, argv);
    SetNames();
    switch (mode) {
    case Mode::Import: return RunImport(arg);
    case Mode::Export: return RunExport(arg);
    default: return RunSend(app, arg);
    }
}
