#include "UnitFormPromotion.h"

#include "ChessBrd.h"
#include "UnitDialogFunctions.h"
#include "UnitLanguages.h"

#include <QKeyEvent>
#include <QLabel>
#include <QTimer>
#include <QToolButton>

TFormPromotion* FormPromotion = nullptr;

namespace {

constexpr int ButtonWidth = 40;
constexpr int ButtonHeight = 43;
constexpr int ButtonTop = 8;
constexpr int ButtonLefts[5] = {5, 47, 89, 131, 173};
constexpr QSize ClientSize(217, 57);
constexpr int HintGap = 20;
constexpr std::string_view Pieces = "pnbrq"; // the buttons' pieces, Tags 1..5
constexpr auto DesignCaption = "Bauernumwandlung";

} // namespace

TFormPromotion::TFormPromotion(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      FHint(new QLabel(this, Qt::ToolTip)) {
    setObjectName("FormPromotion");
    setWindowTitle(DesignCaption);
    setFixedSize(ClientSize);
    for (int i = 0; i < 5; ++i) {
        auto* button = new QToolButton(this);
        button->setObjectName(QString("SpeedButton%1").arg(i + 1));
        button->setProperty("Tag", i + 1);
        button->setGeometry(ButtonLefts[i], ButtonTop, ButtonWidth, ButtonHeight);
        button->setIconSize(QSize(ButtonWidth, ButtonWidth));
        button->setAutoRaise(true);
        connect(button, &QToolButton::clicked, this, [this, i] { done(i + 1); });
        FButtons[i] = button;
    }
    FButtons[0]->setEnabled(false); // a pawn stays no pawn
    FHint->setObjectName("PromotionHint");
    FHint->setForegroundRole(QPalette::ToolTipText);
    FHint->setBackgroundRole(QPalette::ToolTipBase);
    FHint->setAutoFillBackground(true);
    FHint->setMargin(3);
}

int TFormPromotion::Ask(bool whiteToMove) {
    for (int i = 0; i < 5; ++i) {
        const char piece = Pieces[static_cast<size_t>(i)];
        FButtons[i]->setIcon(TChessBrd::BuiltInPieceImage(whiteToMove ? piece : static_cast<char>(piece - 32)));
    }
    return exec();
}

void TFormPromotion::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    setWindowTitle(LoadLangString(5003, DesignCaption));
    if (QWidget* owner = parentWidget()) move(CenteredPosition(owner->window()->frameGeometry(), frameGeometry().size()));
    FHint->setText(LoadLangString(29990, "Wählen Sie die Figur aus, die den Bauern ersetzen soll."));
    FHint->adjustSize();
    PlaceHint();
    FHint->show();
    // The window system may still settle the dialog's frame once it is on screen.
    QTimer::singleShot(0, this, &TFormPromotion::PlaceHint);
}

// Centred under the dialog, its top 20 pixels below the dialog's bottom edge.
void TFormPromotion::PlaceHint() {
    const QRect frame = frameGeometry();
    FHint->move(frame.left() + (frame.width() - FHint->width()) / 2, frame.bottom() + 1 + HintGap);
}

void TFormPromotion::moveEvent(QMoveEvent* event) {
    QDialog::moveEvent(event);
    if (FHint->isVisible()) PlaceHint();
}

void TFormPromotion::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (FHint->isVisible()) PlaceHint();
}

void TFormPromotion::hideEvent(QHideEvent* event) {
    FHint->hide();
    QDialog::hideEvent(event);
}

// Escape would close the dialog without a piece; only a piece button may end it.
void TFormPromotion::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) return;
    QDialog::keyPressEvent(event);
}
