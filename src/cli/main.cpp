// tessaron-engine: the engine from the command line, for checking its move generation against the
// published perft counts, for watching a search iteration by iteration, and for its benchmark.
//
//   tessaron-engine perft "<FEN>" <depth>
//   tessaron-engine search "<FEN>" <depth>
//   tessaron-engine bench [depth]

#include "EngineBench.h"
#include "EngineSearch.h"
#include "Fen.h"

#include <charconv>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace {

constexpr int ExitFailure = 1;
constexpr int ExitUsage = 2; // a malformed FEN, depth or command
constexpr int MaxPerftDepth = 12;

constexpr const char* UsageText = "usage: tessaron-engine perft \"<FEN>\" <depth 0..12>\n"
                                  "       tessaron-engine search \"<FEN>\" <depth 1..8>\n"
                                  "       tessaron-engine bench [depth 1..8]\n";

int Usage() {
    std::fputs(UsageText, stderr);
    return ExitUsage;
}

bool ReadDepth(std::string_view text, int lowest, int highest, int& depth) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), depth);
    if (error == std::errc() && end == text.data() + text.size() && depth >= lowest && depth <= highest)
        return true;
    std::fprintf(stderr, "tessaron-engine: depth must be a whole number from %d to %d, not \"%.*s\"\n",
                 lowest, highest, static_cast<int>(text.size()), text.data());
    return false;
}

bool ReadPosition(const char* fen, TPositionSnapshot& position) {
    std::string error;
    if (ParseFen(fen, position, error)) return true;
    std::fprintf(stderr, "tessaron-engine: malformed FEN \"%s\": %s\n", fen, error.c_str());
    return false;
}

// "E2-E4": what the board is handed to play.
std::string SquarePair(const TEngineMove& move) {
    return SquareName(move.From + 1) + "-" + SquareName(move.To + 1);
}

// "E2-E4", with the promotion piece's letter after a promotion ("A7-A8Q").
std::string MoveText(const TEngineMove& move) {
    constexpr std::string_view PromotionLetters = " NBRQ";
    std::string text = SquarePair(move);
    if (move.Bits & MovePromotion) text += PromotionLetters[move.Promote];
    return text;
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// One line per legal first move with the leaves below it, then the total on the last line.
int RunPerft(const TPositionSnapshot& position, int depth) {
    const auto board = std::make_unique<TEngineBoard>();
    board->Load(position);
    if (depth == 0) {
        std::printf("1\n");
        return 0;
    }
    board->Generate();
    std::uint64_t total = 0;
    for (int i = board->FirstMove(0); i < board->LastMove(0); ++i) {
        const TEngineMove move = board->Entry(i).Move;
        if (!board->EngineMakeMove(move)) continue;
        const std::optional<std::uint64_t> leaves = board->Perft(depth - 1);
        board->EngineTakeBack();
        if (!leaves) {
            std::fprintf(stderr, "tessaron-engine: the tree does not fit the engine's move tables\n");
            return ExitFailure;
        }
        std::printf("%s: %llu\n", MoveText(move).c_str(), static_cast<unsigned long long>(*leaves));
        total += *leaves;
    }
    std::printf("%llu\n", static_cast<unsigned long long>(total));
    return 0;
}

// One line per finished iteration, then the move the engine would play ("none" without a legal move).
int RunSearch(const TPositionSnapshot& position, int depth) {
    TEngineControl control;
    const auto engine = std::make_unique<TEngine>(control);
    const auto start = std::chrono::steady_clock::now();
    engine->OnIterationDone = [&](int finished) {
        std::printf("depth=%d nodes=%lld score=%d seconds=%.3f line=%s\n", finished,
                    static_cast<long long>(control.CalcNodes.load()), control.CalcScore.load(),
                    SecondsSince(start), control.CalcBestLine().c_str());
        std::fflush(stdout);
    };
    engine->Think(position, depth);
    const TEngineMove best = engine->PV(0, 0);
    std::printf("%s\n", best == TEngineMove{} ? "none" : SquarePair(best).c_str());
    return 0;
}

// perft and search: a FEN and a depth.
int RunOnPosition(std::string_view command, const char* fen, const char* depthText) {
    const bool perft = command == "perft";
    const int lowest = perft ? 0 : 1;
    const int highest = perft ? MaxPerftDepth : MaxSearchDepth;
    TPositionSnapshot position;
    int depth = 0;
    if (!ReadPosition(fen, position) || !ReadDepth(depthText, lowest, highest, depth)) return ExitUsage;
    return perft ? RunPerft(position, depth) : RunSearch(position, depth);
}

} // namespace

int main(int argc, char** argv) {
    const std::string_view command = argc > 1 ? argv[1] : "";
    if (command == "bench" && argc == 2) return RunBench();
    int depth = 0;
    if (command == "bench" && argc == 3)
        return ReadDepth(argv[2], 1, MaxSearchDepth, depth) ? RunBenchAtDepth(depth) : ExitUsage;
    const bool onPosition = command == "perft" || command == "search";
    if (onPosition && argc == 4) return RunOnPosition(command, argv[2], argv[3]);
    return Usage();
}
