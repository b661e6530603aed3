// Times the settings file at program start and end with a large file: about 1 MB of stored positions
// and player wins besides the ordinary keys. Start is every read the main window makes; end is every
// write of the close request, once with the values already stored (the usual case, nothing to save)
// and once with a file that lacks every ordinary key, so that the whole file has to be saved.
//
// Run: build/bin/settings_bench [repetitions] [folder to work in, default the temporary folder]

#include "UnitFunctions.h"
#include "UnitSettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

constexpr qint64 FileBytes = 1024 * 1024;
constexpr int PlayerCount = 200;
constexpr double GoalMs = 300;

// Stored positions and win counts up to FileBytes, as a long-used settings file holds them.
QByteArray BulkSections() {
    QByteArray wins = "[PlayerStatistic.Win]\n";
    for (int i = 0; i < PlayerCount; ++i)
        wins += "Spieler " + QByteArray::number(i) + '=' + QByteArray::number(i % 17) + '\n';
    QByteArray text = "[Positions]\n";
    for (int i = 0; text.size() + wins.size() < FileBytes; ++i)
        text += "Stellung " + QByteArray::number(i) +
                "=\"rnbqkbnr/pppp1ppp/8/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R b\"\n";
    return text + wins;
}

// Puts the file in a folder of its own each time, as a new run of the program finds it: nothing
// parsed before is reused.
class TRuns {
public:
    explicit TRuns(const QString& base) : FBase(base) {}
    void Put(const QByteArray& bytes) {
        const QString dir = FBase + "/run-" + QString::number(++FCount);
        QDir().mkpath(dir);
        SetProgramDir(dir);
        QFile file(SettingsFileName());
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
            std::exit(1);
        }
    }

private:
    QString FBase;
    int FCount = 0;
};

QByteArray ReadFile(const QString& name) {
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The reads of the main window at start: the start settings and its own position.
void Start() {
    Settings() = TSettings{};
    ReadStartSettings();
    for (const char* key : {"Left", "Top", "Width", "Height"})
        ReadSetting("MainWindow", key, 0);
}

TExitState ExitState() {
    TExitState state;
    state.MainWindow = QRect(100, 80, 980, 720);
    state.GameInfo = {true, QRect(20, 30, 300, 400)};
    return state;
}

void Exit() {
    Settings().SaveMainWin = true; // the four window keys are written too
    if (!WriteSettingsAtExit(ExitState())) {
        std::fprintf(stderr, "the settings could not be written\n");
        std::exit(1);
    }
}

// Median milliseconds of `timed`, each run after `prepare` has put the file in place.
double MedianMs(int repetitions, const std::function<void()>& prepare, const std::function<void()>& timed) {
    using Clock = std::chrono::steady_clock;
    std::vector<double> ms;
    for (int rep = 0; rep < repetitions; ++rep) {
        prepare();
        const auto start = Clock::now();
        timed();
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    const QString base = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QDir::tempPath();
    QTemporaryDir temporary(base + "/settings_bench-XXXXXX");
    TRuns runs(temporary.path());

    const QByteArray bare = BulkSections();
    runs.Put(bare);
    Start();
    Exit();
    const QByteArray full = ReadFile(SettingsFileName());

    const auto putFull = [&] { runs.Put(full); };
    const auto startFromFull = [&] {
        runs.Put(full);
        Start();
    };
    const auto startFromBare = [&] {
        runs.Put(bare);
        Start();
    };
    const double startMs = MedianMs(repetitions, putFull, Start);
    const double exitStoredMs = MedianMs(repetitions, startFromFull, Exit);
    const double exitBareMs = MedianMs(repetitions, startFromBare, Exit);

    std::printf("settings file in %s, %lld bytes, %d repetitions\n", qPrintable(temporary.path()),
                static_cast<long long>(full.size()), repetitions);
    std::printf("%-44s %10s\n", "median ms", "");
    std::printf("%-44s %10.1f\n", "start (all reads of the main window)", startMs);
    std::printf("%-44s %10.1f\n", "exit, values already stored", exitStoredMs);
    std::printf("%-44s %10.1f\n", "exit, every key new (the whole file saved)", exitBareMs);
    const bool met = std::max({startMs, exitStoredMs, exitBareMs}) < GoalMs;
    std::printf("goal: each under %.0f ms: %s\n", GoalMs, met ? "met" : "NOT met");
    std::printf("start_ms=%.1f exit_stored_ms=%.1f exit_new_ms=%.1f\n", startMs, exitStoredMs, exitBareMs);
    return 0;
}
