// The slide of a move on a real (offscreen) board: Bf1-a6 at 58-pixel squares with the usual delay
// of 5 ms per pixel. Prints how long the slide takes, how much processor time the program used
// meanwhile, and how many times a 250 ms timer fired and the board was painted during it.
// Run with QT_QPA_PLATFORM=offscreen.

#include "ChessBrd.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <ctime>

namespace {

constexpr int SquareSize = 58;
constexpr int DelayMs = 5;
constexpr int RefreshMs = 250;

double ProcessCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1000.0 + double(t.tv_nsec) / 1e6;
}

struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    TChessBrd board;
    board.SetSizeOfSquare(SquareSize);
    board.SetAnimationDelay(DelayMs);
    board.show();
    std::string placement(64, ' ');
    placement[F1 - 1] = 'B';
    placement[E1 - 1] = 'K';
    placement[E8 - 1] = 'k';
    board.SetPosition(placement);
    PaintCounter counter;
    board.installEventFilter(&counter);
    int ticks = 0;
    QTimer refresh;
    QObject::connect(&refresh, &QTimer::timeout, [&] { ++ticks; });
    refresh.start(RefreshMs);

    const size_t steps = board.AnimationPath(F1, A6, 'B').size();
    const double cpuBefore = ProcessCpuMs();
    QElapsedTimer wall;
    wall.start();
    const bool made = board.MakeMove(F1, A6);
    const qint64 wallMs = wall.elapsed();
    const double cpuMs = ProcessCpuMs() - cpuBefore;

    std::printf("slide Bf1-a6 square=%d delay=%d steps=%zu made=%s\n", SquareSize, DelayMs, steps,
                made ? "yes" : "no");
    std::printf("wall_ms=%lld cpu_ms=%.0f cpu_share=%.0f%% refresh_ticks=%d paints=%d\n",
                static_cast<long long>(wallMs), cpuMs, wallMs > 0 ? 100.0 * cpuMs / double(wallMs) : 0.0, ticks,
                counter.paints);
    return made ? 0 : 1;
}
