#pragma once
// The tips window: one short tip at a time on using the program and on playing better chess, with a
// counter and a button for the next tip. It opens at start unless the user switched that off.

#include <QDialog>
#include <QStringList>
#include <random>

class QCheckBox;
class QLabel;
class QPushButton;

// The language file's tips: the non-empty texts 3910 to 3950, in number order.
QStringList LoadTipTexts();

// "(index + 1/count)", and "(0/0)" for no tips at all.
QString TipCounterText(int index, int count);

class TFormTips : public QDialog {
    Q_OBJECT
public:
    explicit TFormTips(QWidget* parent = nullptr);

    QLabel* LabelTip;
    QLabel* LabelText;
    QLabel* LabelAnzahlTips;
    QPushButton* ButtonNext;
    QPushButton* ButtonClose;
    QCheckBox* CheckBoxShowAtStart;
    QLabel* ImageMaster;

    int TipIndex() const { return FIndex; }
    int TipCount() const { return static_cast<int>(FTips.size()); }
    void ButtonNextClick();

    // Closing in any way keeps the check box's answer for the next start.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void ShowTip();
    QWidget* CreateTipPanel();

    QStringList FTips;
    int FIndex = 0;
    std::mt19937 FRandom;
};

// The one instance, created at start-up.
extern TFormTips* FormTips;
