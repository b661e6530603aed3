#include "UnitPieceWindows.h"

#include "FormWidgets.h"
#include "UnitFormAnzeigeFigurenImSpiel.h"
#include "UnitFormAnzeigeGeschlageneFiguren.h"
#include "UnitFunctions.h"
#include "UnitLanguages.h"
#include "WindowPlacement.h"

#include <QAction>

TPieceWindow::TPieceWindow(const TChessBrd* mainBoard, QAction* viewItem, const char* section,
                           int captionText, const char* designCaption, QSize clientSize, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      FMainBoard(mainBoard), FViewItem(viewItem), FSection(section), FCaptionText(captionText),
      FDesignCaption(designCaption) {
    setWindowTitle(designCaption);
    setFixedSize(clientSize);
    FViewItem->setCheckable(true);
    connect(FViewItem, &QAction::triggered, this, &TPieceWindow::ViewItemClick);
}

// The item's check mark has already flipped when the click arrives; what counts is whether the window
// was open before it.
void TPieceWindow::ViewItemClick() {
    if (isVisible()) {
        FViewItem->setChecked(false);
        close();
        return;
    }
    FViewItem->setChecked(true);
    PlaceFromSettings();
    show();
}

void TPieceWindow::ReopenIfOpenBefore() {
    if (ReadSetting(FSection, "Window", false) && !isVisible()) ViewItemClick();
}

// Where the window was last, kept on a screen: a damaged settings file or an unplugged monitor must
// not put it out of reach.
void TPieceWindow::PlaceFromSettings() {
    const QWidget* main = parentWidget() ? parentWidget()->window() : nullptr;
    const QPoint fallback = main ? main->pos() : QPoint();
    const TWishedGeometry wished{ReadSetting(FSection, "Left", fallback.x()),
                                 ReadSetting(FSection, "Top", fallback.y()), width(), height()};
    RestoreGeometry(*this, wished, size(), main);
}

TSideWindowState TPieceWindow::State() const {
    return {isVisible(), QRect(pos(), size())};
}

void TPieceWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    setWindowTitle(LoadLangString(FCaptionText, FDesignCaption));
    TranslateWindow(this);
    Recount();
}

void TPieceWindow::closeEvent(QCloseEvent* event) {
    FViewItem->setChecked(false);
    QWidget::closeEvent(event);
}

void RecountPieceWindows() {
    if (FormAnzeigeFigurenImSpiel) FormAnzeigeFigurenImSpiel->Recount();
    if (FormAnzeigeGeschlageneFiguren) FormAnzeigeGeschlageneFiguren->Recount();
}

void ReopenPieceWindows() {
    if (FormAnzeigeFigurenImSpiel) FormAnzeigeFigurenImSpiel->ReopenIfOpenBefore();
    if (FormAnzeigeGeschlageneFiguren) FormAnzeigeGeschlageneFiguren->ReopenIfOpenBefore();
}

std::optional<int> MissingPieces(int standard, int onBoard) {
    if (onBoard > standard) return std::nullopt;
    return standard - onBoard;
}
