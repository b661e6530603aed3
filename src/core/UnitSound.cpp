#include "UnitSound.h"

#include "UnitFunctions.h"
#include "UnitLanguages.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <QStringList>

#include <SDL.h>
#include <SDL_mixer.h>

#include <limits>
#include <utility>

namespace {

// Every effect shares one channel, so that a new sound cuts off the one playing.
constexpr int EffectChannel = 0;
constexpr int AllChannels = -1;
constexpr int MixerChunkSize = 1024; // sample frames per buffer: about 23 ms of latency
constexpr Uint32 PollIntervalMs = 5;
// A device that stops taking audio must not hold a synchronous sound forever.
constexpr Uint64 SyncGraceMs = 5000;
constexpr Uint64 MsPerSecond = 1000;

struct TSoundState {
    bool Tried = false;
    bool Open = false;
    int DeviceCount = 0;
    QHash<QString, Mix_Chunk*> Chunks; // by resolved file name
};

TSoundState& State() {
    static TSoundState state;
    return state;
}

struct TSilenceReports {
    std::function<void(const QString&)> Report;
    QSet<QString> Told;
    QStringList Waiting; // told before anyone listened
};

TSilenceReports& SilenceReports() {
    static TSilenceReports reports;
    return reports;
}

TSoundRecorder*& ActiveRecorder() {
    static TSoundRecorder* recorder = nullptr;
    return recorder;
}

bool OpenAudio() {
    // Ctrl+C and SIGTERM belong to the program, not to SDL's event queue, which nobody reads.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    if (Mix_OpenAudio(MIX_DEFAULT_FREQUENCY, MIX_DEFAULT_FORMAT, MIX_DEFAULT_CHANNELS, MixerChunkSize) == 0)
        return true;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
}

// Opens the device on first use only, so that a program that never plays pays nothing.
TSoundState& OpenedState() {
    TSoundState& state = State();
    if (state.Tried) return state;
    state.Tried = true;
    state.Open = OpenAudio();
    if (!state.Open)
        ReportSilence(
            LoadLangString(5500, "Keine Tonausgabe: kein Audiogerät nutzbar (%1).").arg(SDL_GetError()));
    // Some drivers cannot list their devices (SDL answers -1 or 0) yet play on the default one.
    state.DeviceCount = state.Open ? qMax(1, SDL_GetNumAudioDevices(0)) : 0;
    return state;
}

Mix_Chunk* LoadChunk(const QString& fileName) {
    QHash<QString, Mix_Chunk*>& chunks = State().Chunks;
    if (const auto cached = chunks.constFind(fileName); cached != chunks.cend()) return cached.value();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) return nullptr;
    const QByteArray bytes = file.readAll();
    if (bytes.isEmpty() || bytes.size() > std::numeric_limits<int>::max()) return nullptr;
    // The mixer decodes the whole file into a buffer of its own, so the bytes may go afterwards.
    Mix_Chunk* chunk =
        Mix_LoadWAV_RW(SDL_RWFromConstMem(bytes.constData(), static_cast<int>(bytes.size())), 1);
    if (chunk) chunks.insert(fileName, chunk);
    return chunk;
}

Mix_Chunk* LoadChunkOrReport(const QString& fileName) {
    Mix_Chunk* chunk = LoadChunk(fileName);
    if (!chunk) ReportSilence(LoadLangString(5501, "Tondatei fehlt oder ist beschädigt: %1").arg(fileName));
    return chunk;
}

Uint64 ChunkDurationMs(const Mix_Chunk* chunk) {
    int frequency = 0;
    Uint16 format = 0;
    int channels = 0;
    if (Mix_QuerySpec(&frequency, &format, &channels) == 0) return 0;
    const Uint64 bytesPerSecond =
        Uint64(SDL_AUDIO_BITSIZE(format) / 8) * Uint64(channels) * Uint64(frequency);
    return bytesPerSecond == 0 ? 0 : Uint64(chunk->alen) * MsPerSecond / bytesPerSecond;
}

void WaitUntilSilent(const Mix_Chunk* chunk) {
    const Uint64 deadline = SDL_GetTicks64() + ChunkDurationMs(chunk) + SyncGraceMs;
    while (Mix_Playing(EffectChannel) && SDL_GetTicks64() < deadline)
        SDL_Delay(PollIntervalMs);
    Mix_HaltChannel(EffectChannel);
}

} // namespace

int WaveOutDeviceCount() {
    return OpenedState().DeviceCount;
}

void PlayWave(const QString& path, bool async) {
    if (TSoundRecorder* recorder = ActiveRecorder()) {
        recorder->Calls << TSoundCall{path, async, recorder->Clock.elapsed()};
        return;
    }
    if (!OpenedState().Open) return;
    Mix_Chunk* chunk = LoadChunkOrReport(ResolvePath(path));
    if (!chunk || Mix_PlayChannel(EffectChannel, chunk, 0) < 0) return;
    if (!async) WaitUntilSilent(chunk);
}

QString PlayingWave() {
    const TSoundState& state = State();
    if (!state.Open || !Mix_Playing(EffectChannel)) return {};
    return state.Chunks.key(Mix_GetChunk(EffectChannel));
}

void ShutdownSound() {
    TSoundState& state = State();
    if (state.Open) {
        Mix_HaltChannel(AllChannels);
        for (Mix_Chunk* chunk : std::as_const(state.Chunks))
            Mix_FreeChunk(chunk);
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    // SDL keeps hints and driver state even after a failed start; only SDL_Quit releases them.
    if (state.Tried) SDL_Quit();
    state = TSoundState{};
}

void SetSilenceReporter(std::function<void(const QString&)> report) {
    TSilenceReports& reports = SilenceReports();
    reports.Report = std::move(report);
    if (!reports.Report) return;
    const QStringList waiting = std::exchange(reports.Waiting, {});
    for (const QString& cause : waiting)
        reports.Report(cause);
}

void ReportSilence(const QString& cause) {
    TSilenceReports& reports = SilenceReports();
    if (reports.Told.contains(cause)) return;
    reports.Told.insert(cause);
    if (reports.Report)
        reports.Report(cause);
    else
        reports.Waiting << cause;
}

TSoundRecorder::TSoundRecorder() : FPrevious(std::exchange(ActiveRecorder(), this)) {
    Clock.start();
}

TSoundRecorder::~TSoundRecorder() {
    ActiveRecorder() = FPrevious;
}
