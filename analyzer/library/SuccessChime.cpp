#include "analyzer/library/SuccessChime.h"

#include <QSaveFile>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

constexpr int kSampleRate = 44100;
constexpr double kLengthSeconds = 0.75;
constexpr double kPi = 3.14159265358979323846;

struct Note {
    double startSeconds;
    double frequencyHz;
    double gain;
};

// E6 then A6: a rising fourth reads as "done" without being shrill.
constexpr Note kNotes[] = {{0.0, 1318.51, 0.55}, {0.11, 1760.00, 0.45}};

// A soft bell: the fundamental with two quieter partials that die away faster.
double Bell(double t, double frequency)
{
    if (t < 0)
        return 0;
    const double attack = std::min(1.0, t / 0.004);
    return attack
        * (std::sin(2 * kPi * frequency * t) * std::exp(-t / 0.22)
           + 0.25 * std::sin(2 * kPi * 2 * frequency * t) * std::exp(-t / 0.09)
           + 0.08 * std::sin(2 * kPi * 3 * frequency * t) * std::exp(-t / 0.05));
}

void Put(QByteArray& out, const char* tag)
{
    out.append(tag, 4);
}

template <typename T>
void Put(QByteArray& out, T value)
{
    char bytes[sizeof(T)];
    qToLittleEndian(value, bytes);
    out.append(bytes, sizeof(T));
}

} // namespace

QByteArray SuccessChimeWav()
{
    const int samples = int(kSampleRate * kLengthSeconds);
    std::vector<int16_t> pcm(size_t(samples), 0);
    for (int i = 0; i < samples; ++i) {
        const double t = double(i) / kSampleRate;
        double value = 0;
        for (const Note& note : kNotes)
            value += note.gain * Bell(t - note.startSeconds, note.frequencyHz);
        // A short fade at the end so the file never stops on a click.
        const double fade = std::min(1.0, (kLengthSeconds - t) / 0.05);
        pcm[size_t(i)] = int16_t(std::lround(std::clamp(value * fade * 0.5, -1.0, 1.0) * 32767));
    }

    const uint32_t dataBytes = uint32_t(samples) * 2;
    QByteArray wav;
    Put(wav, "RIFF");
    Put<uint32_t>(wav, 36 + dataBytes);
    Put(wav, "WAVE");
    Put(wav, "fmt ");
    Put<uint32_t>(wav, 16);
    Put<uint16_t>(wav, 1); // PCM
    Put<uint16_t>(wav, 1); // mono
    Put<uint32_t>(wav, kSampleRate);
    Put<uint32_t>(wav, kSampleRate * 2);
    Put<uint16_t>(wav, 2);
    Put<uint16_t>(wav, 16);
    Put(wav, "data");
    Put<uint32_t>(wav, dataBytes);
    for (int16_t sample : pcm)
        Put<int16_t>(wav, sample);
    return wav;
}

bool WriteSuccessChime(const QString& path)
{
    QSaveFile file(path);
    const QByteArray wav = SuccessChimeWav();
    return file.open(QIODevice::WriteOnly) && file.write(wav) == wav.size() && file.commit();
}
