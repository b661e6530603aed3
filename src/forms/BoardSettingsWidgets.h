#pragma once
// The two small controls of the board settings dialog: a colour field that opens the colour dialog
// when pressed, and a framed preview of a texture picture that reads "(ohne)" while it has none.

#include <QFrame>
#include <QImage>

class QLabel;

class TColorShape : public QFrame {
    Q_OBJECT
public:
    explicit TColorShape(QWidget* parent = nullptr);
    QColor BrushColor() const { return FBrush; }
    void SetBrushColor(const QColor& color);
    // Asks the colour dialog for a new colour, starting from the present one; a cancel keeps it.
    void ChooseColor();
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QColor FBrush = Qt::black;
};

class TPicturePreview : public QFrame {
    Q_OBJECT
public:
    // `imageName` names the picture label (e.g. "ImageBorder"), `emptyTextName` the "(ohne)" label.
    TPicturePreview(const QString& imageName, const QString& emptyTextName, QWidget* parent = nullptr);
    const QImage& Picture() const { return FPicture; }
    void SetPicture(const QImage& picture);
    void Clear() { SetPicture({}); }
    QLabel* Image() const { return FImage; }
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void ShowPicture();

    QImage FPicture;
    QLabel* FEmptyText;
    QLabel* FImage;
};
