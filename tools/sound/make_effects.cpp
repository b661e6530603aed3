// Synthesises the program's twelve sound effects into a folder: move, captures, castling, check,
// wins, the blitz warning and time-out bell, and the camera shutter. Each recipe is a few struck
// modes, noise bursts or tones; the numbers are chosen by ear for short, distinct and calm sounds.

#include "EffectSynth.h"

#include <cstdlib>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr double Peak = 0.89;  // -1 dBFS: loud, but with room so that no player clips it
constexpr double MaxRms = 0.2; // about -14 dBFS: held tones as loud to the ear as the clicks

// A piece set down on a wooden board: a low body knock with a quick woody overtone.
std::vector<TMode> Wood(double base) {
    return {{base, 1.0, 0.018}, {base * 2.57, 0.45, 0.008}, {base * 4.9, 0.2, 0.004}};
}

// A soft mallet on a tuned bar: a round fundamental and two fading overtones.
std::vector<TMode> Mallet(double base, double ring) {
    return {{base, 1.0, ring}, {base * 3.93, 0.25, ring / 4}, {base * 9.2, 0.06, ring / 12}};
}

// A church-bell spectrum: hum, prime, minor third, fifth and nominal, the low partials ringing longest.
std::vector<TMode> Bell(double base) {
    return {{base * 0.5, 0.5, 0.6},    {base, 1.0, 0.6},        {base * 1.19, 0.45, 0.45},
            {base * 1.5, 0.35, 0.35},  {base * 2.0, 0.5, 0.3},  {base * 2.52, 0.2, 0.18},
            {base * 3.01, 0.15, 0.12}, {base * 4.1, 0.08, 0.07}};
}

constexpr double C5 = 523.25, D5 = 587.33, E5 = 659.26, F5 = 698.46, G5 = 783.99, A5 = 880.0, C6 = 1046.5,
                 F6 = 1396.9, A4 = 440.0, F4 = 349.23, D4 = 293.66, G4 = 392.0, E4 = 329.63, C4 = 261.63;

TEffectTrack Move() {
    TEffectTrack track(0.16);
    track.Strike(0.0, Wood(520), 1.0);
    track.NoiseBurst(0.0, 0.0015, 800, 5000, 0.6);
    return track;
}

// A capture knocks harder and higher, and the taken piece clatters off a moment later.
TEffectTrack Capture(double base, double second) {
    TEffectTrack track(0.28);
    track.Strike(0.0, Wood(base), 1.0);
    track.NoiseBurst(0.0, 0.004, 1500, 8000, 1.1);
    track.Strike(second, Wood(base * 1.35), 0.45);
    track.NoiseBurst(second, 0.002, 2000, 9000, 0.4);
    return track;
}

// King, then rook.
TEffectTrack Castle() {
    TEffectTrack track(0.34);
    track.Strike(0.0, Wood(480), 1.0);
    track.NoiseBurst(0.0, 0.0015, 800, 5000, 0.5);
    track.Strike(0.17, Wood(560), 0.9);
    track.NoiseBurst(0.17, 0.0015, 800, 5000, 0.45);
    return track;
}

// Two rising mallet notes: attention, not alarm.
TEffectTrack Check() {
    TEffectTrack track(0.9);
    track.Strike(0.0, Mallet(A5, 0.25), 1.0);
    track.Strike(0.16, Mallet(D5 * 2, 0.3), 1.0);
    return track;
}

TEffectTrack Arpeggio(const std::vector<double>& notes, double step, double ring) {
    TEffectTrack track(step * double(notes.size()) + ring * 3.5);
    for (std::size_t i = 0; i < notes.size(); ++i)
        track.Strike(step * double(i), Mallet(notes[i], ring), 1.0);
    return track;
}

// The winner is a person: bright rising major arpeggios.
TEffectTrack PersonWins() {
    return Arpeggio({C5, E5, G5, C6}, 0.12, 0.35);
}
TEffectTrack PersonWins2() {
    return Arpeggio({F5, A5, C6, A5, C6, F6}, 0.1, 0.3);
}

// The winner is the machine: square-wave tones falling, as a machine would announce it.
TEffectTrack ComputerWins() {
    TEffectTrack track(1.05);
    const std::vector<double> notes = {A4, F4, D4};
    for (std::size_t i = 0; i < notes.size(); ++i)
        track.Tone(0.25 * double(i), i + 1 == notes.size() ? 0.55 : 0.22, notes[i], notes[i], TWave::Square,
                   0.5);
    return track;
}

TEffectTrack ComputerWins2() {
    TEffectTrack track(1.2);
    track.Tone(0.0, 0.3, G4, G4, TWave::Sawtooth, 0.5);
    track.Tone(0.32, 0.3, E4, E4, TWave::Sawtooth, 0.5);
    track.Tone(0.64, 0.5, E4, C4, TWave::Sawtooth, 0.5);
    return track;
}

// Three short soft beeps.
TEffectTrack Warning() {
    TEffectTrack track(0.8);
    for (int beep = 0; beep < 3; ++beep)
        track.Tone(0.25 * beep, 0.12, 1000, 1000, TWave::Sine, 0.8);
    return track;
}

// A small bell struck three times, then left to ring out.
TEffectTrack Ring() {
    TEffectTrack track(3.0);
    for (int strike = 0; strike < 3; ++strike)
        track.Strike(0.45 * strike, Bell(E5 * 1.5), 1.0);
    return track;
}

// A shutter: the blades open and close with two dry clicks and a tiny spring ring.
TEffectTrack Camera() {
    TEffectTrack track(0.22);
    for (double at : {0.0, 0.075}) {
        track.NoiseBurst(at, 0.003, 2500, 10000, 1.0);
        track.Strike(at, {{2300, 0.3, 0.006}, {3700, 0.2, 0.004}}, 1.0);
    }
    return track;
}

struct TEffect {
    const char* FileName;
    std::function<TEffectTrack()> Make;
};

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::cerr << "usage: make_effects <output folder>\n";
        return EXIT_FAILURE;
    }
    const std::string folder = std::string(argv[1]) + "/";
    const std::vector<TEffect> effects = {
        {"RICHTIGZUG.WAV", Move},
        {"FEHLER.WAV", [] { return Capture(380, 0.07); }},
        {"FEHLER2.WAV", [] { return Capture(330, 0.11); }},
        {"ROCHADE.WAV", Castle},
        {"SCHACH.WAV", Check},
        {"SPIWIN.WAV", PersonWins},
        {"SPIWIN2.WAV", PersonWins2},
        {"COWIN.WAV", ComputerWins},
        {"COWIN2.WAV", ComputerWins2},
        {"WARNING.WAV", Warning},
        {"RING.WAV", Ring},
        {"KAMERA.WAV", Camera},
    };
    for (const TEffect& effect : effects) {
        TEffectTrack track = effect.Make();
        track.Finish(Peak, MaxRms);
        if (!track.WriteWave(folder + effect.FileName)) {
            std::cerr << "make_effects: cannot write " << folder << effect.FileName << "\n";
            return EXIT_FAILURE;
        }
    }
    return EXIT_SUCCESS;
}
