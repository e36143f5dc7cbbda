// SPDX-License-Identifier: GPL-3.0-or-later
// Plays the program's sound resources with Qt Multimedia, synchronously: the
// command that asked for the sound goes on when it has ended.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "sound/sound.h"

namespace ks {

// A decoded sound: interleaved 16-bit samples.
struct DecodedSound {
    int sampleRate = 0;
    int channels = 0;
    std::vector<std::int16_t> samples;
    double seconds() const
    {
        return sampleRate > 0 && channels > 0 ? static_cast<double>(samples.size()) / channels / sampleRate : 0.0;
    }
};

// Decodes an audio file with libsndfile; false when it cannot be read.
// Longer sounds are cut at maxSeconds, so a stray resource cannot block the
// program for long.
bool DecodeSoundFile(const QString& path, DecodedSound& out, double maxSeconds = 10.0);

// Runs `query` holding what Qt prints meanwhile: passed on when it found
// what it looked for, dropped when not. Asking for an audio output first
// makes the multimedia backend say there is no audio server; no audio
// output means silence, not a message. Fatal messages are never held.
bool QueryHoldingMessages(const std::function<bool()>& query);

class MediaSoundPlayer final : public SoundPlayer {
public:
    // supportRoot holds the resource folders ("Images" ...); empty means the
    // program's own data folder (DataDir()).
    explicit MediaSoundPlayer(QString supportRoot = {});

    int PlayMovieSoundFromSupportFilename(std::string_view name, std::string_view folder) override;

    // Locates a resource; 0 and its path, or -43 when there is none (a
    // missing file is said once on standard error). Names that would leave
    // the folder are refused as missing, silently.
    int FSSpecFromSupportFileName(std::string_view name, std::string_view folder, QString& path) const;
    // Plays a located file to its end; silent when there is no audio output,
    // or when it cannot be decoded (said once). Returns 0.
    int PlayMovieSoundFromFSSpec(const QString& path);

    // How many sounds reached an audio output (for tests and diagnostics).
    int playedCount() const { return played_; }

private:
    QString root_;
    int played_ = 0;
    bool asked_ = false;  // for an audio output, once already
};

}  // namespace ks
