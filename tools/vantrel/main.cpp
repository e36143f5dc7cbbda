// vantrel: the driver library. With no arguments it opens its window and
// joins the session bus as the design program's companion; from a shell it
// imports, exports or sends without a window.
#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <memory>

#include "exchange/qt/dbus_messenger.h"
#include "kestrova_link.h"
#include "library/qt/import.h"
#include "library/qt/store.h"
#include "library/qt/table_model.h"
#include "library_window.h"

namespace {

constexpr const char* kUsage =
    "Usage: vantrel                 open the driver library window\n"
    "       vantrel --import FILE   add the drivers of a CSV file or a qspeakers\n"
    "                               driver database (XML) to the library\n"
    "       vantrel --export FILE.csv\n"
    "                               write the library as CSV\n"
    "       vantrel --send MODEL    send the driver of that model name to Kestrova,\n"
    "                               starting Kestrova when none runs\n"
    "       vantrel --help          show this text\n"
    "Exit status: 0 done; 1 some rows refused (import), the file written is\n"
    "more than one import reads back (export) or Kestrova not reached (send);\n"
    "2 the file cannot be read, the library cannot be opened or written, or\n"
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
    if (!store.insert(r.taken)) {
        Err(store.lastError() + QStringLiteral(" (nothing was imported)"));
        return 2;
    }
    for (const ks::lib::Refusal& f : r.refused)
        std::printf("%s:%d: refused: %s\n", path.toLocal8Bit().constData(), f.line, f.reason.c_str());
    std::printf("%zu drivers imported, %zu rows refused.\n", r.taken.size(), r.refused.size());
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
    ks::DbusMessenger bus(QStringLiteral("Vantrel"), QStringLiteral("Vtrl"));
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

int RunWindow(QApplication& app)
{
    QApplication::setDesktopFileName(QStringLiteral("vantrel"));
    QApplication::setWindowIcon(QIcon::fromTheme(
        QStringLiteral("vantrel"),
        QIcon(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/kestrova/Images/vantrel.png"))));
    // Hidden by the design program, it still waits for its words.
    QApplication::setQuitOnLastWindowClosed(false);

    ks::lib::DriverStore store(ks::lib::DriverStore::DefaultPath());
    const ks::lib::DriverStore::Opened opened = store.open();
    if (!opened.ok) {
        QMessageBox::critical(nullptr, QStringLiteral("Vantrel"), opened.message);
        return 2;
    }
    ks::lib::DriverTableModel model(store);
    ks::DbusMessenger bus(QStringLiteral("Vantrel"), QStringLiteral("Vtrl"));
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
    window.Load(opened.message);
    link.Announce();
    return app.exec();
}

}  // namespace

int main(int argc, char** argv)
{
    enum class Mode { Window, Import, Export, Send } mode = Mode::Window;
    QString arg;
    if (argc >= 2) {
        const char* a = argv[1];
        if (!std::strcmp(a, "--help") || !std::strcmp(a, "-h")) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        const bool takesFile = !std::strcmp(a, "--import") || !std::strcmp(a, "--export") || !std::strcmp(a, "--send");
        if (!takesFile || argc != 3 || std::strlen(argv[2]) == 0 || std::strlen(argv[2]) > 4096) {
            std::fputs(kUsage, stderr);
            return 2;
        }
        mode = !std::strcmp(a, "--import") ? Mode::Import : !std::strcmp(a, "--export") ? Mode::Export : Mode::Send;
        arg = QString::fromLocal8Bit(argv[2]);
    }
    if (mode == Mode::Window) {
        QApplication app(argc, argv);
        SetNames();
        return RunWindow(app);
    }
    QCoreApplication app(argc, argv);
    SetNames();
    switch (mode) {
    case Mode::Import: return RunImport(arg);
    case Mode::Export: return RunExport(arg);
    default: return RunSend(app, arg);
    }
}
