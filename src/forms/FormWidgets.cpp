#include "FormWidgets.h"

#include "WindowPlacement.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QToolTip>
#include <algorithm>
#include <climits>

TColorDisc::TColorDisc(QWidget* parent) : QWidget(parent) { setFixedSize(sizeHint()); }

void TColorDisc::SetBrushColor(const QColor& color) {
    FBrush = color;
    update();
}

void TColorDisc::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(palette().color(QPalette::WindowText), 1));
    painter.setBrush(FBrush);
    painter.drawEllipse(rect().adjusted(1, 1, -2, -2));
}

void TClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) Q_EMIT Clicked();
}

QRect TElidedLabel::TextArea() const {
    return contentsRect().adjusted(margin(), margin(), -margin(), -margin());
}

QSize TElidedLabel::minimumSizeHint() const {
    const QMargins around = contentsMargins() + QMargins(margin(), margin(), margin(), margin());
    const int ellipsis = fontMetrics().horizontalAdvance(QChar(0x2026));
    return {ellipsis + around.left() + around.right(), QLabel::minimumSizeHint().height()};
}

bool TElidedLabel::IsElided() const {
    return fontMetrics().horizontalAdvance(text()) > TextArea().width();
}

// A label's own hint, if any, goes first; the whole text is shown only while it is cut.
bool TElidedLabel::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip && toolTip().isEmpty() && IsElided()) {
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), text(), this);
        return true;
    }
    return QLabel::event(event);
}

void TElidedLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawFrame(&painter);
    const QRect area = TextArea();
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideRight, area.width());
    style()->drawItemText(&painter, area, QStyle::visualAlignment(layoutDirection(), alignment()), palette(),
                          isEnabled(), shown, foregroundRole());
}

TMessageWindow::TMessageWindow(const QString& text, QWidget* owner)
    : FLabel(text, nullptr, Qt::ToolTip | Qt::FramelessWindowHint) {
    Prepare(owner);
    if (owner) {
        const QRect area = owner->frameGeometry();
        FLabel.move(area.center() - QPoint(FLabel.width() / 2, FLabel.height() / 2));
    }
    Show();
}

TMessageWindow::TMessageWindow(const QString& text, QWidget* owner, const QPoint& topLeft)
    : FLabel(text, nullptr, Qt::ToolTip | Qt::FramelessWindowHint) {
    Prepare(owner);
    FLabel.move(topLeft);
    Show();
}

void TMessageWindow::Prepare(const QWidget* owner) {
    FLabel.setObjectName("MessageWindow");
    FLabel.setAutoFillBackground(true);
    QPalette colours = FLabel.palette();
    colours.setColor(QPalette::Window, Qt::white);
    colours.setColor(QPalette::WindowText, owner ? owner->palette().color(QPalette::WindowText) : Qt::black);
    FLabel.setPalette(colours);
    FLabel.setMargin(6);
    FLabel.adjustSize();
}

void TMessageWindow::Show() {
    FLabel.show();
    // The work that follows keeps the event loop busy; the window must be on screen before it starts.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void RestoreGeometry(QWidget& window, const TWishedGeometry& wished, const QSize& smallest,
                     const QWidget* fallback) {
    const QPoint topLeft(static_cast<int>(std::clamp<qint64>(wished.Left, INT_MIN, INT_MAX)),
                         static_cast<int>(std::clamp<qint64>(wished.Top, INT_MIN, INT_MAX)));
    const QScreen* screen = QGuiApplication::screenAt(topLeft);
    if (!screen && fallback) screen = fallback->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect fitted = FitToArea(wished, screen->availableGeometry(), smallest);
    window.resize(fitted.size());
    window.move(fitted.topLeft());
}
