#pragma once
// The board component: the one reusable chess-board control. It draws the position into a backing
// image, lets a person drag pieces, slides moves, and owns the rules and one engine thread, so the
// main window, the set-position editor and the tutorial each just place one and listen to its events.

#include "ChessRules.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPen>
#include <QPixmap>
#include <QPoint>
#include <QTimer>
#include <QWidget>
#include <array>
#include <memory>
#include <vector>

class TChessThread;
struct TEngineMove;
struct TGameRecord;

// On which sides of the board the coordinates are written; one bit each, as stored.
enum DisplayCoords : std::uint8_t { West = 1, North = 2, East = 4, South = 8 };
using CoordSet = std::uint8_t;

// Asks the program for the computer's move when it brings its own engine.
using TThinkEvent = std::function<void(TChessRules& Sender, Square& oldsq, Square& newsq)>;

class TChessBrd : public QWidget, public TChessRules {
    Q_OBJECT
public:
    static constexpr int DefaultSquareSize = 40;
    static constexpr int DefaultBorderSize = 24;
    // Bounds of the board's own size, whatever a caller or a settings file asks for: the largest
    // screens in use still fit the board, and its backing image stays well within memory.
    static constexpr int MaxSquareSize = 256;
    static constexpr int MaxBorderSize = 100;

    explicit TChessBrd(QWidget* parent = nullptr);
    ~TChessBrd() override;

    // --- Appearance ---------------------------------------------------------------------------------
    int SizeOfSquare() const { return FSizeOfSquare; }
    void SetSizeOfSquare(int value);
    int SizeOfBorder() const { return FSizeOfBorder; }
    void SetSizeOfBorder(int value);
    int PieceSize() const { return FPieceSize; }
    // The edge at which the pieces are drawn: the set's cell, grown with squares larger than the
    // default in proportion, up to the square (a set larger than the squares keeps its size).
    int DrawnPieceSize() const { return FDrawnPieceSize; }
    bool WhiteOnTop() const { return FWhiteOnTop; }
    void SetWhiteOnTop(bool value);
    bool BoardLines() const { return FBoardLines; }
    void SetBoardLines(bool value);
    QPen LineStyle() const { return FLineStyle; }
    void SetLineStyle(const QPen& value);
    CoordSet DisplayCoordinates() const { return FDisplayCoords; }
    void SetDisplayCoords(CoordSet value);
    QFont CoordFont() const { return FCoordFont; }
    QColor CoordFontColor() const { return FCoordFontColor; }
    void SetCoordFont(const QFont& font, const QColor& color);
    QColor SquareColorLight() const { return FSquareColorLight; }
    void SetSquareColorLight(const QColor& value);
    QColor SquareColorDark() const { return FSquareColorDark; }
    void SetSquareColorDark(const QColor& value);
    QColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(const QColor& value);
    const QImage& SquareLight() const { return FSquareLight; }
    void SetSquareLight(const QImage& value);
    const QImage& SquareDark() const { return FSquareDark; }
    void SetSquareDark(const QImage& value);
    const QImage& BorderBitmap() const { return FBorderBitmap; }
    void SetBorderBitmap(const QImage& value);
    // Textures set without the repaint that the setters do, for a caller that repaints once at the end.
    void LoadTextures(const QImage* border, const QImage* light, const QImage* dark);
    const QImage& CustomPieceSet() const { return FCustomPieceSet; }
    void SetCustomPieceSet(const QImage& value);
    static bool IsValidPieceSet(const QImage& set);

    // --- Behaviour ----------------------------------------------------------------------------------
    bool AnimateMoves() const { return FAnimateMoves; }
    void SetAnimateMoves(bool value) { FAnimateMoves = value; }
    int AnimationDelay() const { return FAnimationDelay; }
    void SetAnimationDelay(int value) { FAnimationDelay = value; }
    bool Resizable() const { return FResizable; }
    void SetResizable(bool value);
    int ResizeMinSize() const { return FResizeMinSize; }
    void SetResizeMinSize(int value);
    int ResizeMaxSize() const { return FResizeMaxSize; }
    void SetResizeMaxSize(int value);
    bool BoardShown() const { return FBoardShown; }
    QString Version() const { return {}; }

    // --- Engine control ------------------------------------------------------------------------------
    bool ComputerPlaysWhite() const { return FComputerPlaysWhite; }
    void SetComputerPlaysWhite(bool value);
    bool ComputerPlaysBlack() const { return FComputerPlaysBlack; }
    void SetComputerPlaysBlack(bool value);
    int SearchDepth() const { return FSearchDepth; }
    void SetSearchDepth(int value);
    TThreadPriority ThinkingPriority() const { return FThinkingPriority; }
    void SetThinkingPriority(TThreadPriority value);
    bool CustomEngine() const { return FCustomEngine; }
    void SetCustomEngine(bool value) { FCustomEngine = value; }
    bool Thinking() const;
    bool ComputerToMove() const;
    // The engine's search tables and display values, for the calculation display and the logbook.
    TChessThread* Engine() const { return FThread.get(); }

    void StartEngine() override;

    TThinkEvent OnCalculateMove;
    TMoveEvent OnCalculationFailed;

    // --- Game files -----------------------------------------------------------------------------------
    // Writes a copy of `Data`, its board part filled from this board, as the file's single record. A
    // failed write keeps the old file and returns false with the reason in `error`.
    bool SaveGame(const QString& FileName, const TGameRecord& Data, QString* error = nullptr);
    // Reads and checks the file's record; only a record that passes is applied to the board and handed
    // back in `Data` (the players and the game data are the caller's). False leaves the board and `Data`
    // as they were; `error` then holds the system's reason when the file could not be read.
    bool LoadGame(const QString& FileName, TGameRecord& Data, QString* error = nullptr);

    // --- Drawing ---------------------------------------------------------------------------------------
    void Paint();
    void DrawBorder();
    void DrawSquares();
    void DrawPieces();
    void DrawSquare(int sq);
    void DrawPiece(int sq, char letter);
    void DrawLines();
    void RedrawChangedSquares(std::string_view oldPosition) override;
    void BuildPieceImages();
    int PieceImageIndex(char letter) const;
    // The image of a piece letter; empty for anything else or when no piece set could be loaded.
    QPixmap PieceImage(char letter) const;
    // The same from the built-in set, for windows that show pieces without a board.
    static QPixmap BuiltInPieceImage(char letter);
    Square SquareFromPoint(int x, int y) const;
    QPoint SquareOrigin(int sq) const;
    // What the board shows, pixel for pixel (also what a picture of the position is made from).
    const QImage& BackingImage() const { return FBacking; }
    // The board as it is on screen, with a piece being dragged or slid on top.
    QImage BoardPicture() const;

    // The points a piece passes through when it slides from one square to another, in board pixels.
    std::vector<QPoint> AnimationPath(Square from, Square to, char piece) const;
    void AnimateMove(Square from, Square to, int delay);
    // A moved piece is on its way to its target square.
    bool Sliding() const { return FSlide != nullptr; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

    // Hooks of the rules.
    void StopEngineSearch() override;
    void AbortEngineSearch() override;
    void RepaintBoard() override { Paint(); }
    void RedrawSquare(Square sq) override;
    void ShowMoveStart(Square oldSq, Square newSq) override;
    void MoveMade() override;
    void MoveAbandoned() override { StopSlide(); }

private:
    // The appearance setters: store the value, then draw the whole board again.
    template <typename T>
    void StoreAndPaint(T& field, const T& value) {
        field = value;
        Paint();
    }
    int BoardWidth() const { return 8 * FSizeOfSquare + 2 * FSizeOfBorder; }
    QRect InnerRect() const;
    QRect SquareRect(int sq) const;
    void ApplyControlSize();
    int WishedPieceSize() const;
    void FinishDrawing(const QRect& area);
    void FillTiledOrPlain(class QPainter& painter, const QImage& texture, const QColor& color, const QRect& area);
    void DrawCoordinates(QPainter& painter);
    void DrawLinesWith(QPainter& painter);
    void FirstPaint();

    // Dragging and sliding.
    void BeginDrag(const QPoint& position);
    void MoveFloatingPiece(const QPoint& topLeft);
    void EndFloatingPiece();
    void DropAt(const QPoint& position);
    void CancelDrag();
    void StopSlide();
    void PieceArrived(Square from);
    void ResizeWithGrip(const QPoint& position, Qt::MouseButtons buttons);

    // The engine.
    void SearchFinished(int generation, const TEngineMove& move, bool aborted);
    void ThinkingDone();
    void AskCustomEngine();
    void PollCustomEngine();

    // Drawing state.
    int FSizeOfSquare = DefaultSquareSize;
    int FSizeOfBorder = DefaultBorderSize;
    int FPieceSize = DefaultSquareSize;
    int FDrawnPieceSize = DefaultSquareSize;
    qreal FPieceRatio = 1; // the device pixel ratio the piece images were made for
    bool FWhiteOnTop = false;
    bool FBoardLines = false;
    QPen FLineStyle;
    CoordSet FDisplayCoords = 0;
    QFont FCoordFont;
    QColor FCoordFontColor;
    QColor FSquareColorLight;
    QColor FSquareColorDark;
    QColor FBorderColor;
    QImage FSquareLight, FSquareDark, FBorderBitmap;
    QImage FBuiltInPieceSet;
    QImage FCustomPieceSet;
    std::vector<QPixmap> FPieceImages;
    std::array<std::array<int, 6>, 2> FPieceImageIndex{};
    bool FBoardShown = false;
    QImage FBacking;

    // Move entry and animation.
    Square FDragFrom = None;
    Square FDropSquare = None;
    bool FDragPending = false;
    QPoint FPressPosition;
    QPixmap FFloatingImage;
    QPoint FFloatingAt;
    bool FFloating = false;
    struct TSlide* FSlide = nullptr; // the slide under way, which lives on the stack of AnimateMove
    bool FAnimateMoves = true;
    int FAnimationDelay = 0;
    bool FResizable = false;
    bool FResizing = false;
    int FResizeMinSize = 100;
    int FResizeMaxSize = 1000;

    // Engine control.
    bool FComputerPlaysWhite = false;
    bool FComputerPlaysBlack = false;
    int FSearchDepth = 1;
    TThreadPriority FThinkingPriority = TThreadPriority::tpNormal;
    bool FCustomEngine = false;
    bool FEngineStopped = true; // a stop request keeps the engine from taking up the next turn
    bool FThinking = false;     // a search was handed to the thread and has not come back
    int FSearchGeneration = 0;
    TPositionSnapshot FSearchedPosition; // the position the latest search was given
    QTimer FTimer;
    std::unique_ptr<TChessThread> FThread;
};
