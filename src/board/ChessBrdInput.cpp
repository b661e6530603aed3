// Move entry with the mouse (press, drag, drop, Escape), the sliding of moves, and the corner grip.
// A dragged or sliding piece floats above the backing image and is drawn by paintEvent.

#include "ChessBrd.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <cmath>

namespace {

constexpr int GripSize = 10;

int Sign(int value) { return (value > 0) - (value < 0); }

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

void TChessBrd::AnimateMove(Square from, Square to, int delay) {
    if (FFloating) return; // the piece is in the user's hand already
    FFloatingImage = PieceImage(PieceAt(from));
    FFloating = true;
    for (const QPoint& point : AnimationPath(from, to, PieceAt(from))) {
        QElapsedTimer tick;
        tick.start();
        MoveFloatingPiece(point);
        repaint(); // the slide shows while it runs: no events are handled meanwhile
        while (delay > 0 && tick.elapsed() <= delay) {
        }
    }
    EndFloatingPiece();
}

void TChessBrd::MoveFloatingPiece(const QPoint& topLeft) {
    const QSize size = FFloatingImage.deviceIndependentSize().toSize();
    const QRect old(FFloatingAt, size);
    FFloatingAt = topLeft;
    update(old.united(QRect(FFloatingAt, size)));
}

void TChessBrd::EndFloatingPiece() {
    if (!FFloating) return;
    FFloating = false;
    update(QRect(FFloatingAt, FFloatingImage.deviceIndependentSize().toSize()));
    unsetCursor();
    releaseKeyboard();
}

void TChessBrd::ShowMoveStart(Square oldSq, Square newSq) {
    DrawSquare(oldSq);
    DrawLines();
    const bool dropped = oldSq == FDragFrom && newSq == FDropSquare;
    if (FAnimateMoves && !dropped) AnimateMove(oldSq, newSq, FAnimationDelay);
}

// --- Dragging -------------------------------------------------------------------------------------

void TChessBrd::mousePressEvent(QMouseEvent* event) {
    QWidget::mousePressEvent(event);
    const QPoint at = event->position().toPoint();
    const Square sq = SquareFromPoint(at.x(), at.y());
    // A piece in the hand stays there; any other press forgets an older one, whose release may
    // never have come (a pop-up menu takes the release of a right-click).
    if (!FFloating) {
        FDragPending = sq != None && PieceAt(sq) != ' ';
        if (FDragPending) {
            FDragFrom = sq;
            FPressPosition = at;
        }
    }
    ResizeWithGrip(at, event->buttons());
}

void TChessBrd::mouseMoveEvent(QMouseEvent* event) {
    QWidget::mouseMoveEvent(event);
    const QPoint at = event->position().toPoint();
    if (FResizable) ResizeWithGrip(at, event->buttons());
    if (FResizing) return;
    const bool held = event->buttons() != Qt::NoButton; // a press whose release went elsewhere is no drag
    const bool farEnough = (at - FPressPosition).manhattanLength() >= QApplication::startDragDistance();
    if (FDragPending && !FFloating && held && farEnough) BeginDrag(at);
    if (FFloating && !FDragPending) return; // a slide, not a drag
    const int half = FSizeOfSquare >> 1;
    if (FFloating) MoveFloatingPiece(at - QPoint(half, half));
}

void TChessBrd::BeginDrag(const QPoint& position) {
    DrawSquare(FDragFrom);
    DrawLines();
    FFloatingImage = PieceImage(PieceAt(FDragFrom));
    FFloating = true;
    const int half = FSizeOfSquare >> 1;
    FFloatingAt = position - QPoint(half, half);
    setCursor(Qt::BlankCursor);
    grabKeyboard(); // Escape cancels the drag wherever the focus was
    update();
}

void TChessBrd::mouseReleaseEvent(QMouseEvent* event) {
    QWidget::mouseReleaseEvent(event);
    FResizing = false;
    const bool dragging = FDragPending && FFloating;
    FDragPending = false;
    if (dragging) DropAt(event->position().toPoint());
}

void TChessBrd::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && FDragPending && FFloating) {
        FDragPending = false;
        CancelDrag();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TChessBrd::DropAt(const QPoint& position) {
    const Square target = SquareFromPoint(position.x(), position.y());
    const bool accepted =
        target != None && !Thinking() && (target == FDragFrom || IsLegalMove(FDragFrom, target));
    if (!accepted) return CancelDrag();
    EndFloatingPiece();
    FDropSquare = target;
    if (target == FDragFrom) return DrawPiece(FDragFrom, PieceAt(FDragFrom));
    const bool made = PlayMove(FDragFrom, target);
    FDropSquare = None;
    // Refused after all (a promotion dialog still open, the game line full): the piece goes back.
    if (!made) CancelDrag();
}

void TChessBrd::CancelDrag() {
    EndFloatingPiece();
    DrawPiece(FDragFrom, PieceAt(FDragFrom));
    if (OnIllegalMove) OnIllegalMove(*this, FDragFrom);
}

// --- Corner grip ------------------------------------------------------------------------------------

void TChessBrd::ResizeWithGrip(const QPoint& position, Qt::MouseButtons buttons) {
    if (!FResizable || FFloating) return;
    const bool inGrip = position.x() >= width() - GripSize && position.x() <= width() &&
                        position.y() >= height() - GripSize && position.y() <= height();
    if (inGrip) {
        setCursor(Qt::SizeFDiagCursor);
        if (buttons & Qt::LeftButton) FResizing = true;
    } else if (!FResizing) {
        unsetCursor();
    }
    if (!FResizing) return;
    // The grip sizes the squares; the board's width follows from them.
    const int size = std::clamp(std::max(position.x(), position.y()), FResizeMinSize, FResizeMaxSize);
    if (size != width()) SetSizeOfSquare((size - 2 * FSizeOfBorder) / 8);
}
