#pragma once
// The language selection dialog: lists "Automatic", English and the languages of the language list,
// and switches the program to the one chosen.

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

class TFormSelectLanguage : public QDialog {
    Q_OBJECT
public:
    explicit TFormSelectLanguage(QWidget* parent = nullptr);

    QLabel* LabelSprachwahl;
    QComboBox* ComboBoxSprache;
    QPushButton* ButtonOk;
    QPushButton* ButtonCancel;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void ButtonOkClick();
    void LoadCaption();
};

// The one instance, created at start-up.
extern TFormSelectLanguage* FormSelectLanguage;
