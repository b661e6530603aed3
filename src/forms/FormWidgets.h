#pragma once
// Two small controls the windows need and Qt lacks: a coloured disc (a shape with a brush colour)
// and a label that can be clicked like a button.

#include <QLabel>
#include <QWidget>

class TColorDisc : public QWidget {
    Q_OBJECT
public:
    explicit TColorDisc(QWidget* parent = nullptr);
    QColor BrushColor() const { return FBrush; }
    void SetBrushColor(const QColor& color);
    QSize sizeHint() const override { return {24, 24}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor FBrush = Qt::black;
};

class TClickableLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

Q_SIGNALS:
    void Clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};
