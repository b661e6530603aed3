#pragma once
// Small controls the windows need and Qt lacks: a coloured disc (a shape with a brush colour), a
// label that can be clicked like a button, and a label that cuts a long text instead of widening
// its window.

#include <QLabel>
#include <QWidget>

#include <utility>

// A control of a dialog, named and carrying the number of its text (0: not translated).
template <typename Widget, typename... Args> Widget* Tagged(const QString& name, int tag, Args&&... args) {
    auto* widget = new Widget(std::forward<Args>(args)...);
    widget->setObjectName(name);
    if (tag != 0) widget->setProperty("Tag", tag);
    return widget;
}

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

// Shows as much of its text as fits, ending in an ellipsis, and the whole text as its tooltip while
// it is cut. It asks its layout for little room, so a long text never makes the window grow;
// text() keeps the whole text.
class TElidedLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
    QSize minimumSizeHint() const override;
    bool IsElided() const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QRect TextArea() const;
};

// A small frameless window with one line of text, shown while the program is busy with something the
// user waits for (loading a game, speaking a move). It lives as long as the object, so every way out
// of the work it covers closes it.
class TMessageWindow {
public:
    // Shows `text` in the window-text colour on white, centred on `owner`.
    TMessageWindow(const QString& text, QWidget* owner);
    // The same window with its top-left corner at a point of the screen.
    TMessageWindow(const QString& text, QWidget* owner, const QPoint& topLeft);

private:
    void Prepare(const QWidget* owner);
    void Show();
    QLabel FLabel;
};

struct TWishedGeometry;

// Places a window at a saved geometry, moved (and if need be shrunk, never below `smallest`) onto the
// screen that holds its top-left corner, or onto `fallback`'s screen when no screen does (a monitor
// was unplugged since).
void RestoreGeometry(QWidget& window, const TWishedGeometry& wished, const QSize& smallest,
                     const QWidget* fallback);
