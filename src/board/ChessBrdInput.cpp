// Move entry with the mouse (press, drag, drop, Escape) and the corner grip. A dragged or sliding
// piece floats above the backing image and is drawn by paintEvent.

#include "ChessBrd.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

namespace {

constexpr int GripSize = 10;

} // namespace

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

// --- Dragging -------------------------------------------------------------------------------------

void TChessBrd::mousePressEvent(QMouseEvent* event) {
    QWidget::mousePressEvent(event);
    if (MoveInProgress()) return; // no new move before the last one has landed
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
