// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/player/sound_player.h"

#include <sndfile.h>

#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QEventLoop>
#include <QFileInfo>
#include <QMediaDevices>
#include <QTimer>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "support/qt/resource_dir.h"

namespace ks {

namespace {

// The message handler is one for the whole process, so what it holds is
// too; only QueryHoldingMessages installs it, for the length of one query.
struct HeldMessage {
    QtMsgType type;
    std::string file, function, category;
    int line;
    QString text;
};
std::mutex g_heldLock;
std::vector<HeldMessage> g_held;
QtMessageHandler g_outer = nullptr;

void HoldMessage(QtMsgType type, const QMessageLogContext& c, const QString& text)
{
    if (type == QtFatalMsg) {
        qInstallMessageHandler(g_outer);
        qt_message_output(type, c, text);
        return;
    }
    const std::lock_guard lock(g_heldLock);
    g_held.push_back(
        {type, c.file ? c.file : "", c.function ? c.function : "", c.category ? c.category : "", c.line, text});
}

}  // namespace

bool QueryHoldingMessages(const std::function<bool()>& query)
{
    g_outer = qInstallMessageHandler(HoldMessage);
    const bool found = query();
    qInstallMessageHandler(g_outer);
    std::vector<HeldMessage> held;
    {
        const std::lock_guard lock(g_heldLock);
        held.swap(g_held);
    }
    if (found)
        for (const HeldMessage& m : held)
            qt_message_output(
                m.type, QMessageLogContext(m.file.c_str(), m.line, m.function.c_str(), m.category.c_str()), m.text);
    return found;
}

bool DecodeSoundFile(const QString& path, DecodedSound& out, double maxSeconds)
{
    out = {};
    SF_INFO info{};
    const QByteArray local = QFile::encodeName(path);
    SNDFILE* f = sf_open(local.constData(), SFM_READ, &info);
    if (!f) return false;
    if (info.samplerate <= 0 || info.channels <= 0 || info.channels > 8) {
        sf_close(f);
        return false;
    }
    sf_count_t frames = info.frames;
    const sf_count_t cap = static_cast<sf_count_t>(maxSeconds * info.samplerate);
    if (frames > cap) frames = cap;
    if (frames < 0) frames = 0;
    out.sampleRate = info.samplerate;
    out.channels = info.channels;
    out.samples.resize(static_cast<std::size_t>(frames * info.channels));
    const sf_count_t got = sf_readf_short(f, out.samples.data(), frames);
    sf_close(f);
    out.samples.resize(static_cast<std::size_t>((got < 0 ? 0 : got) * info.channels));
    return true;
}

MediaSoundPlayer::MediaSoundPlayer(QString supportRoot) : root_(std::move(supportRoot))
{
    if (root_.isEmpty()) root_ = DataDir();
}

int MediaSoundPlayer::FSSpecFromSupportFileName(std::string_view name, std::string_view folder, QString& path) const
{
    path.clear();
    const QString p = ResourcePath(root_ + QStringLiteral("/Images"), name, folder);
    if (p.isEmpty()) return -43;
    if (!QFileInfo(p).isFile()) {
        ReportMissingResource(p);
        return -43;
    }
    path = p;
    return 0;
}

int MediaSoundPlayer::PlayMovieSoundFromSupportFilename(std::string_view name, std::string_view folder)
{
    QString path;
    const int err = FSSpecFromSupportFileName(name, folder, path);
    if (err != 0) return err;
    return PlayMovieSoundFromFSSpec(path);
}

int MediaSoundPlayer::PlayMovieSoundFromFSSpec(const QString& path)
{
    QAudioDevice device;
    const auto find = [&device] {
        device = QMediaDevices::defaultAudioOutput();
        return !device.isNull();
    };
    // The first question reaches the audio server, whose absence the backend
    // would otherwise print.
    if (std::exchange(asked_, true))
        find();
    else
        QueryHoldingMessages(find);
    if (device.isNull()) return 0;  // no audio output: no sound, no delay, no message
    DecodedSound sound;
    if (!DecodeSoundFile(path, sound)) {
        ReportMissingResource(path, QStringLiteral("undecodable"));
        return 0;
    }
    if (sound.samples.empty()) return 0;

    QAudioFormat format;
    format.setSampleRate(sound.sampleRate);
    format.setChannelCount(sound.channels);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format)) return 0;

    QByteArray pcm(reinterpret_cast<const char*>(sound.samples.data()),
                   qsizetype(sound.samples.size() * sizeof(std::int16_t)));
    QBuffer buffer(&pcm);
    buffer.open(QIODevice::ReadOnly);
    QAudioSink sink(device, format);
    QEventLoop loop;
    QObject::connect(&sink, &QAudioSink::stateChanged, &loop, [&](QAudio::State s) {
        if (s == QAudio::IdleState || s == QAudio::StoppedState) loop.quit();
    });
    // However the output behaves, the command goes on shortly after the
    // sound's own length.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &loop, &QEventLoop::quit);
    guard.start(static_cast<int>(sound.seconds() * 1000.0) + 500);
    sink.start(&buffer);
    if (sink.error() == QAudio::NoError && sink.state() != QAudio::StoppedState) {
        ++played_;
        // User input waits until the sound is over, as the command does.
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    sink.stop();
    return 0;
}

}  // namespace ks
