#pragma once
// TMidiPlayer plays one MIDI file in the background: FluidSynth's player and General MIDI
// synthesiser, rendered into the mixer's music stream, so that music shares the one sound device
// with the effects (and the dummy device in tests). Times are milliseconds, taken from the file's
// own tempo map. Without a device, a sound font or a readable file it stays silent and says once
// why (see SetSilenceReporter). User-interface thread only; the device renders on its own thread.

#include "MidiTiming.h"

#include <QObject>
#include <QString>

#include <optional>

struct _fluid_player_t;

class TMidiPlayer : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString MidiFile READ MidiFile WRITE SetMidiFile)
public:
    explicit TMidiPlayer(QObject* owner = nullptr);
    ~TMidiPlayer() override;

    QString MidiFile() const { return FMidiFile; }
    // Closes the open file first.
    void SetMidiFile(const QString& fileName);

    // Opens MidiFile for playing; false when it cannot be played (no device, no sound font, the file
    // missing or not MIDI).
    bool Open();
    // Plays from `from` to `to`; both 0 play the whole file.
    void Play(int from, int to);
    void Close();
    bool IsOpen() const { return FPlayer != nullptr; }

    // Where playback is, and how long the piece lasts (or the end `Play` was given); 0 while closed.
    int Position() const;
    int Length() const;
    void Seek(int position);

private:
    QString FMidiFile;
    std::optional<TMidiTiming> FTiming;
    _fluid_player_t* FPlayer = nullptr;
    int FEndPosition = 0;
};

// The General MIDI sound font the synthesiser uses; empty when the machine has none.
QString GeneralMidiSoundFont();
