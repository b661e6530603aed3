#pragma once
// Every message box, input box and file dialog of the program goes through here. The dialogs are
// placed centred on their owner; a seam lets tests answer them without a person and see what was asked.

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <optional>

class QWidget;

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

// Buttons, combinable.
enum TMsgDlgBtn : unsigned {
    mbYes = 1u << 0,
    mbNo = 1u << 1,
    mbOK = 1u << 2,
    mbCancel = 1u << 3,
    mbAbort = 1u << 4,
    mbRetry = 1u << 5,
    mbIgnore = 1u << 6,
};
using TMsgDlgButtons = unsigned;

// The button that closed a dialog.
enum TModalResult { mrNone = 0, mrOk, mrCancel, mrAbort, mrRetry, mrIgnore, mrYes, mrNo };

struct TMessageRequest {
    QString Text;
    QString Caption;
    TMsgDlgType Kind = TMsgDlgType::mtCustom;
    TMsgDlgButtons Buttons = mbOK;
    QWidget* Owner = nullptr;
};

struct TInputRequest {
    QString Caption;
    QString Prompt;
    QString Default;
    QWidget* Owner = nullptr;
};

enum class TFileDialogKind { Open, Save, Directory };
struct TFileRequest {
    TFileDialogKind Kind = TFileDialogKind::Open;
    QString Title;
    QString Directory; // starting folder or file
    QString Filter;    // "Bitmaps (*.bmp)|*.bmp|Alle Dateien (*.*)|*.*"
    QString DefaultExtension;
    QWidget* Owner = nullptr;
};

struct TColorRequest {
    QColor Initial;
    QWidget* Owner = nullptr;
};

struct TFontRequest {
    QFont Initial;
    QWidget* Owner = nullptr;
};

// What actually shows the dialogs. The program uses the real one; tests install their own.
class TDialogSeam {
public:
    virtual ~TDialogSeam() = default;
    virtual int Message(const TMessageRequest& request) = 0;
    virtual std::optional<QString> Input(const TInputRequest& request) = 0;
    virtual std::optional<QString> File(const TFileRequest& request) = 0;
    virtual std::optional<QColor> Color(const TColorRequest& request) = 0;
    virtual std::optional<QFont> Font(const TFontRequest& request) = 0;
};

// Installs a seam (nullptr restores the real dialogs); returns the previous one.
TDialogSeam* SetDialogSeam(TDialogSeam* seam);

// Shows a modal message and returns the pressed button (a TModalResult). Without an owner the dialog
// is centred on the active window, if any. `caption` defaults to the program's name.
int ShowCenteredMessage(const QString& text, TMsgDlgType kind, TMsgDlgButtons buttons, QWidget* owner,
                        const QString& caption = {});
// A message without an icon and with the single button OK.
void ShowInfoMessage(const QString& text, QWidget* owner);

// A one-line input box; nothing when the user cancels.
std::optional<QString> InputBox(const QString& caption, const QString& prompt, const QString& defaultText,
                                QWidget* owner = nullptr);

std::optional<QString> PromptOpenFileName(const QString& title, const QString& directory, const QString& filter,
                                          QWidget* owner = nullptr);
std::optional<QString> PromptSaveFileName(const QString& title, const QString& directory, const QString& filter,
                                          const QString& defaultExtension, QWidget* owner = nullptr);
// True when `fileName` does not exist yet or the user agrees to overwrite it (text 143).
bool ConfirmOverwrite(const QString& fileName, QWidget* owner);
// The error after a failed save: language text `textNumber` (German default `text`) with "%s" filled
// by the file name, then the reason the system gave.
void ReportSaveFailed(int textNumber, const QString& text, const QString& fileName, const QString& reason,
                      QWidget* owner);

std::optional<QString> PromptDirectory(const QString& title, const QString& directory, QWidget* owner = nullptr);

// The colour and font dialogs; nothing when the user cancels.
std::optional<QColor> PromptColor(const QColor& initial, QWidget* owner = nullptr);
std::optional<QFont> PromptFont(const QFont& initial, QWidget* owner = nullptr);

// A file-dialog filter (in the "Name (*.x)|*.x" form) of every picture format the program can read,
// in lower and upper case, since pictures copied from other systems often carry upper-case names.
QString ReadablePicturesFilter();

// Where a dialog of `dialog` size goes to be centred on `owner` (halves rounded toward zero);
// a negative left or top becomes 0.
QPoint CenteredPosition(const QRect& owner, const QSize& dialog);

// Turns a filter written "Name (*.x)|*.x|..." into the form the file dialogs take.
QString ToQtFilter(const QString& filter);

// Switches the tooltips of the whole application on or off.
void SetHintsEnabled(bool enabled);
