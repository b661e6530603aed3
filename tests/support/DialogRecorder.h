#pragma once
// Stands in for every dialog while a test runs: records what was asked and answers from a queue
// (OK, nothing typed, no file, colour or font chosen when the queue is empty).

#include "UnitDialogFunctions.h"

#include <QList>
#include <QString>
#include <optional>

class DialogRecorder final : public TDialogSeam {
public:
    DialogRecorder() : FPrevious(SetDialogSeam(this)) {}
    ~DialogRecorder() override { SetDialogSeam(FPrevious); }
    DialogRecorder(const DialogRecorder&) = delete;
    DialogRecorder& operator=(const DialogRecorder&) = delete;

    QList<TMessageRequest> Messages;
    QList<TInputRequest> Inputs;
    QList<TFileRequest> Files;
    QList<int> MessageAnswers;
    QList<std::optional<QString>> InputAnswers;
    QList<std::optional<QString>> FileAnswers;
    QList<TColorRequest> Colors;
    QList<TFontRequest> Fonts;
    QList<std::optional<QColor>> ColorAnswers;
    QList<std::optional<QFont>> FontAnswers;

    int Message(const TMessageRequest& request) override {
        Messages << request;
        return MessageAnswers.isEmpty() ? mrOk : MessageAnswers.takeFirst();
    }
    std::optional<QString> Input(const TInputRequest& request) override {
        Inputs << request;
        return InputAnswers.isEmpty() ? std::nullopt : InputAnswers.takeFirst();
    }
    std::optional<QString> File(const TFileRequest& request) override {
        Files << request;
        return FileAnswers.isEmpty() ? std::nullopt : FileAnswers.takeFirst();
    }

    std::optional<QColor> Color(const TColorRequest& request) override {
        Colors << request;
        return ColorAnswers.isEmpty() ? std::nullopt : ColorAnswers.takeFirst();
    }
    std::optional<QFont> Font(const TFontRequest& request) override {
        Fonts << request;
        return FontAnswers.isEmpty() ? std::nullopt : FontAnswers.takeFirst();
    }

    QStringList MessageTexts() const {
        QStringList texts;
        for (const TMessageRequest& m : Messages) texts << m.Text;
        return texts;
    }

private:
    TDialogSeam* FPrevious;
};
