#include "UnitFormAnzeigeGeschlageneFiguren.h"

#include "ChessBrd.h"
#include "PositionCheck.h"

#include <QFrame>
#include <QLabel>

TFormAnzeigeGeschlageneFiguren* FormAnzeigeGeschlageneFiguren = nullptr;

namespace {

constexpr QSize ClientSize(246, 310);
constexpr auto DesignCaption = "geschlagene Figuren";
constexpr int CaptionText = 131;

constexpr int AreaLeft = 6;
constexpr QSize AreaSize(235, 145);
constexpr int BlackAreaTop = 6;
constexpr int WhiteAreaTop = 162;
constexpr QRect SeparatorLine(6, 156, 235, 2);
constexpr int PictureSize = 25;
constexpr int PictureStep = 30;
constexpr int RowStep = 30;

// The standard set, and where each kind's pictures stand in an area: the row and the first column.
struct TKindLayout {
    char WhitePiece;
    int Standard;
    int Row;
    int FirstColumn;
};
constexpr TKindLayout Kinds[] = {
    {'P', 8, 0, 0}, {'B', 2, 1, 0}, {'R', 2, 2, 0}, {'N', 2, 3, 0}, {'Q', 1, 4, 0}, {'K', 1, 4, 1},
};

char Coloured(char whitePiece, bool white) {
    return white ? whitePiece : static_cast<char>(whitePiece - 'A' + 'a');
}

} // namespace

TFormAnzeigeGeschlageneFiguren::TFormAnzeigeGeschlageneFiguren(const TChessBrd* mainBoard, QAction* viewItem,
                                                               QWidget* parent)
    : TPieceWindow(mainBoard, viewItem, "PieceOutOfGame", CaptionText, DesignCaption, ClientSize, parent) {
    setObjectName("FormAnzeigeGeschlageneFiguren");
    CreateArea(false);
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(SeparatorLine);
    CreateArea(true);
}

void TFormAnzeigeGeschlageneFiguren::CreateArea(bool white) {
    const int top = white ? WhiteAreaTop : BlackAreaTop;
    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::Box);
    frame->setFrameShadow(QFrame::Sunken);
    frame->setGeometry(QRect(QPoint(AreaLeft, top), AreaSize));
    for (const TKindLayout& kind : Kinds) {
        const char piece = Coloured(kind.WhitePiece, white);
        // A single picture is named by its kind alone ("Image_b_q"), several are numbered.
        const QString name = QString("Image_%1_%2").arg(white ? 'w' : 'b').arg(QChar(QChar(piece).toLower()));
        CreatePictures(piece, name, kind.Standard, top + kind.Row * RowStep, kind.FirstColumn);
    }
}

void TFormAnzeigeGeschlageneFiguren::CreatePictures(char piece, const QString& names, int count, int top,
                                                    int firstColumn) {
    const QPixmap picture = TChessBrd::BuiltInPieceImage(piece).scaled(
        PictureSize, PictureSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QList<QLabel*>& pictures = FPictures[piece];
    for (int i = 0; i < count; ++i) {
        auto* image = new QLabel(this);
        image->setObjectName(count == 1 ? names : names + QString::number(i + 1));
        image->setPixmap(picture);
        image->setGeometry(AreaLeft + PictureStep * (firstColumn + i), top, PictureSize, PictureSize);
        image->hide();
        pictures << image;
    }
}

QList<QLabel*> TFormAnzeigeGeschlageneFiguren::Pictures(char piece) const {
    return FPictures.value(piece);
}

// A side with more of a kind than the standard set (a promotion) leaves that kind's pictures as they were.
void TFormAnzeigeGeschlageneFiguren::Recount() {
    const std::string position = MainBoard()->Position();
    for (const bool white : {false, true}) {
        for (const TKindLayout& kind : Kinds) {
            const char piece = Coloured(kind.WhitePiece, white);
            const std::optional<int> missing = MissingPieces(kind.Standard, CountPiece(position, piece));
            if (!missing) continue;
            const QList<QLabel*>& pictures = FPictures[piece];
            for (int i = 0; i < pictures.size(); ++i)
                pictures[i]->setVisible(i < *missing);
        }
    }
}
