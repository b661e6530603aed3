#include "MidiPlay.h"

#include "UnitLanguages.h"
#include "UnitSound.h"

#include <QFile>
#include <QFileInfo>

#include <SDL.h>
#include <SDL_mixer.h>
#include <fluidsynth.h>

#include <cstring>
#include <mutex>

namespace {

// Debian's General MIDI fonts: the system's choice first, then the packages that provide one.
constexpr const char* SoundFontCandidates[] = {
    "/usr/share/sounds/sf2/default-GM.sf2",
    "/usr/share/sounds/sf2/FluidR3_GM.sf2",
    "/usr/share/sounds/sf2/TimGM6mb.sf2",
    "/usr/share/soundfonts/default.sf2",
};
// Music plays under the effects and the spoken words.
constexpr double MusicGain = 0.8;
constexpr int StereoChannels = 2;

// The synthesiser outlives the players: the sound font is loaded once per run. The mutex keeps the
// device's thread from rendering while a player is made or taken away.
struct TSynth {
    fluid_settings_t* Settings = nullptr;
    fluid_synth_t* Synth = nullptr;
    fluid_player_t* Playing = nullptr;
    int Channels = 0;
    bool Tried = false;
    std::mutex Lock;
};

TSynth& Synth() {
    static TSynth synth;
    return synth;
}

// Runs on the device's thread: the music stream is the synthesiser's output.
void RenderMusic(void*, Uint8* stream, int length) {
    TSynth& synth = Synth();
    std::memset(stream, 0, size_t(length));
    const std::lock_guard guard(synth.Lock);
    if (!synth.Playing || synth.Channels < StereoChannels) return;
    const int frames = length / int(sizeof(Sint16)) / synth.Channels;
    fluid_synth_write_s16(synth.Synth, frames, stream, 0, synth.Channels, stream, 1, synth.Channels);
}

bool OpenSynth() {
    TSynth& synth = Synth();
    if (synth.Synth) return true;
    if (synth.Tried) return false;
    synth.Tried = true;
    int frequency = 0;
    Uint16 format = 0;
    if (Mix_QuerySpec(&frequency, &format, &synth.Channels) == 0) return false;
    if (format != AUDIO_S16SYS || synth.Channels < StereoChannels) {
        ReportSilence(LoadLangString(5505, "Keine Musik: das Audiogerät spielt kein 16-Bit-Stereo."));
        return false;
    }
    const QString font = GeneralMidiSoundFont();
    if (font.isEmpty()) {
        ReportSilence(
            LoadLangString(5506, "Keine Musik: keine General-MIDI-Klangbibliothek (SoundFont) gefunden."));
        return false;
    }
    // FluidSynth writes its complaints to the terminal; the logbook says what matters.
    for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
        fluid_set_log_function(level, nullptr, nullptr);
    synth.Settings = new_fluid_settings();
    fluid_settings_setnum(synth.Settings, "synth.sample-rate", frequency);
    fluid_settings_setnum(synth.Settings, "synth.gain", MusicGain);
    synth.Synth = new_fluid_synth(synth.Settings);
    if (!synth.Synth || fluid_synth_sfload(synth.Synth, font.toLocal8Bit().constData(), 1) == FLUID_FAILED) {
        if (synth.Synth) delete_fluid_synth(synth.Synth);
        delete_fluid_settings(synth.Settings);
        synth.Synth = nullptr;
        synth.Settings = nullptr;
        ReportSilence(
            LoadLangString(5507, "Keine Musik: die Klangbibliothek %1 ist nicht lesbar.").arg(font));
        return false;
    }
    return true;
}

void ReportUnplayable(const QString& fileName) {
    ReportSilence(LoadLangString(5508, "Musikdatei fehlt oder ist beschädigt: %1").arg(fileName));
}

} // namespace

QString GeneralMidiSoundFont() {
    for (const char* candidate : SoundFontCandidates)
        if (QFileInfo(candidate).isReadable()) return QFileInfo(candidate).canonicalFilePath();
    return {};
}

TMidiPlayer::TMidiPlayer(QObject* owner) : QObject(owner) {}

TMidiPlayer::~TMidiPlayer() {
    Close();
}

void TMidiPlayer::SetMidiFile(const QString& fileName) {
    Close();
    FMidiFile = fileName;
}

bool TMidiPlayer::Open() {
    Close();
    FEndPosition = 0;
    if (WaveOutDeviceCount() == 0 || !OpenSynth()) return false;
    QFile file(FMidiFile);
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    FTiming = TMidiTiming::Read(bytes);
    if (!FTiming) {
        ReportUnplayable(FMidiFile);
        return false;
    }
    TSynth& synth = Synth();
    fluid_player_t* player = new_fluid_player(synth.Synth);
    if (!player || fluid_player_add_mem(player, bytes.constData(), size_t(bytes.size())) != FLUID_OK) {
        if (player) delete_fluid_player(player);
        FTiming.reset();
        ReportUnplayable(FMidiFile);
        return false;
    }
    FPlayer = player;
    return true;
}

void TMidiPlayer::Play(int from, int to) {
    if (!FPlayer) return;
    FEndPosition = to > 0 ? to : 0;
    if (from > 0) Seek(from);
    TSynth& synth = Synth();
    {
        const std::lock_guard guard(synth.Lock);
        synth.Playing = FPlayer;
    }
    fluid_player_play(FPlayer);
    Mix_HookMusic(RenderMusic, nullptr);
}

void TMidiPlayer::Close() {
    if (!FPlayer) return;
    TSynth& synth = Synth();
    fluid_player_stop(FPlayer);
    {
        const std::lock_guard guard(synth.Lock);
        if (synth.Playing == FPlayer) synth.Playing = nullptr;
        // Notes still sounding end now, not with the next piece.
        fluid_synth_system_reset(synth.Synth);
    }
    delete_fluid_player(FPlayer);
    FPlayer = nullptr;
    FTiming.reset();
}

int TMidiPlayer::Position() const {
    if (!FPlayer || !FTiming) return 0;
    // A finished player may stop counting before the last tick the file names.
    if (fluid_player_get_status(FPlayer) == FLUID_PLAYER_DONE) return Length();
    return int(FTiming->TicksToMs(fluid_player_get_current_tick(FPlayer)));
}

int TMidiPlayer::Length() const {
    if (FEndPosition > 0) return FEndPosition;
    return FTiming ? int(FTiming->LengthMs()) : 0;
}

void TMidiPlayer::Seek(int position) {
    if (!FPlayer || !FTiming) return;
    fluid_player_seek(FPlayer, int(FTiming->MsToTicks(qMax(0, position))));
}
