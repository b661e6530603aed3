// Reading a large PGN file: 10,000 random legal games of 80 to 200 half-moves are written to one
// file and read back. Prints games per second for reading (tags and moves), for replaying every
// game's moves, and the time the list of games takes to fill. Run offscreen:
//   QT_QPA_PLATFORM=offscreen build/bench/pgn_bench [games]

#include "Pgn.h"
#include "UnitFormPgnGames.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTableWidget>
#include <QTemporaryDir>
#include <cstdio>
#include <random>

namespace {

constexpr int DefaultGames = 10000;
constexpr int ShortestGame = 80;
constexpr int LongestGame = 200;
constexpr unsigned Seed = 1206;

std::string RandomGame(std::mt19937& random, TSanBoard& board, int number) {
    TPgnLine line{InitialFenPosition(), {}};
    board.SetPosition(line.Start.Snapshot);
    const int length = ShortestGame + static_cast<int>(random() % (LongestGame - ShortestGame + 1));
    for (int i = 0; i < length && !board.LegalMoves().empty(); ++i) {
        const TChessMove move = board.LegalMoves()[random() % board.LegalMoves().size()];
        line.Moves.push_back(move);
        board.Play(move);
    }
    const std::vector<TPgnTag> tags = {{"Event", "Bench"},
                                       {"Site", "?"},
                                       {"Date", "2026.12.06"},
                                       {"Round", std::to_string(number)},
                                       {"White", "Random " + std::to_string(number)},
                                       {"Black", "Mover"},
                                       {"Result", "*"}};
    return WritePgn(tags, line, "*", {}, board);
}

double PerSecond(int count, qint64 nanoseconds) {
    return count * 1e9 / static_cast<double>(std::max<qint64>(nanoseconds, 1));
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : DefaultGames;
    std::mt19937 random(Seed);
    TSanBoard board;
    std::string text;
    for (int i = 1; i <= count; ++i)
        text += RandomGame(random, board, i);
    QTemporaryDir dir;
    const QString path = dir.filePath("bench.pgn");
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(text.data(), static_cast<qint64>(text.size())) < 0)
        return 1;
    out.close();

    QElapsedTimer timer;
    timer.start();
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly)) return 1;
    const std::vector<TPgnGame> games = ReadPgn(in.readAll().toStdString());
    const qint64 readNs = timer.nsecsElapsed();

    timer.restart();
    int replayed = 0;
    for (const TPgnGame& game : games) {
        TPgnLine line;
        TPgnProblem problem;
        replayed += ReplayPgnGame(game, board, line, problem);
    }
    const qint64 replayNs = timer.nsecsElapsed();

    timer.restart();
    TFormPgnGames list;
    list.ShowGames(games);
    const qint64 listNs = timer.nsecsElapsed();

    std::printf("file: %d games, %.1f MB\n", static_cast<int>(games.size()), text.size() / 1e6);
    std::printf("read (tags and moves): %.0f ms, %.0f games/s\n", readNs / 1e6, PerSecond(count, readNs));
    std::printf("replay of every game: %.0f ms, %.0f games/s (%d replayed)\n", replayNs / 1e6,
                PerSecond(count, replayNs), replayed);
    std::printf("read and replay together: %.0f ms (goal: under 2000 ms)\n", (readNs + replayNs) / 1e6);
    std::printf("list of games filled: %.0f ms (%d rows)\n", listNs / 1e6, list.TableGames->rowCount());
    return games.size() == static_cast<size_t>(count) && replayed == count ? 0 : 1;
}
