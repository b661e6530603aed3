#include "EffectSynth.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <numbers>

namespace {

constexpr double TwoPi = 2.0 * std::numbers::pi;
// A mode or burst below this fraction of its start is inaudible; computing on would only cost time.
constexpr double InaudibleDecays = 9.0;
constexpr double StrikeAttack = 0.0007; // seconds: a hammer, not a crack
constexpr double ToneAttack = 0.01;     // seconds
constexpr double ToneRelease = 0.04;    // seconds
constexpr int ToneHarmonics = 9;
constexpr double EndFadeIn = 0.001;  // seconds: keeps the attack of a click
constexpr double EndFadeOut = 0.008; // seconds
constexpr double FullScale = 32'767.0;

// One-pole filter coefficient for a corner frequency.
double PoleCoefficient(double cornerHz) {
    return std::exp(-TwoPi * cornerHz / EffectSampleRate);
}

// A raised-cosine ramp from 0 to 1 over `length` samples.
double Ramp(std::size_t position, std::size_t length) {
    if (position >= length) return 1.0;
    return 0.5 - 0.5 * std::cos(std::numbers::pi * double(position) / double(length));
}

double WaveSample(TWave wave, double phase) {
    if (wave == TWave::Sine) return std::sin(phase);
    // Band-limited by summing the first harmonics, so that high notes do not alias into whistles.
    double sum = 0.0;
    for (int harmonic = 1; harmonic <= ToneHarmonics; ++harmonic) {
        if (wave == TWave::Square && harmonic % 2 == 0) continue;
        sum += std::sin(phase * harmonic) / harmonic;
    }
    return sum * 0.6;
}

void AppendLittleEndian(std::string& bytes, std::uint32_t value, int size) {
    for (int byte = 0; byte < size; ++byte)
        bytes.push_back(char((value >> (8 * byte)) & 0xFF));
}

} // namespace

TEffectTrack::TEffectTrack(double seconds) : FSamples(SampleAt(seconds), 0.0) {}

std::size_t TEffectTrack::SampleAt(double seconds) const {
    return std::size_t(std::lround(std::max(0.0, seconds) * EffectSampleRate));
}

void TEffectTrack::Strike(double start, const std::vector<TMode>& modes, double gain) {
    for (const TMode& mode : modes) {
        const std::size_t first = SampleAt(start);
        const std::size_t last =
            std::min(FSamples.size(), first + SampleAt(mode.DecayTime * InaudibleDecays));
        const std::size_t attack = SampleAt(StrikeAttack);
        for (std::size_t i = first; i < last; ++i) {
            const double t = double(i - first) / EffectSampleRate;
            FSamples[i] += gain * mode.Amplitude * Ramp(i - first, attack) * std::exp(-t / mode.DecayTime) *
                           std::sin(TwoPi * mode.Frequency * t);
        }
    }
}

void TEffectTrack::NoiseBurst(double start, double decayTime, double lowHz, double highHz, double gain) {
    const std::size_t first = SampleAt(start);
    const std::size_t last = std::min(FSamples.size(), first + SampleAt(decayTime * InaudibleDecays));
    const double lowPole = PoleCoefficient(highHz); // the low-pass keeps what lies under highHz
    const double highPole = PoleCoefficient(lowHz); // the high-pass removes what lies under lowHz
    double lowPassed = 0.0, slow = 0.0;
    for (std::size_t i = first; i < last; ++i) {
        FNoiseState ^= FNoiseState << 13;
        FNoiseState ^= FNoiseState >> 17;
        FNoiseState ^= FNoiseState << 5;
        const double white = double(FNoiseState) / double(UINT32_MAX) * 2.0 - 1.0;
        lowPassed = (1.0 - lowPole) * white + lowPole * lowPassed;
        slow = (1.0 - highPole) * lowPassed + highPole * slow;
        const double t = double(i - first) / EffectSampleRate;
        FSamples[i] += gain * (lowPassed - slow) * std::exp(-t / decayTime);
    }
}

void TEffectTrack::Tone(double start, double length, double fromHz, double toHz, TWave wave, double gain) {
    const std::size_t first = SampleAt(start);
    const std::size_t count = SampleAt(length);
    const std::size_t attack = SampleAt(ToneAttack), release = SampleAt(ToneRelease);
    double phase = 0.0;
    for (std::size_t n = 0; n < count && first + n < FSamples.size(); ++n) {
        const double progress = double(n) / double(count);
        // The pitch glides geometrically, as the ear hears a glide evenly.
        const double frequency = fromHz * std::pow(toHz / fromHz, progress);
        phase += TwoPi * frequency / EffectSampleRate;
        const double envelope = Ramp(n, attack) * Ramp(count - 1 - n, release);
        FSamples[first + n] += gain * envelope * WaveSample(wave, phase);
    }
}

void TEffectTrack::Finish(double peak, double maxRms) {
    const std::size_t fadeIn = SampleAt(EndFadeIn), fadeOut = SampleAt(EndFadeOut);
    double loudest = 0.0, energy = 0.0;
    for (std::size_t i = 0; i < FSamples.size(); ++i) {
        FSamples[i] *= Ramp(i, fadeIn) * Ramp(FSamples.size() - 1 - i, fadeOut);
        loudest = std::max(loudest, std::abs(FSamples[i]));
        energy += FSamples[i] * FSamples[i];
    }
    if (loudest == 0.0) return;
    const double rms = std::sqrt(energy / double(FSamples.size()));
    const double gain = std::min(peak / loudest, maxRms / rms);
    for (double& sample : FSamples)
        sample *= gain;
}

bool TEffectTrack::WriteWave(const std::string& fileName) const {
    constexpr std::uint32_t PcmFormat = 1, Channels = 1, BytesPerSample = 2, FormatChunkSize = 16;
    const auto dataBytes = std::uint32_t(FSamples.size() * BytesPerSample);
    std::string bytes = "RIFF";
    AppendLittleEndian(bytes, 36 + dataBytes, 4);
    bytes += "WAVEfmt ";
    AppendLittleEndian(bytes, FormatChunkSize, 4);
    AppendLittleEndian(bytes, PcmFormat, 2);
    AppendLittleEndian(bytes, Channels, 2);
    AppendLittleEndian(bytes, EffectSampleRate, 4);
    AppendLittleEndian(bytes, EffectSampleRate * Channels * BytesPerSample, 4);
    AppendLittleEndian(bytes, Channels * BytesPerSample, 2);
    AppendLittleEndian(bytes, BytesPerSample * 8, 2);
    bytes += "data";
    AppendLittleEndian(bytes, dataBytes, 4);
    for (double sample : FSamples) {
        const auto value = std::int16_t(std::lround(std::clamp(sample, -1.0, 1.0) * FullScale));
        AppendLittleEndian(bytes, std::uint16_t(value), 2);
    }
    std::ofstream file(fileName, std::ios::binary);
    file.write(bytes.data(), std::streamsize(bytes.size()));
    return bool(file);
}
