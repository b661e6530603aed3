#include "UnitFormAnzeigeFigurenImSpiel.h"

#include "ChessBrd.h"
#include "PositionCheck.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>

TFormAnzeigeFigurenImSpiel* FormAnzeigeFigurenImSpiel = nullptr;

namespace {

constexpr QSize ClientSize(200, 255);
constexpr auto DesignCaption = "Figuren im Spiel";
constexpr int CaptionText = 100;
// From top to bottom, in both columns.
constexpr std::string_view WhiteRowPieces = "RNBQKP";
constexpr std::string_view BlackRowPieces = "rnbqkp";
constexpr int RowCount = 6;
constexpr int RowStep = 40;

constexpr QRect BlackFrame(5, 5, 91, 246);
constexpr QRect WhiteFrame(105, 5, 91, 246);
constexpr QRect BlackStrip(10, 10, 40, 237);
constexpr QRect WhiteStrip(110, 10, 40, 237);
constexpr int FirstLabelTop = 15;
constexpr int BlackLabelRight = 75;
constexpr int WhiteLabelRight = 175;
constexpr int LabelWidth = 25;
constexpr int LabelHeight = 24;
constexpr int LabelPixelSize = 19;
// The strip is 3 pixels shorter than six rows; the pictures shrink a little to fit it whole.
constexpr int StripPieceSize = 37;

QPixmap PieceStrip(std::string_view pieces, const QSize& size) {
    QPixmap strip(size);
    strip.fill(Qt::transparent);
    QPainter painter(&strip);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (int row = 0; row < RowCount; ++row)
        painter.drawPixmap(QRect(0, row * RowStep, StripPieceSize, StripPieceSize),
                           TChessBrd::BuiltInPieceImage(pieces[static_cast<size_t>(row)]));
    return strip;
}

} // namespace

TFormAnzeigeFigurenImSpiel::TFormAnzeigeFigurenImSpiel(const TChessBrd* mainBoard, QAction* viewItem,
                                                       QWidget* parent)
    : TPieceWindow(mainBoard, viewItem, "PieceInGame", CaptionText, DesignCaption, ClientSize, parent) {
    setObjectName("FormAnzeigeFigurenImSpiel");
    CreateColumn(false, {&LabelBlackTurm, &LabelBlackPferd, &LabelBlackLaeufer, &LabelBlackDame,
                         &LabelBlackKoenig, &LabelBlackBauer});
    CreateColumn(true, {&LabelWhiteTurm, &LabelWhitePferd, &LabelWhiteLaeufer, &LabelWhiteDame,
                        &LabelWhiteKoenig, &LabelWhiteBauer});
}

void TFormAnzeigeFigurenImSpiel::CreateColumn(bool white, std::array<QLabel**, 6> labels) {
    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::Box);
    frame->setFrameShadow(QFrame::Sunken);
    frame->setGeometry(white ? WhiteFrame : BlackFrame);
    const QRect stripArea = white ? WhiteStrip : BlackStrip;
    auto* strip = new QLabel(this);
    strip->setObjectName(white ? "ImageWhite" : "ImageBlack");
    strip->setGeometry(stripArea);
    strip->setPixmap(PieceStrip(white ? WhiteRowPieces : BlackRowPieces, stripArea.size()));
    QFont font("MS Sans Serif");
    font.setPixelSize(LabelPixelSize);
    const QString colour = white ? "White" : "Black";
    const char* const kinds[RowCount] = {"Turm", "Pferd", "Laeufer", "Dame", "Koenig", "Bauer"};
    for (int row = 0; row < RowCount; ++row) {
        auto* label = new QLabel("0", this);
        label->setObjectName("Label" + colour + kinds[row]);
        label->setFont(font);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        const int right = white ? WhiteLabelRight : BlackLabelRight;
        label->setGeometry(right - LabelWidth, FirstLabelTop + row * RowStep, LabelWidth, LabelHeight);
        *labels[static_cast<size_t>(row)] = label;
    }
}

std::array<QLabel*, 12> TFormAnzeigeFigurenImSpiel::CountLabels() const {
    return {LabelBlackTurm,    LabelBlackPferd, LabelBlackLaeufer, LabelBlackDame,
            LabelBlackKoenig,  LabelBlackBauer, LabelWhiteTurm,    LabelWhitePferd,
            LabelWhiteLaeufer, LabelWhiteDame,  LabelWhiteKoenig,  LabelWhiteBauer};
}

// Promoted pieces simply raise the counts.
void TFormAnzeigeFigurenImSpiel::Recount() {
    const std::string position = MainBoard()->Position();
    const std::array<QLabel*, 12> labels = CountLabels();
    for (int row = 0; row < RowCount; ++row) {
        const auto i = static_cast<size_t>(row);
        labels[i]->setText(QString::number(CountPiece(position, BlackRowPieces[i])));
        labels[i + RowCount]->setText(QString::number(CountPiece(position, WhiteRowPieces[i])));
    }
}
