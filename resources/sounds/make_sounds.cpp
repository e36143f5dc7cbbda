// SPDX-License-Identifier: GPL-3.0-or-later
// Synthesises the program's two sound effects and writes them as 16-bit mono
// AIFF at 44.1 kHz: "Shutter.aif", the two-stage clack of a camera shutter,
// and "Click.aif", a short dry click. Deterministic: the same bytes on every
// build.
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 44100;
constexpr double kPi = 3.14159265358979323846;

// A small linear congruential generator, so the noise never changes.
class Noise {
public:
    double next()
    {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(state_ >> 11) / 9007199254740992.0 * 2.0 - 1.0;
    }

private:
    std::uint64_t state_ = 0x5eedULL;
};

// A burst of band-limited noise with a resonant body, decaying exponentially.
void AddClack(std::vector<double>& out, double at, double length, double decay, double body, double gain, Noise& noise)
{
    const int start = static_cast<int>(at * kRate);
    const int n = static_cast<int>(length * kRate);
    double lp = 0.0;
    for (int i = 0; i < n && start + i < static_cast<int>(out.size()); ++i) {
        const double t = static_cast<double>(i) / kRate;
        lp += 0.35 * (noise.next() - lp);  // soften the hiss
        const double env = std::exp(-t / decay) * std::min(1.0, t * 4000.0);
        const double ring = std::sin(2.0 * kPi * body * t);
        out[start + i] += gain * env * (0.7 * lp + 0.3 * ring);
    }
}

bool Write(const std::string& path, const std::vector<double>& samples)
{
    SF_INFO info{};
    info.samplerate = kRate;
    info.channels = 1;
    info.format = SF_FORMAT_AIFF | SF_FORMAT_PCM_16;
    SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!f) {
        std::fprintf(stderr, "cannot write %s: %s\n", path.c_str(), sf_strerror(nullptr));
        return false;
    }
    const sf_count_t n = static_cast<sf_count_t>(samples.size());
    const bool ok = sf_write_double(f, samples.data(), n) == n;
    sf_close(f);
    return ok;
}

std::vector<double> Shutter()
{
    Noise noise;
    std::vector<double> s(static_cast<std::size_t>(0.26 * kRate), 0.0);
    AddClack(s, 0.000, 0.08, 0.012, 1900.0, 0.8, noise);  // the blades open
    AddClack(s, 0.006, 0.05, 0.020, 420.0, 0.35, noise);  // the body's knock
    AddClack(s, 0.120, 0.10, 0.016, 1500.0, 0.7, noise);  // the blades close
    AddClack(s, 0.126, 0.08, 0.030, 360.0, 0.30, noise);
    return s;
}

std::vector<double> Click()
{
    Noise noise;
    std::vector<double> s(static_cast<std::size_t>(0.04 * kRate), 0.0);
    AddClack(s, 0.0, 0.04, 0.004, 2600.0, 0.6, noise);
    return s;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: kestrova_make_sounds OUTPUT_DIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    const bool ok = Write(dir + "/Shutter.aif", Shutter()) && Write(dir + "/Click.aif", Click());
    return ok ? 0 : 1;
}
