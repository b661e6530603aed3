#include "ChessBrd.h"

#include "ChessThread.h"
#include "EngineSearch.h"

#include <QMetaObject>
#include <QtMath>
#include <QPointer>
#include <algorithm>

namespace {

constexpr int MinSearchDepth = 1;
constexpr int CustomEnginePollMs = 500;
constexpr auto BuiltInPieceSet = ":/pieces/SETCLASSIC40.bmp";
constexpr int ScreenDotsPerMeter = 3780; // 96 dots per inch: coordinate fonts keep their usual size

// Engine piece codes of a promotion, as the letters the board places.
char PromotionLetter(std::uint8_t enginePiece) {
    constexpr char Letters[] = "pnbrqk";
    return enginePiece >= 1 && enginePiece <= 4 ? Letters[enginePiece] : '\0';
}

} // namespace

TChessBrd::TChessBrd(QWidget* parent)
    : QWidget(parent), FLineStyle(Qt::black, 1), FCoordFont("Arial"), FCoordFontColor(Qt::white),
      FSquareColorLight(0xC0, 0xC0, 0xC0), FSquareColorDark(0x80, 0x80, 0x80), FBorderColor(Qt::black),
      FBuiltInPieceSet(BuiltInPieceSet) {
    FCoordFont.setPointSize(7);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);
    BuildPieceImages();
    ApplyControlSize();
    NewGame();
    FThread = std::make_unique<TChessThread>(
        this, [this](int generation, const TEngineMove& move, bool aborted) { SearchFinished(generation, move, aborted); });
    FTimer.setInterval(CustomEnginePollMs);
    connect(&FTimer, &QTimer::timeout, this, &TChessBrd::PollCustomEngine);
}

// A slide under way ends, so that its event loop returns to a caller that finds the board gone.
// The thread goes next: it may be searching, and it must not post to a board that is half gone.
TChessBrd::~TChessBrd() {
    StopSlide();
    FThread.reset();
}

// --- Appearance setters -----------------------------------------------------------------------------

void TChessBrd::SetSizeOfSquare(int value) {
    FSizeOfSquare = std::clamp(value, 1, MaxSquareSize);
    ApplyControlSize();
    Paint();
}

void TChessBrd::SetSizeOfBorder(int value) {
    FSizeOfBorder = std::clamp(value, 0, MaxBorderSize);
    ApplyControlSize();
    Paint();
}

void TChessBrd::SetWhiteOnTop(bool value) { StoreAndPaint(FWhiteOnTop, value); }
void TChessBrd::SetBoardLines(bool value) { StoreAndPaint(FBoardLines, value); }
void TChessBrd::SetLineStyle(const QPen& value) { StoreAndPaint(FLineStyle, value); }
void TChessBrd::SetDisplayCoords(CoordSet value) { StoreAndPaint(FDisplayCoords, value); }

void TChessBrd::SetCoordFont(const QFont& font, const QColor& color) {
    FCoordFont = font;
    FCoordFontColor = color;
    Paint();
}

void TChessBrd::SetSquareColorLight(const QColor& value) { StoreAndPaint(FSquareColorLight, value); }
void TChessBrd::SetSquareColorDark(const QColor& value) { StoreAndPaint(FSquareColorDark, value); }
void TChessBrd::SetBorderColor(const QColor& value) { StoreAndPaint(FBorderColor, value); }
void TChessBrd::SetSquareLight(const QImage& value) { StoreAndPaint(FSquareLight, value); }
void TChessBrd::SetSquareDark(const QImage& value) { StoreAndPaint(FSquareDark, value); }
void TChessBrd::SetBorderBitmap(const QImage& value) { StoreAndPaint(FBorderBitmap, value); }

void TChessBrd::LoadTextures(const QImage* border, const QImage* light, const QImage* dark) {
    if (border) FBorderBitmap = *border;
    if (light) FSquareLight = *light;
    if (dark) FSquareDark = *dark;
}

bool TChessBrd::IsValidPieceSet(const QImage& set) {
    return set.width() >= 1 && set.height() >= 1 && 2 * set.width() == 3 * set.height();
}

void TChessBrd::SetCustomPieceSet(const QImage& value) {
    if (!value.isNull() && !IsValidPieceSet(value)) return;
    FCustomPieceSet = value;
    BuildPieceImages();
    Paint();
}

// The grip's cursor must follow the pointer before any button is pressed.
void TChessBrd::SetResizable(bool value) {
    FResizable = value;
    setMouseTracking(value);
}

void TChessBrd::SetResizeMinSize(int value) { FResizeMinSize = value >= FResizeMaxSize ? FResizeMaxSize : value; }

void TChessBrd::SetResizeMaxSize(int value) { FResizeMaxSize = value <= FResizeMinSize ? FResizeMinSize : value; }

// The backing image has the screen's own pixels (twice as many each way on a screen scaled by 2),
// and the pieces are made again whenever the size they are drawn at changes.
void TChessBrd::ApplyControlSize() {
    const int width = BoardWidth();
    setFixedSize(width, width);
    const qreal ratio = devicePixelRatioF();
    const int device = qCeil(width * ratio);
    if (FBacking.size() != QSize(device, device) || FBacking.devicePixelRatio() != ratio) {
        FBacking = QImage(device, device, QImage::Format_RGB32);
        FBacking.setDevicePixelRatio(ratio);
        FBacking.setDotsPerMeterX(ScreenDotsPerMeter);
        FBacking.setDotsPerMeterY(ScreenDotsPerMeter);
        FBacking.fill(FBorderColor);
    }
    if (WishedPieceSize() != FDrawnPieceSize || FPieceRatio != ratio) BuildPieceImages();
}

int TChessBrd::WishedPieceSize() const {
    const int grown = static_cast<int>(qint64{FPieceSize} * FSizeOfSquare / DefaultSquareSize);
    return std::max(FPieceSize, std::min(FSizeOfSquare, grown));
}

// --- Engine control -----------------------------------------------------------------------------------

void TChessBrd::SetComputerPlaysWhite(bool value) {
    StopThinking();
    FComputerPlaysWhite = value;
}

void TChessBrd::SetComputerPlaysBlack(bool value) {
    StopThinking();
    FComputerPlaysBlack = value;
}

void TChessBrd::SetSearchDepth(int value) { FSearchDepth = std::clamp(value, MinSearchDepth, MaxSearchDepth); }

void TChessBrd::SetThinkingPriority(TThreadPriority value) {
    FThinkingPriority = value;
    FThread->SetPriority(value);
}

bool TChessBrd::Thinking() const { return FThinking; }

bool TChessBrd::ComputerToMove() const {
    return (FComputerPlaysWhite && WhiteToMove()) || (FComputerPlaysBlack && !WhiteToMove());
}

// Also after a finished game: stepping back keeps its game-over flag, and the engine may think again.
void TChessBrd::StopEngineSearch() {
    if (FCustomEngine) return;
    FEngineStopped = true;
    if (!FThinking) return;
    FThread->Abort();
    FThinking = false;
    ++FSearchGeneration; // a move of the stopped search that is already on its way is dropped
}

// A move ended the game: whatever the engine was doing is of no use any more.
void TChessBrd::AbortEngineSearch() {
    FEngineStopped = true;
    FThread->Abort();
    FThinking = false;
    ++FSearchGeneration;
}

void TChessBrd::StartEngine() {
    if (FCustomEngine) {
        if (ComputerToMove() && OnCalculateMove && !StopRequested()) AskCustomEngine();
        return;
    }
    FEngineStopped = false;
    // A move under way (sliding, or raising its events) has not finished changing the position: the
    // engine takes up the turn once the move is made.
    if (MoveInProgress()) return;
    // With no legal move there is nothing to search; the game's end has been reported already.
    if (FThinking || !ComputerToMove() || !HasLegalMove()) return;
    FThinking = true;
    FSearchedPosition = TChessRules::Snapshot();
    FThread->Search(FSearchedPosition, FSearchDepth, ++FSearchGeneration, FThinkingPriority);
}

void TChessBrd::SearchFinished(int generation, const TEngineMove& move, bool aborted) {
    if (generation != FSearchGeneration) return; // stopped, or overtaken by a newer search
    FThinking = false;
    if (aborted || FEngineStopped) return;
    // Another move is still under way; once it is made, the engine searches the position it leaves.
    if (MoveInProgress()) return;
    const QPointer<TChessBrd> alive(this);
    const bool made = MakeMove(move.From + 1, move.To + 1, PromotionLetter(move.Promote));
    // The board went away during the slide, or the engine was stopped or given a new search meanwhile.
    if (!alive || generation != FSearchGeneration) return;
    // A move refused on the position it was searched for would only be found again; on a position
    // that has changed since, the engine searches anew.
    if (!made && Snapshot() == FSearchedPosition) FEngineStopped = true;
    ThinkingDone();
}

void TChessBrd::ThinkingDone() {
    if (!FEngineStopped) StartEngine();
}

// Every accepted move may hand the turn to the computer; the engine, when it is not stopped, takes
// it up once the move's events are all handled.
void TChessBrd::MoveMade() {
    if (FCustomEngine || FEngineStopped || FThinking || !ComputerToMove()) return;
    QMetaObject::invokeMethod(this, [this] { ThinkingDone(); }, Qt::QueuedConnection);
}

void TChessBrd::AskCustomEngine() {
    Square oldSq = None;
    Square newSq = None;
    OnCalculateMove(*this, oldSq, newSq);
    if (StopRequested()) return;
    const QPointer<TChessBrd> alive(this);
    const bool made = MakeMove(oldSq, newSq);
    if (alive && !made && OnCalculationFailed) OnCalculationFailed(*this, oldSq, newSq);
}

void TChessBrd::PollCustomEngine() {
    if (!StopRequested() && FCustomEngine && ComputerToMove()) StartEngine();
}
