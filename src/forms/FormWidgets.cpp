#include "FormWidgets.h"

#include <QMouseEvent>
#include <QPainter>

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
