#include "UnitDialogFunctions.h"

#include "UnitLanguages.h"
#include "WindowPlacement.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QImageReader>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStringList>
#include <algorithm>
#include <array>
#include <limits>
#include <utility>

namespace {

constexpr auto ProgramName = "TESSARON";

// The buttons in the order a message box lists them, with the results they give.
constexpr std::array<std::pair<TMsgDlgBtn, std::pair<QMessageBox::StandardButton, TModalResult>>, 7> ButtonMap = {{
    {mbYes, {QMessageBox::Yes, mrYes}},
    {mbNo, {QMessageBox::No, mrNo}},
    {mbOK, {QMessageBox::Ok, mrOk}},
    {mbCancel, {QMessageBox::Cancel, mrCancel}},
    {mbAbort, {QMessageBox::Abort, mrAbort}},
    {mbRetry, {QMessageBox::Retry, mrRetry}},
    {mbIgnore, {QMessageBox::Ignore, mrIgnore}},
}};

// The buttons speak the program's language, not the toolkit's.
QString ButtonText(TMsgDlgBtn button) {
    switch (button) {
    case mbYes: return LoadLangString(5004, "&Ja");
    case mbNo: return LoadLangString(5005, "&Nein");
    case mbOK: return LoadLangString(10, "&Ok");
    case mbCancel: return LoadLangString(11, "&Abbrechen");
    case mbAbort: return LoadLangString(5006, "Ab&brechen");
    case mbRetry: return LoadLangString(5007, "&Wiederholen");
    case mbIgnore: return LoadLangString(5008, "&Ignorieren");
    }
    return {};
}

QMessageBox::Icon IconOf(TMsgDlgType kind) {
    switch (kind) {
    case TMsgDlgType::mtWarning: return QMessageBox::Warning;
    case TMsgDlgType::mtError: return QMessageBox::Critical;
    case TMsgDlgType::mtInformation: return QMessageBox::Information;
    case TMsgDlgType::mtConfirmation: return QMessageBox::Question;
    case TMsgDlgType::mtCustom: return QMessageBox::NoIcon;
    }
    return QMessageBox::NoIcon;
}

QWidget* OwnerOrActive(QWidget* owner) { return owner ? owner->window() : QApplication::activeWindow(); }

// A dialog that centres itself on a window once it knows its final size, which message boxes
// settle only while they are being shown; it stays whole on the owner's screen.
template <typename Dialog>
class TCentered final : public Dialog {
public:
    template <typename... Args>
    explicit TCentered(QWidget* centreOn, Args&&... args)
        : Dialog(std::forward<Args>(args)...), FCentreOn(centreOn) {}

protected:
    void showEvent(QShowEvent* event) override {
        Dialog::showEvent(event);
        if (!FCentreOn) return;
        const QSize size = this->frameGeometry().size();
        QPoint at = CenteredPosition(FCentreOn->frameGeometry(), size);
        if (const QScreen* screen = FCentreOn->screen())
            at = KeepInArea(at, size, screen->availableGeometry());
        this->move(at);
    }

private:
    QWidget* FCentreOn;
};

// The real dialogs.
class TQtDialogs final : public TDialogSeam {
public:
    int Message(const TMessageRequest& request) override {
        TCentered<QMessageBox> box(OwnerOrActive(request.Owner), IconOf(request.Kind), request.Caption, request.Text,
                                   QMessageBox::NoButton, request.Owner);
        for (const auto& [flag, button] : ButtonMap)
            if (request.Buttons & flag) box.addButton(button.first)->setText(ButtonText(flag));
        const int pressed = box.exec();
        for (const auto& [flag, button] : ButtonMap)
            if (pressed == button.first) return button.second;
        return (request.Buttons & mbCancel) ? mrCancel : mrNone;
    }

    std::optional<QString> Input(const TInputRequest& request) override {
        TCentered<QInputDialog> dialog(OwnerOrActive(request.Owner), request.Owner);
        dialog.setWindowTitle(request.Caption);
        dialog.setLabelText(request.Prompt);
        dialog.setTextValue(request.Default);
        dialog.setOkButtonText(ButtonText(mbOK));
        dialog.setCancelButtonText(ButtonText(mbCancel));
        if (dialog.exec() != QDialog::Accepted) return std::nullopt;
        return dialog.textValue();
    }

    std::optional<QString> File(const TFileRequest& request) override {
        QString name;
        const QString filter = ToQtFilter(request.Filter);
        switch (request.Kind) {
        case TFileDialogKind::Open:
            name = QFileDialog::getOpenFileName(request.Owner, request.Title, request.Directory, filter);
            break;
        case TFileDialogKind::Save: {
            QFileDialog dialog(request.Owner, request.Title, request.Directory, filter);
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            dialog.setDefaultSuffix(request.DefaultExtension);
            // Whoever asks for a name to save under asks about an existing file in its own words.
            dialog.setOption(QFileDialog::DontConfirmOverwrite);
            if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
                name = dialog.selectedFiles().first();
            break;
        }
        case TFileDialogKind::Directory:
            name = QFileDialog::getExistingDirectory(request.Owner, request.Title, request.Directory);
            break;
        }
        if (name.isEmpty()) return std::nullopt;
        return name;
    }

    std::optional<QColor> Color(const TColorRequest& request) override {
        const QColor chosen = QColorDialog::getColor(request.Initial, request.Owner);
        if (!chosen.isValid()) return std::nullopt;
        return chosen;
    }

    std::optional<QFont> Font(const TFontRequest& request) override {
        bool ok = false;
        const QFont chosen = QFontDialog::getFont(&ok, request.Initial, request.Owner);
        if (!ok) return std::nullopt;
        return chosen;
    }
};

TQtDialogs& RealDialogs() {
    static TQtDialogs dialogs;
    return dialogs;
}

TDialogSeam*& CurrentSeam() {
    static TDialogSeam* seam = nullptr;
    return seam;
}

TDialogSeam& Seam() { return CurrentSeam() ? *CurrentSeam() : RealDialogs(); }

} // namespace

TDialogSeam* SetDialogSeam(TDialogSeam* seam) { return std::exchange(CurrentSeam(), seam); }

QPoint CenteredPosition(const QRect& owner, const QSize& dialog) {
    // In 64 bits, since an owner's rectangle may be as large as an int allows; integer division
    // rounds toward zero, as the halves must.
    const auto centred = [](qint64 start, qint64 end, qint64 length) {
        const qint64 position = start + (end - start + 1 - length) / 2;
        return static_cast<int>(std::clamp<qint64>(position, 0, std::numeric_limits<int>::max()));
    };
    return {centred(owner.left(), owner.right(), dialog.width()),
            centred(owner.top(), owner.bottom(), dialog.height())};
}

QString ToQtFilter(const QString& filter) {
    const QStringList parts = filter.split('|');
    QStringList entries;
    // The file dialog takes its patterns from the parentheses of the name, separated by blanks; a
    // name's own "(*.a;*.b)" would be one pattern that matches nothing, so it gives way to the real ones.
    static const QRegularExpression shownPatterns(R"(\s*\([^()]*\)\s*$)");
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(';', ' ');
        entries << QString(parts[i]).remove(shownPatterns) + " (" + patterns + ")";
    }
    return entries.join(";;");
}

int ShowCenteredMessage(const QString& text, TMsgDlgType kind, TMsgDlgButtons buttons, QWidget* owner,
                        const QString& caption) {
    return Seam().Message({text, caption.isEmpty() ? QString(ProgramName) : caption, kind, buttons, owner});
}

void ShowInfoMessage(const QString& text, QWidget* owner) {
    ShowCenteredMessage(text, TMsgDlgType::mtCustom, mbOK, owner);
}

std::optional<QString> InputBox(const QString& caption, const QString& prompt, const QString& defaultText,
                                QWidget* owner) {
    return Seam().Input({caption, prompt, defaultText, owner});
}

std::optional<QString> PromptOpenFileName(const QString& title, const QString& directory, const QString& filter,
                                          QWidget* owner) {
    return Seam().File({TFileDialogKind::Open, title, directory, filter, {}, owner});
}

std::optional<QString> PromptSaveFileName(const QString& title, const QString& directory, const QString& filter,
                                          const QString& defaultExtension, QWidget* owner) {
    return Seam().File({TFileDialogKind::Save, title, directory, filter, defaultExtension, owner});
}

bool ConfirmOverwrite(const QString& fileName, QWidget* owner) {
    return !QFileInfo::exists(fileName) ||
           ShowCenteredMessage(LoadLangString(143, "Datei bereits vorhanden, überschreiben?"),
                               TMsgDlgType::mtConfirmation, mbYes | mbNo, owner) == mrYes;
}

void ReportSaveFailed(int textNumber, const QString& text, const QString& fileName, const QString& reason,
                      QWidget* owner) {
    const QString message = LoadLangString(textNumber, text).replace("%s", fileName);
    ShowCenteredMessage(message + "\r\r" + reason, TMsgDlgType::mtError, mbOK, owner);
}

std::optional<QString> PromptDirectory(const QString& title, const QString& directory, QWidget* owner) {
    return Seam().File({TFileDialogKind::Directory, title, directory, {}, {}, owner});
}

std::optional<QColor> PromptColor(const QColor& initial, QWidget* owner) { return Seam().Color({initial, owner}); }

std::optional<QFont> PromptFont(const QFont& initial, QWidget* owner) { return Seam().Font({initial, owner}); }

QString ReadablePicturesFilter() {
    QStringList patterns;
    const QList<QByteArray> formats = QImageReader::supportedImageFormats();
    for (const QByteArray& format : formats) patterns << "*." + QString::fromLatin1(format).toLower();
    for (const QByteArray& format : formats) patterns << "*." + QString::fromLatin1(format).toUpper();
    const QString all = patterns.join(';');
    return LoadLangString(5350, "Bilder") + " (" + QString(all).replace(';', ' ') + ")|" + all;
}

namespace {
// Swallows tooltip requests while hints are switched off.
class THintFilter final : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override { return event->type() == QEvent::ToolTip; }
};
} // namespace

void SetHintsEnabled(bool enabled) {
    static THintFilter filter;
    if (enabled) qApp->removeEventFilter(&filter);
    else qApp->installEventFilter(&filter);
}
