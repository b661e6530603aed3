#include "UnitFormBoardSettings.h"

#include "ChessBrd.h"
#include "UnitFormChangePieceSet.h"
#include "UnitFunctions.h"
#include "UnitSettings.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

// A picture is taken only when it is switched on and its file is there; otherwise the board keeps
// what it had.
void LoadPicture(bool use, const QString& path, QImage& target) {
    if (!use || path.isEmpty()) return;
    const QString file = ResolvePath(path);
    if (!QFileInfo(file).isFile()) return;
    const QImage picture(file);
    if (!picture.isNull()) target = picture;
}

} // namespace

void ApplyBoardSettings(TChessBrd& board, bool withSizes, bool repaint) {
    const TSettings& s = Settings();
    QImage border = s.BorderBackground ? board.BorderBitmap() : QImage();
    QImage light = s.LightSquaresBackground ? board.SquareLight() : QImage();
    QImage dark = s.DarkSquaresBackground ? board.SquareDark() : QImage();
    LoadPicture(s.BorderBackground, s.BorderBackgroundPicture, border);
    LoadPicture(s.LightSquaresBackground, s.LightSquaresBackgroundPicture, light);
    LoadPicture(s.DarkSquaresBackground, s.DarkSquaresBackgroundPicture, dark);
    board.LoadTextures(&border, &light, &dark);

    CoordSet coords = 0;
    if (s.CoordinatesWest) coords |= West;
    if (s.CoordinatesNorth) coords |= North;
    if (s.CoordinatesEast) coords |= East;
    if (s.CoordinatesSouth) coords |= South;
    QFont font = board.CoordFont();
    font.setFamily(s.FontName);
    if (withSizes) font.setPointSize(s.FontSize);

    board.SetDisplayCoords(coords);
    board.SetCoordFont(font, ColorFromTColor(s.FontColor));
    board.SetBorderColor(ColorFromTColor(s.BorderColor));
    board.SetSquareColorLight(ColorFromTColor(s.LightSquaresColor));
    board.SetSquareColorDark(ColorFromTColor(s.DarkSquaresColor));
    if (withSizes) board.SetSizeOfBorder(s.BorderWidth);
    board.SetBoardLines(s.Gridlines);
    ApplyPieceSetSetting(board, withSizes);
    // The setters draw into the board's picture; a repaint puts it on the screen at once.
    if (repaint) {
        board.Paint();
        QCoreApplication::processEvents();
    }
}
