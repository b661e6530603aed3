#pragma once
// The start screen: a frameless window with the program's picture and name, shown while the windows
// are created. A click on it ends the wait. Setting the environment variable
// TESSARON_SKIP_START_SCREEN (as the tests do) starts the program without it.

#include <QEventLoop>
#include <QImage>
#include <QWidget>

class TFormStartScreen : public QWidget {
    Q_OBJECT
public:
    static constexpr QSize WindowSize{329, 249};
    static constexpr QSize PictureSize{320, 240};
    // Half of the whole wait: before the windows are created and again after.
    static constexpr int WaitMs = 1000;

    explicit TFormStartScreen(QWidget* parent = nullptr);

    // Whether the environment asks for a start without the start screen.
    static bool Skipped();

    // Shows the window centred on the screen and painted.
    void ShowPainted();
    // Waits `ms`, answering events; returns early, and at once from then on, after a click.
    void Wait(int ms);
    bool WaitEnded() const { return FClicked; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QImage FPicture;
    QEventLoop FWaiting;
    bool FClicked = false;
};
