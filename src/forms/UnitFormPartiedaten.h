#pragma once
// The game data dialog: the score-sheet data of the current game (players and ratings, event,
// site, date, round, opening code, comments, result) and whether it opens at every new game. It
// has no caption bar; a press anywhere on it that no control takes drags it. Numbers are entered in
// spin boxes that hold them to their ranges, so OK always writes every field.

#include <QDialog>

class QCheckBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class TPartieDaten;
class TRadioGroup;

class TFormPartiedaten : public QDialog {
    Q_OBJECT
public:
    static constexpr int MaxElo = 10000;
    static constexpr int MaxYear = 9999;
    static constexpr int MaxMonth = 12;
    static constexpr int MaxDay = 31;
    static constexpr int MaxRound = 9999;

    explicit TFormPartiedaten(QWidget* parent = nullptr);

    // Shows `data` (player 1 playing black when `player1Black`) and, when the dialog closes with
    // OK, writes every field back into it and the check box into the ShowPartiedaten setting.
    // Returns the dialog's result (Accepted or Rejected).
    int Edit(TPartieDaten& data, bool player1Black);

    QLabel *LabelSpielerdaten, *LabelPartiedaten, *LabelKommentare;
    QLineEdit *edtSpieler1, *edtSpieler2;
    QSpinBox *edtElo1, *edtElo2;
    QLabel *PanelColor1, *PanelColor2;
    QLineEdit *edtEreignis, *edtOrt;
    QSpinBox *edtJahr, *edtMonat, *edtTag, *edtRunde;
    QLineEdit* edtECO;
    QLineEdit* edtKommentare;
    TRadioGroup* rgErgebnis;
    QCheckBox* cbShowPartiedaten;
    QPushButton *btnOk, *btnAbbrechen;

protected:
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void CreatePlayerRows(QGridLayout* grid);
    void CreateGameRows(QGridLayout* grid);
    void FormShow(const TPartieDaten& data, bool player1Black);
    void btnOkClick(TPartieDaten& data) const;

    QPoint FDragOffset;
};

extern TFormPartiedaten* FormPartiedaten;
