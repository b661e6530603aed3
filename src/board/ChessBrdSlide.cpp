// The slide of a moved piece from its square to its target. The piece steps along its path on a
// timer inside a local event loop, so the window goes on painting and answering meanwhile, while
// the move itself is completed (and its events raised) only once the piece has arrived.

#include "ChessBrd.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <cmath>

namespace {

int Sign(int value) {
    return (value > 0) - (value < 0);
}

// One coordinate runs pixel by pixel, the other follows by the slope, truncated.
std::vector<QPoint> StraightPath(QPoint from, QPoint to) {
    std::vector<QPoint> path;
    const int dx = to.x() - from.x();
    const int dy = to.y() - from.y();
    if (dx == 0 && dy == 0) return path;
    const bool alongX = std::abs(dy) <= std::abs(dx);
    const int steps = alongX ? std::abs(dx) : std::abs(dy);
    const double slope = alongX ? double(dy) / std::abs(dx) : double(dx) / std::abs(dy);
    double follower = alongX ? from.y() : from.x();
    for (int i = 0; i <= steps; ++i) {
        const int leader = (alongX ? from.x() + i * Sign(dx) : from.y() + i * Sign(dy));
        const int other = static_cast<int>(follower);
        path.push_back(alongX ? QPoint(leader, other) : QPoint(other, leader));
        follower += slope;
    }
    return path;
}

} // namespace

// What a running slide needs to be ended early from outside: a new position, or the board going away.
struct TSlide {
    QEventLoop Loop;
    QTimer Step;
};

std::vector<QPoint> TChessBrd::AnimationPath(Square from, Square to, char piece) const {
    const QPoint p1 = SquareOrigin(from);
    const QPoint p2 = SquareOrigin(to);
    if (piece != 'n' && piece != 'N') return StraightPath(p1, p2);
    // A knight slides along the rank first, then along the file.
    const QPoint corner(p2.x(), p1.y());
    std::vector<QPoint> path = StraightPath(p1, corner);
    if (path.empty()) path.push_back(p1);
    std::vector<QPoint> second = StraightPath(corner, p2);
    if (!second.empty()) path.insert(path.end(), second.begin() + 1, second.end());
    return path;
}

void TChessBrd::ShowMoveStart(Square oldSq, Square newSq) {
    DrawSquare(oldSq);
    DrawLines();
    const bool dropped = oldSq == FDragFrom && newSq == FDropSquare;
    if (FAnimateMoves && !dropped) AnimateMove(oldSq, newSq, FAnimationDelay);
}

// Every point is shown for more than `delay` milliseconds, counted from the moment its step
// begins, as a wait on the tick count would have it; with no delay the piece moves as fast as it
// is drawn. Between the steps the event loop handles whatever has come in.
void TChessBrd::AnimateMove(Square from, Square to, int delay) {
    if (FFloating) return; // the piece is in the user's hand already
    const std::vector<QPoint> path = AnimationPath(from, to, PieceAt(from));
    if (path.empty()) return;
    FFloatingImage = PieceImage(PieceAt(from));
    FFloating = true;

    TSlide slide;
    slide.Step.setSingleShot(true);
    slide.Step.setTimerType(Qt::PreciseTimer);
    size_t next = 0;
    connect(&slide.Step, &QTimer::timeout, this, [&] {
        if (next == path.size()) return PieceArrived(from);
        QElapsedTimer step;
        step.start();
        MoveFloatingPiece(path[next++]);
        repaint();
        const qint64 rest = delay > 0 ? delay + 1 - step.elapsed() : 0;
        slide.Step.start(static_cast<int>(std::max<qint64>(0, rest)));
    });
    FSlide = &slide;
    slide.Step.start(0);
    // Returns once the piece has arrived or the slide was stopped, and no sooner than every dialog
    // opened meanwhile has been closed; by then the board itself may be gone.
    slide.Loop.exec();
}

// The move lands from the slide's last step, not after its loop has returned, which a dialog opened
// during the slide would put off until it is closed.
void TChessBrd::PieceArrived(Square from) {
    StopSlide();
    // A whole-board drawing while the piece slid (the board's first showing, new settings) has put
    // the piece back on its from-square.
    DrawSquare(from);
    DrawLines();
    LandMove();
}

void TChessBrd::StopSlide() {
    if (!FSlide) return;
    FSlide->Step.stop();
    FSlide->Loop.quit();
    FSlide = nullptr;
    EndFloatingPiece();
}
