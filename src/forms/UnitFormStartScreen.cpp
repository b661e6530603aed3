#include "UnitFormStartScreen.h"

#include "UnitFunctions.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>

namespace {

constexpr auto PictureFile = "data\\startscreen.png";
constexpr auto ProductName = "TESSARON";
constexpr int NamePixelSize = 34;
constexpr int NameTopMargin = 10;
constexpr int NameLetterSpacingPercent = 130;
constexpr QColor Backdrop(0x1b, 0x24, 0x3a);

} // namespace

TFormStartScreen::TFormStartScreen(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName("FormStartScreen");
    setWindowTitle(ProductName);
    setFixedSize(WindowSize);
    FPicture.load(ResolvePath(PictureFile));
}

bool TFormStartScreen::Skipped() {
    return qEnvironmentVariableIsSet("TESSARON_SKIP_START_SCREEN");
}

void TFormStartScreen::ShowPainted() {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    repaint();
    // The window system draws the window only once it has been told about it.
    QCoreApplication::processEvents();
}

void TFormStartScreen::Wait(int ms) {
    if (FClicked) return;
    QTimer::singleShot(ms, &FWaiting, &QEventLoop::quit);
    FWaiting.exec();
}

void TFormStartScreen::mousePressEvent(QMouseEvent*) {
    FClicked = true;
    FWaiting.quit();
}

// The picture in the middle of the frame, the product name written across its sky. Without the
// picture file the name alone stands on the backdrop.
void TFormStartScreen::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Backdrop);
    const QRect pictureArea(
        QPoint((width() - PictureSize.width()) / 2, (height() - PictureSize.height()) / 2), PictureSize);
    if (!FPicture.isNull()) painter.drawImage(pictureArea, FPicture);
    QFont font = painter.font();
    font.setPixelSize(NamePixelSize);
    font.setBold(true);
    font.setLetterSpacing(QFont::PercentageSpacing, NameLetterSpacingPercent);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(pictureArea.adjusted(0, NameTopMargin, 0, 0), Qt::AlignHCenter | Qt::AlignTop,
                     ProductName);
}
