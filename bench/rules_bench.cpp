// Times MakeMove early and late in one long, fixed game, for the rules and for the plain reference
// transcription side by side. Late in a game every legality test used to walk the whole history,
// so the figure that matters is how little the late moves cost compared with the early ones.
//
// Run: build/bin/rules_bench [repetitions]

#include "ChessRules.h"
#include "RulesOracle.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <utility>
#include <vector>

namespace {

using Move = std::pair<int, int>;
constexpr int LineLength = 440;  // half-moves; the history allows 511
constexpr int WindowLength = 20; // moves timed at each end of the line
constexpr unsigned Seed = 20261206;

std::vector<Move> LegalMoves(const TChessRules& rules) {
    std::vector<Move> moves;
    for (int from = 1; from <= 64; ++from)
        for (int to = 1; to <= 64; ++to)
            if (rules.IsLegalMove(from, to)) moves.emplace_back(from, to);
    return moves;
}

// A seeded random line that never ends the game: a move that would end it is taken back and
// another one tried, so both ends of the line are ordinary positions.
std::vector<Move> MakeLine() {
    std::mt19937 random(Seed);
    TChessRules rules;
    std::vector<Move> line;
    while (static_cast<int>(line.size()) < LineLength) {
        std::vector<Move> moves = LegalMoves(rules);
        std::shuffle(moves.begin(), moves.end(), random);
        const int moveNo = rules.CurrentMove();
        const bool white = rules.WhiteToMove();
        bool played = false;
        for (const Move& m : moves) {
            rules.MakeMove(m.first, m.second);
            if (!rules.GameOver() && rules.HasLegalMove()) {
                line.push_back(m);
                played = true;
                break;
            }
            rules.GotoMove(moveNo, white);
        }
        if (!played) {
            std::fprintf(stderr, "the fixed line ran into a dead end after %zu half-moves\n", line.size());
            std::exit(1);
        }
    }
    return line;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Timings {
    double early = 0;
    double late = 0;
};

// Plays the line `repetitions` times on fresh boards and returns the median microseconds of one
// MakeMove over the first and over the last WindowLength moves.
template <typename Board>
Timings TimeLine(const std::vector<Move>& line, int repetitions) {
    using Clock = std::chrono::steady_clock;
    std::vector<double> early, late;
    for (int rep = 0; rep < repetitions; ++rep) {
        auto board = std::make_unique<Board>();
        for (size_t i = 0; i < line.size(); ++i) {
            const auto start = Clock::now();
            const bool made = board->MakeMove(line[i].first, line[i].second);
            const double us = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
            if (!made) {
                std::fprintf(stderr, "move %zu of the line was refused\n", i + 1);
                std::exit(1);
            }
            if (i < WindowLength) early.push_back(us);
            if (i >= line.size() - WindowLength) late.push_back(us);
        }
    }
    return {Median(early), Median(late)};
}

} // namespace

int main(int argc, char** argv) {
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 31;
    const std::vector<Move> line = MakeLine();
    const Timings rules = TimeLine<TChessRules>(line, repetitions);
    const Timings oracle = TimeLine<oracle::Rules>(line, std::max(1, repetitions / 6));

    std::printf("line: %zu half-moves, seed %u, %d repetitions\n", line.size(), Seed, repetitions);
    std::printf("%-22s %12s %12s\n", "median us per MakeMove", "rules", "reference");
    std::printf("%-22s %12.2f %12.2f\n", "moves 1-20", rules.early, oracle.early);
    std::printf("%-22s %12.2f %12.2f\n", "last 20 moves", rules.late, oracle.late);
    std::printf("late/early: rules %.2f, reference %.2f\n", rules.late / rules.early, oracle.late / oracle.early);
    std::printf("early_us=%.2f late_us=%.2f oracle_early_us=%.2f oracle_late_us=%.2f\n", rules.early, rules.late,
                oracle.early, oracle.late);
    return 0;
}
