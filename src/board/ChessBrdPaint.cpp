// Drawing of the board: border with coordinates and frames, the squares in two passes through clip
// regions, separating lines and pieces, all into the backing image, of which only the changed part
// is then shown again.

#include "ChessBrd.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>

namespace {

constexpr std::string_view PieceLetters = "PNBRQKpnbrqk";
constexpr int PieceKinds = 6;
constexpr int PieceSetRows = 4;
constexpr auto BuiltInSet = ":/pieces/SETCLASSIC40.bmp";
constexpr auto BuiltInMasterSet = ":/pieces/SETCLASSICMASTER.png";

// A texture counts only with both sides at least one pixel long.
bool IsSet(const QImage& bitmap) { return bitmap.width() >= 1 && bitmap.height() >= 1; }

// The piece over transparent ground: the mask's grey gives the coverage (black opaque, white clear).
QImage MaskedPiece(const QImage& image, const QImage& mask) {
    QImage piece = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < piece.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(piece.scanLine(y));
        for (int x = 0; x < piece.width(); ++x) {
            const int alpha = 255 - qGray(mask.pixel(x, y));
            row[x] = qRgba(qRed(row[x]), qGreen(row[x]), qBlue(row[x]), alpha);
        }
    }
    return piece;
}

// The twelve pieces of a valid set in the order of PieceLetters, each with its mask made alpha.
std::vector<QImage> CutPieces(const QImage& set) {
    std::vector<QImage> pieces;
    const int cell = set.height() / PieceSetRows;
    if (cell < 1) return pieces;
    for (int color = 0; color < 2; ++color)
        for (int kind = 0; kind < PieceKinds; ++kind)
            pieces.push_back(MaskedPiece(set.copy(kind * cell, 2 * color * cell, cell, cell),
                                         set.copy(kind * cell, (2 * color + 1) * cell, cell, cell)));
    return pieces;
}

// The built-in set drawn with large cells, cut once: larger pieces are scaled down from it and so
// stay as crisp as the glyphs they were drawn from. Empty when the program was built without it.
const std::vector<QImage>& BuiltInMaster() {
    static const std::vector<QImage> pieces = [] {
        const QImage set(BuiltInMasterSet);
        return TChessBrd::IsValidPieceSet(set) ? CutPieces(set) : std::vector<QImage>{};
    }();
    return pieces;
}

// Scaled in premultiplied form, so the clear ground does not bleed dark into the piece's edge.
QImage ScaledPiece(const QImage& piece, int edge) {
    if (piece.width() == edge) return piece;
    return piece.convertToFormat(QImage::Format_ARGB32_Premultiplied)
        .scaled(edge, edge, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace

QRect TChessBrd::InnerRect() const {
    return {FSizeOfBorder, FSizeOfBorder, width() - 2 * FSizeOfBorder, height() - 2 * FSizeOfBorder};
}

QPoint TChessBrd::SquareOrigin(int sq) const {
    int col = (sq - 1) % 8;
    int row = (sq - 1) / 8;
    if (FWhiteOnTop) {
        col = 7 - col;
        row = 7 - row;
    }
    return {col * FSizeOfSquare + FSizeOfBorder, row * FSizeOfSquare + FSizeOfBorder};
}

QRect TChessBrd::SquareRect(int sq) const { return {SquareOrigin(sq), QSize(FSizeOfSquare, FSizeOfSquare)}; }

Square TChessBrd::SquareFromPoint(int x, int y) const {
    const int dx = x - FSizeOfBorder;
    const int dy = y - FSizeOfBorder;
    const int field = 8 * FSizeOfSquare;
    if (dx < 0 || dy < 0 || dx >= field || dy >= field) return None;
    const int col = std::min(dx / FSizeOfSquare, 7);
    const int row = std::min(dy / FSizeOfSquare, 7);
    return static_cast<Square>(FWhiteOnTop ? (7 - row) * 8 + (7 - col) + 1 : row * 8 + col + 1);
}

void TChessBrd::FinishDrawing(const QRect& area) { update(area); }

void TChessBrd::Paint() {
    if (OnPaint) OnPaint(*this);
    ApplyControlSize();
    DrawBorder();
    DrawSquares();
    DrawPieces();
    FinishDrawing(rect());
}

void TChessBrd::paintEvent(QPaintEvent* event) {
    const bool otherScale = FBacking.devicePixelRatio() != devicePixelRatioF(); // moved to another screen
    if (!FBoardShown) FirstPaint();
    else if (otherScale) Paint();
    QPainter painter(this);
    const QRect area = event->rect();
    const qreal ratio = FBacking.devicePixelRatio();
    painter.drawImage(QRectF(area), FBacking,
                      QRectF(QPointF(area.topLeft()) * ratio, QSizeF(area.size()) * ratio));
    if (FFloating) painter.drawPixmap(FFloatingAt, FFloatingImage);
}

// What the first showing of the board starts: the engine (so a computer to move begins at once)
// and the poll for a custom engine's moves.
void TChessBrd::FirstPaint() {
    BuildPieceImages();
    Paint();
    FBoardShown = true;
    StartEngine();
    FTimer.start();
}

QImage TChessBrd::BoardPicture() const {
    QImage picture = FBacking.copy();
    if (FFloating) {
        QPainter painter(&picture);
        painter.drawPixmap(FFloatingAt, FFloatingImage);
    }
    return picture;
}

void TChessBrd::FillTiledOrPlain(QPainter& painter, const QImage& texture, const QColor& color, const QRect& area) {
    if (!IsSet(texture)) {
        painter.fillRect(area, color);
        return;
    }
    // Tiles start at the control's corner, so a texture runs on seamlessly from square to square.
    for (int j = 0; j <= height() / texture.height(); ++j)
        for (int k = 0; k <= width() / texture.width(); ++k)
            painter.drawImage(k * texture.width(), j * texture.height(), texture);
}

void TChessBrd::DrawBorder() {
    QPainter painter(&FBacking);
    painter.setClipRegion(QRegion(rect()).subtracted(InnerRect()));
    FillTiledOrPlain(painter, FBorderBitmap, FBorderColor, rect());
    DrawCoordinates(painter);

    painter.setPen(FLineStyle);
    const int w = width() - 1;
    painter.drawPolyline(QPolygon({{0, 0}, {w, 0}, {w, w}, {0, w}, {0, 0}}));
    const int b = FSizeOfBorder;
    const int in = width() - b;
    painter.drawPolyline(QPolygon({{b - 1, b - 1}, {in, b - 1}, {in, in}, {b - 1, in}, {b - 1, b - 1}}));
    FinishDrawing(rect());
}

void TChessBrd::DrawCoordinates(QPainter& painter) {
    painter.setFont(FCoordFont);
    painter.setPen(FCoordFontColor);
    const QString letters = FWhiteOnTop ? "HGFEDCBA" : "ABCDEFGH";
    const int points = FCoordFont.pointSize() > 0 ? FCoordFont.pointSize() : FCoordFont.pixelSize();
    const int a = ((FSizeOfBorder - points) >> 1) + 1;
    const int o = (FSizeOfSquare - points) >> 1;
    const int q = QFontMetrics(FCoordFont, &FBacking).horizontalAdvance('0') / 4;
    // Text is placed by its top-left corner, the way the classic canvas writes it.
    auto write = [&painter](int x, int y, const QString& text) {
        painter.drawText(QRect(x, y, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, text);
    };
    for (int i = 0; i < 8; ++i) {
        const QString number = QString::number(FWhiteOnTop ? i + 1 : 8 - i);
        const QString letter = letters.mid(i, 1);
        const int p = i * FSizeOfSquare + FSizeOfBorder + o;
        if (FDisplayCoords & West) write(a, p, number);
        if (FDisplayCoords & East) write(width() - FSizeOfBorder + a, p, number);
        if (FDisplayCoords & North) write(p, a - q, letter);
        if (FDisplayCoords & South) write(p, height() - FSizeOfBorder + a - q, letter);
    }
}

void TChessBrd::DrawSquares() {
    QPainter painter(&FBacking);
    for (int pass = 0; pass <= 1; ++pass) {
        // Pass 0 leaves the dark squares in the clip region, pass 1 the light ones.
        QRegion clip(InnerRect());
        for (int row = 0; row < 8; ++row)
            for (int j = 0; j < 4; ++j) {
                const int column = 2 * j + ((row & 1) ^ pass);
                clip -= QRect(column * FSizeOfSquare + FSizeOfBorder, row * FSizeOfSquare + FSizeOfBorder,
                              FSizeOfSquare, FSizeOfSquare);
            }
        painter.setClipRegion(clip);
        if (pass == 0) FillTiledOrPlain(painter, FSquareDark, FSquareColorDark, InnerRect());
        else FillTiledOrPlain(painter, FSquareLight, FSquareColorLight, InnerRect());
    }
    painter.setClipRect(InnerRect());
    DrawLinesWith(painter);
    FinishDrawing(InnerRect());
}

void TChessBrd::DrawSquare(int sq) {
    if (!IsOnBoard(sq)) return;
    const QRect area = SquareRect(sq);
    QPainter painter(&FBacking);
    painter.setClipRect(area);
    if (IsLightSquare(sq)) FillTiledOrPlain(painter, FSquareLight, FSquareColorLight, area);
    else FillTiledOrPlain(painter, FSquareDark, FSquareColorDark, area);
    DrawLinesWith(painter);
    FinishDrawing(area);
}

void TChessBrd::DrawLines() {
    QPainter painter(&FBacking);
    DrawLinesWith(painter);
    FinishDrawing(InnerRect());
}

void TChessBrd::DrawLinesWith(QPainter& painter) {
    if (!FBoardLines) return;
    painter.setPen(FLineStyle);
    const int last = height() - FSizeOfBorder - 1; // the classic line leaves out its end point
    for (int i = 1; i <= 7; ++i) {
        const int at = i * FSizeOfSquare + FSizeOfBorder;
        painter.drawLine(at, FSizeOfBorder, at, last);
        painter.drawLine(FSizeOfBorder, at, last, at);
    }
}

void TChessBrd::DrawPieces() {
    for (int sq = 1; sq <= SquareCount; ++sq)
        if (PieceAt(static_cast<Square>(sq)) != ' ') DrawPiece(sq, PieceAt(static_cast<Square>(sq)));
}

QPixmap TChessBrd::PieceImage(char letter) const {
    const int index = PieceImageIndex(letter);
    if (index < 0 || index >= static_cast<int>(FPieceImages.size())) return {};
    return FPieceImages[static_cast<size_t>(index)];
}

void TChessBrd::DrawPiece(int sq, char letter) {
    const QPixmap image = PieceImage(letter);
    if (image.isNull() || !IsOnBoard(sq)) return;
    const int off = (FSizeOfSquare - FDrawnPieceSize) / 2; // centred, overlapping when larger
    const QPoint at = SquareOrigin(sq) + QPoint(off, off);
    QPainter painter(&FBacking);
    painter.drawPixmap(at, image);
    FinishDrawing(QRect(at, QSize(FDrawnPieceSize, FDrawnPieceSize)));
}

void TChessBrd::RedrawSquare(Square sq) {
    DrawSquare(sq);
    const char piece = PieceAt(sq);
    if (piece != ' ') DrawPiece(sq, piece);
}

void TChessBrd::RedrawChangedSquares(std::string_view oldPosition) {
    for (int sq = 1; sq <= SquareCount; ++sq) {
        const auto index = static_cast<size_t>(sq - 1);
        const char now = PieceAt(static_cast<Square>(sq));
        if (index < oldPosition.size() && oldPosition[index] == now) continue;
        DrawSquare(sq);
        if (now != ' ') DrawPiece(sq, now);
    }
    DrawLines();
}

QPixmap TChessBrd::BuiltInPieceImage(char letter) {
    static const std::vector<QImage> pieces = CutPieces(QImage(BuiltInSet));
    const size_t i = PieceLetters.find(letter);
    if (letter == '\0' || i >= pieces.size()) return {};
    return QPixmap::fromImage(pieces[i]);
}

int TChessBrd::PieceImageIndex(char letter) const {
    const size_t i = PieceLetters.find(letter);
    if (letter == '\0' || i == std::string_view::npos) return -1;
    return FPieceImageIndex[i / PieceKinds][i % PieceKinds];
}

// Pieces are made at the screen's own pixels. At their set's size on an ordinary screen they are the
// set's cells as they are; larger ones of the built-in set come from its large master.
void TChessBrd::BuildPieceImages() {
    const bool custom = IsValidPieceSet(FCustomPieceSet);
    const QImage& source = custom ? FCustomPieceSet : FBuiltInPieceSet;
    FPieceImages.clear();
    FPieceSize = source.height() / PieceSetRows;
    FDrawnPieceSize = WishedPieceSize();
    FPieceRatio = devicePixelRatioF();
    if (FPieceSize < 1) return;
    const int edge = qRound(FDrawnPieceSize * FPieceRatio);
    const bool fromMaster = !custom && edge > FPieceSize && !BuiltInMaster().empty();
    const std::vector<QImage> pieces = fromMaster ? BuiltInMaster() : CutPieces(source);
    for (size_t i = 0; i < pieces.size(); ++i) {
        QPixmap image = QPixmap::fromImage(ScaledPiece(pieces[i], edge));
        image.setDevicePixelRatio(FPieceRatio);
        FPieceImageIndex[i / PieceKinds][i % PieceKinds] = static_cast<int>(FPieceImages.size());
        FPieceImages.push_back(image);
    }
}
