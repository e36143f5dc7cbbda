// SPDX-License-Identifier: GPL-3.0-or-later
// kestrova-render: draws one view (or the printed page) headlessly, by the
// program's own steps, and writes it as a picture, a display list or the
// design record; or writes the design's modelled response as data.
#include <QGuiApplication>
#include <cstdio>
#include <ctime>
#include <iostream>
#include <optional>

#include "app/design_apply.h"
#include "document/qt/design_file.h"
#include "exchange/records.h"
#include "graphs/null_canvas.h"
#include "graphs/qt/picture_output.h"
#include "graphs/recording_canvas.h"
#include "render_options.h"
#include "render_session.h"
#include "support/macroman.h"
#include "support/program_lines.h"
#include "support/qt/resource_dir.h"
#include "support/qt/save_file.h"
#include "tee_canvas.h"

namespace {

ks::DateStamp Now()
{
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

// Standard error carries the alerts, the one-line reasons and the family's
// notices (a missing resource) only: Qt's own notes (a missing runtime folder
// and the like) are left out.
void QuietMessages(QtMsgType type, const QMessageLogContext& context, const QString& msg)
{
    if (type == QtCriticalMsg || type == QtFatalMsg || qstrcmp(context.category, ks::Notices().categoryName()) == 0)
        std::fprintf(stderr, "kestrova-render: %s\n", msg.toLocal8Bit().constData());
}

std::string IsoText(const ks::DateStamp& d)
{
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", d.year, d.month, d.day, d.hour, d.minute,
                  d.second);
    return text;
}

int CannotWrite(const std::string& path, const QString& why)
{
    std::fprintf(stderr, "kestrova-render: cannot write %s: %s\n", path.c_str(), why.toLocal8Bit().constData());
    return 1;
}

int Reject(const std::string& why)
{
    std::fprintf(stderr, "kestrova-render: %s\n", ks::OneLine(why).c_str());
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string_view> args(argv + 1, argv + argc);
    const ks::ParsedOptions parsed = ks::ParseRenderOptions(args);
    if (!parsed.options) return Reject(parsed.error);
    const ks::RenderOptions& o = *parsed.options;
    if (o.help || o.version) {
        const std::string text = o.help ? std::string(ks::kRenderUsage) : ks::VersionText("kestrova-render");
        std::fputs(text.c_str(), stdout);
        return std::fflush(stdout) == 0 ? 0 : CannotWrite("standard output", "write error");
    }

    // Headless by nature: no display is needed for fonts and images.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietMessages);
    int qargc = 1;
    QGuiApplication app(qargc, argv);

    std::optional<ks::DesignDocument> design;
    if (o.design) {
        ks::DesignFileRead read = ks::ReadDesignFile(QString::fromStdString(*o.design));
        if (!read.doc) return Reject("--design " + *o.design + ": " + read.error.toStdString());
        design = std::move(read.doc);
    }

    ks::Kestrova k;
    ks::NullCanvas scratch;
    const ks::RenderRun run = ks::RunRenderSequence(k, o, scratch, design ? &*design : nullptr);
    for (const std::string& a : run.alerts) std::fprintf(stderr, "alert: %s\n", a.c_str());
    if (!run.ok) return Reject(run.error);
    // The design as drawn, once whatever else was asked for is written.
    const auto saveDesign = [&]() {
        if (!o.saveDesign) return 0;
        const QString failed = ks::WriteDesignFile(QString::fromStdString(*o.saveDesign), ks::CaptureDesign(k));
        return failed.isEmpty() ? 0 : CannotWrite(*o.saveDesign, failed);
    };

    // What is not a regular file is refused before any drawing: writing
    // there would replace a pipe or a device with a file.
    if (o.out && *o.out != "-") {
        const QString refused = ks::SaveTargetRefusal(QString::fromStdString(*o.out));
        if (!refused.isEmpty()) return Reject(*o.out + ": " + refused.toStdString());
    }
    const ks::DateStamp when = o.date ? *o.date : Now();
    if (o.exportFormat) {
        if (const std::string why = ks::ResponseRefusal(k.d, *o.exportFormat); !why.empty()) return Reject(why);
        const std::string text = ks::ResponseText(ks::SampleResponse(k.d, o.range), *o.exportFormat, IsoText(when));
        if (*o.out == "-") {
            std::fwrite(text.data(), 1, text.size(), stdout);
            if (std::fflush(stdout) != 0 || std::ferror(stdout)) return CannotWrite("standard output", "write error");
            return saveDesign();
        }
        const QString failed = ks::SaveFileBytes(QString::fromStdString(*o.out), QByteArray::fromStdString(text));
        return failed.isEmpty() ? saveDesign() : CannotWrite(*o.out, failed);
    }
    ks::RecordingCanvas trace;
    if (o.out) {
        const QString path = QString::fromStdString(*o.out);
        const int w = o.print ? 612 : 540, h = o.print ? 792 : 380;
        const QString failed =
            ks::WritePicture(path, *ks::PictureKindFor(path), w, h, ks::ImagesDir(), [&](ks::Canvas& picture) {
                ks::TeeCanvas both(picture, trace);
                ks::DrawFinalView(k, o, both, when);
            });
        if (!failed.isEmpty()) return CannotWrite(*o.out, failed);
    } else {
        ks::DrawFinalView(k, o, trace, when);
    }
    if (o.trace) std::fputs(trace.str().c_str(), stdout);
    if (o.record) std::printf("%s\n", ks::MacRomanToUtf8(ks::MakeClipText(k).view()).c_str());
    std::fflush(stdout);
    return saveDesign();
}
