#pragma once
// The about box: the product's name and version, the libraries it is built on with their licences,
// and credits that scroll upward while the box is open.

#include <QDialog>
#include <QStringList>
#include <QTimer>

class QLabel;
class QPushButton;

// Lines of text that move up one pixel per tick and start again from below once they have left.
class TCreditsScroller : public QWidget {
    Q_OBJECT
public:
    static constexpr int TickMs = 40;

    explicit TCreditsScroller(QWidget* parent = nullptr);
    void SetLines(const QStringList& lines);
    // How far the lines have moved up from the bottom edge.
    int Offset() const { return FOffset; }
    void Step();
    QTimer Timer;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    int LineHeight() const;
    QStringList FLines;
    int FOffset = 0;
};

class TFormInfo : public QDialog {
    Q_OBJECT
public:
    explicit TFormInfo(QWidget* parent = nullptr);

    QLabel* LabelProduct;
    QLabel* LabelVersion;
    QLabel* LabelLibraries;
    TCreditsScroller* ScrollerCredits;
    QPushButton* ButtonOk;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
};

extern TFormInfo* FormInfo;
