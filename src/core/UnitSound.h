#pragma once
// Sound effects and spoken words: wave files played on one channel, either in the background (a new
// sound cuts off the one playing) or to their end. Without a usable sound device every call is a
// silent no-op, so the program runs the same on machines without sound. User-interface thread only.

#include <QElapsedTimer>
#include <QList>
#include <QString>

#include <functional>

// The number of playback devices; 0 when sound cannot be opened, which switches sound off.
int WaveOutDeviceCount();

// Plays a wave file given as the program writes it ("SOUND\\RICHTIGZUG.WAV", relative to the program's
// folder). Asynchronous: returns at once. Synchronous: returns when the sound has ended. A missing or
// unreadable file plays nothing.
void PlayWave(const QString& path, bool async);

// The resolved file name of the sound playing now; empty when all is silent.
QString PlayingWave();

// Stops all sound and releases the device and every loaded sound; a later call opens them again.
void ShutdownSound();

// Where the program hears why something stays silent: no sound device, a missing or damaged sound,
// speech or music file, no sound font. Each cause is told once per run (the program writes it to the
// logbook); causes found while no one listens are kept and told when a listener is set.
void SetSilenceReporter(std::function<void(const QString&)> report);
void ReportSilence(const QString& cause);

struct TSoundCall {
    QString Path;
    bool Async = false;
    qint64 AtMs = 0; // when it was asked for, counted from the recorder's creation
    // Two calls are the same request whenever they were made.
    bool operator==(const TSoundCall& other) const { return Path == other.Path && Async == other.Async; }
};

// While one exists, every PlayWave call is recorded in it instead of being played, so that tests can
// see which sounds the program asks for without files or a device. Recorders nest.
class TSoundRecorder {
public:
    TSoundRecorder();
    ~TSoundRecorder();
    TSoundRecorder(const TSoundRecorder&) = delete;
    TSoundRecorder& operator=(const TSoundRecorder&) = delete;

    QList<TSoundCall> Calls;
    QElapsedTimer Clock;

private:
    TSoundRecorder* FPrevious;
};
