#pragma once
// The tutorial: topics of lessons from the language's lesson file, shown step by step on a board of
// their own, by hand or as a timed slide show, with the offer to take a shown position over into the
// main game. The window itself knows no chess; the lesson file says what each step shows.

#include "TutorialData.h"

#include <QDialog>
#include <QTimer>
#include <functional>
#include <string>

class QHeaderView;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QSlider;
class QToolButton;
class TChessBrd;

class TFormLernprogramm : public QDialog {
    Q_OBJECT
public:
    explicit TFormLernprogramm(QWidget* parent = nullptr);

    TChessBrd* ChessBrdLearn;
    QPlainTextEdit* MemoText;
    QHeaderView* HeaderControlThemen;
    QListWidget* ListBoxThemen;
    QSlider* TrackBarPosition;
    QToolButton* SpeedButtonStart;
    QToolButton* SpeedButtonStop;
    QToolButton* SpeedButtonLast;
    QToolButton* SpeedButtonNext;
    QPushButton* ButtonSetPosition;
    QPushButton* ButtonClose;
    QTimer TimerPosition;

    // Where a taken-over position goes: the main window's new game on that position.
    std::function<void(const std::string& position)> OnTakeOver;

    // Handlers, public so that tests can drive the window as a person would.
    void ListBoxThemenClick();
    void ShowStep(int n, bool automatic);
    void SpeedButtonStartClick();
    void SpeedButtonStopClick();
    void SpeedButtonNextClick();
    void SpeedButtonLastClick();
    void TimerPositionTimer();
    void ButtonSetPositionClick();

    QString CurrentTopic() const { return FTopic; }
    int StepCount() const { return FStepCount; }
    bool Running() const { return FRunning; }

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void CreateTopicList();
    void CreateStepControls();
    void FormShow();
    void ReadTopics();
    void SetStepControlsEnabled(bool enabled);
    void SetUpBoardBefore(int n);
    void ShowTrackBarStep();

    TTutorialFile FFile;
    QString FTopic;
    int FStepCount = 0;
    // The step whose board the tutorial board holds: 0 before the topic's first, UnknownStep while a
    // move is under way or no topic is shown.
    static constexpr int UnknownStep = -1;
    int FBoardStep = UnknownStep;
    bool FRunning = false;
    int FMemoTop = 0;
    int FMemoHeight = 0;
};

extern TFormLernprogramm* FormLernprogramm;
