#pragma once
// A small additive synthesiser for the sound effects the program ships: struck modes (wood, bells,
// mallets), filtered noise bursts (clicks, shutters) and enveloped tones, mixed into one mono track
// that is normalised and faded at its ends before it is written as a 16-bit wave file.

#include <cstdint>
#include <string>
#include <vector>

inline constexpr int EffectSampleRate = 22'050;

// One resonance of a struck body: it starts at full amplitude and dies away exponentially.
struct TMode {
    double Frequency; // Hz
    double Amplitude; // relative to the other modes of the strike
    double DecayTime; // seconds until the mode has fallen to 1/e
};

// How a tone's waveform is built from its harmonics.
enum class TWave { Sine, Square, Sawtooth };

class TEffectTrack {
public:
    explicit TEffectTrack(double seconds);

    // A strike at `start` seconds exciting the given modes, scaled by `gain`.
    void Strike(double start, const std::vector<TMode>& modes, double gain);
    // Noise between `lowHz` and `highHz` dying away with `decayTime`, starting at `start` seconds.
    void NoiseBurst(double start, double decayTime, double lowHz, double highHz, double gain);
    // A held tone with soft attack and release, its pitch gliding from `fromHz` to `toHz`.
    void Tone(double start, double length, double fromHz, double toHz, TWave wave, double gain);

    // Fades both ends so that nothing clicks, then scales the loudest sample to `peak` (of full scale),
    // or less where the whole would be louder than `maxRms`: held tones must not drown the clicks.
    void Finish(double peak, double maxRms);
    // False when the file cannot be written.
    bool WriteWave(const std::string& fileName) const;

private:
    std::size_t SampleAt(double seconds) const;
    std::vector<double> FSamples;
    std::uint32_t FNoiseState = 0x2545F491u; // fixed, so that every build writes the same bytes
};
