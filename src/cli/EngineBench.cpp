#include "EngineBench.h"

#include "EngineOracle.h"
#include "EngineSearch.h"
#include "Fen.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

// One position of the suite and the depth the comparison searches it to.
struct TBenchPosition {
    const char* Name;
    const char* Fen;
    int Depth;
};

// Openings, middlegames with castling and en passant, promotions and endgames; the depths keep the
// reference transcription's share of the run to some ten seconds on a small machine.
constexpr TBenchPosition Suite[] = {
    {"start", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 6},
    {"sicilian", "r1bqkbnr/pp1ppppp/2n5/2p5/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3", 6},
    {"queens-gambit", "rnbqkb1r/ppp2ppp/4pn2/3p4/2PP4/2N5/PP2PPPP/R1BQKBNR w KQkq - 2 4", 6},
    {"italian", "r1bqk2r/pppp1ppp/2n2n2/2b1p3/2B1P3/2N2N2/PPPP1PPP/R1BQK2R w KQkq - 4 5", 5},
    {"kiwipete", "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", 5},
    {"promotions", "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1", 5},
    {"middlegame", "r2q1rk1/pp2bppp/2n1pn2/3p4/3P4/2NBPN2/PP3PPP/R2Q1RK1 w - - 0 10", 5},
    {"rook-ending", "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", 7},
    {"pawn-ending", "8/5k2/3p4/1p1Pp2p/pP2Pp1P/P4P1K/8/8 b - - 0 1", 9},
};

// What a search leaves behind that both engines must agree on.
struct TSearchResult {
    std::int64_t Nodes = 0;
    int Score = 0;
    std::vector<int> Line; // PV row 0, each move packed From, To, Promote, Bits
    double Seconds = 0;

    bool SameAs(const TSearchResult& other) const {
        return Nodes == other.Nodes && Score == other.Score && Line == other.Line;
    }
};

using Clock = std::chrono::steady_clock;

// Other work on the machine only ever adds time, so each search of the comparison is timed this
// often, alternating between the engines, and the fastest run counts.
constexpr int TimedRuns = 3;

int Pack(int from, int to, int promote, int bits) { return ((from * 64 + to) * 8 + promote) * 64 + bits; }

TPositionSnapshot Position(const TBenchPosition& entry) {
    TPositionSnapshot position;
    std::string error;
    ParseFen(entry.Fen, position, error); // the suite's own FENs are well-formed
    return position;
}

TSearchResult SearchWithEngine(const TPositionSnapshot& position, int depth) {
    TEngineControl control;
    const auto engine = std::make_unique<TEngine>(control);
    const auto start = Clock::now();
    engine->Think(position, depth);
    TSearchResult result;
    result.Seconds = std::chrono::duration<double>(Clock::now() - start).count();
    result.Nodes = engine->Nodes();
    result.Score = control.CalcScore.load();
    for (int j = 0; j < EngineMaxPly; ++j) {
        const TEngineMove& m = engine->PV(0, j);
        result.Line.push_back(Pack(m.From, m.To, m.Promote, m.Bits));
    }
    return result;
}

TSearchResult SearchWithOracle(const TPositionSnapshot& position, int depth) {
    const auto engine = std::make_unique<oracle::Engine>();
    const auto start = Clock::now();
    engine->Think(position.Position, position.WhiteToMove, position.CastlingAllowed, position.EnPassant,
                  depth);
    TSearchResult result;
    result.Seconds = std::chrono::duration<double>(Clock::now() - start).count();
    result.Nodes = engine->Nodes;
    result.Score = engine->CalcScore;
    for (int j = 0; j < EngineMaxPly; ++j) {
        const oracle::EngineMove& m = engine->PV[0][j];
        result.Line.push_back(Pack(m.From, m.To, m.Promote, m.Bits));
    }
    return result;
}

// Totals of one engine over the suite.
struct TTotals {
    std::int64_t Nodes = 0;
    double Seconds = 0;

    void Add(const TSearchResult& r) {
        Nodes += r.Nodes;
        Seconds += r.Seconds;
    }
    double NodesPerSecond() const { return Seconds > 0 ? static_cast<double>(Nodes) / Seconds : 0; }
};

void PrintTotals(const char* engine, const TTotals& totals) {
    std::printf("%-7s nodes=%lld seconds=%.3f nps=%.0f\n", engine, static_cast<long long>(totals.Nodes),
                totals.Seconds, totals.NodesPerSecond());
}

} // namespace

int RunBench() {
    TTotals product;
    TTotals reference;
    bool equal = true;
    std::printf("%-14s %5s %12s %10s %10s %s\n", "position", "depth", "nodes", "engine_s", "oracle_s",
                "same");
    for (const TBenchPosition& entry : Suite) {
        const TPositionSnapshot position = Position(entry);
        TSearchResult mine = SearchWithEngine(position, entry.Depth);
        TSearchResult theirs = SearchWithOracle(position, entry.Depth);
        for (int run = 1; run < TimedRuns; ++run) {
            mine.Seconds = std::min(mine.Seconds, SearchWithEngine(position, entry.Depth).Seconds);
            theirs.Seconds = std::min(theirs.Seconds, SearchWithOracle(position, entry.Depth).Seconds);
        }
        product.Add(mine);
        reference.Add(theirs);
        const bool same = mine.SameAs(theirs);
        equal = equal && same;
        std::printf("%-14s %5d %12lld %10.3f %10.3f %s\n", entry.Name, entry.Depth,
                    static_cast<long long>(mine.Nodes), mine.Seconds, theirs.Seconds, same ? "yes" : "NO");
    }
    PrintTotals("engine", product);
    PrintTotals("oracle", reference);
    const double ratio =
        reference.NodesPerSecond() > 0 ? product.NodesPerSecond() / reference.NodesPerSecond() : 0;
    std::printf("nps=%.0f oracle_nps=%.0f ratio=%.2f nodes_equal=%s\n", product.NodesPerSecond(),
                reference.NodesPerSecond(), ratio, equal ? "yes" : "no");
    return equal ? 0 : 1;
}

int RunBenchAtDepth(int depth) {
    TTotals totals;
    std::printf("%-14s %5s %14s %10s\n", "position", "depth", "nodes", "seconds");
    for (const TBenchPosition& entry : Suite) {
        const TSearchResult result = SearchWithEngine(Position(entry), depth);
        totals.Add(result);
        std::printf("%-14s %5d %14lld %10.3f\n", entry.Name, depth, static_cast<long long>(result.Nodes),
                    result.Seconds);
        std::fflush(stdout);
    }
    std::printf("depth=%d nodes=%lld seconds=%.3f nps=%.0f\n", depth, static_cast<long long>(totals.Nodes),
                totals.Seconds, totals.NodesPerSecond());
    return 0;
}
