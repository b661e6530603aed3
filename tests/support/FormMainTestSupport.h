#pragma once
// What the tests of the real main window share: a program folder holding the shipped language
// files and a settings file of the test's own, the window shown offscreen, and a piece dragged as
// a person drags it. The test target defines TESSARON_SOURCE_DIR.

#include "ChessBrd.h"
#include "DialogRecorder.h"
#include "UnitFormMain.h"
#include "UnitFunctions.h"
#include "UnitLanguages.h"
#include "UnitSettings.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

inline QPoint Centre(const TChessBrd& board, Square sq) {
    const int half = board.SizeOfSquare() / 2;
    return board.SquareOrigin(sq) + QPoint(half, half);
}

inline void Drag(TChessBrd& board, Square from, Square to) {
    QTest::mousePress(&board, Qt::LeftButton, Qt::NoModifier, Centre(board, from));
    QTest::mouseMove(&board, Centre(board, from) + QPoint(8, 8));
    QTest::mouseMove(&board, Centre(board, to));
    QTest::mouseRelease(&board, Qt::LeftButton, Qt::NoModifier, Centre(board, to));
}

inline void WriteIniFile(const QTemporaryDir& dir, const QString& text) {
    QFile file(dir.filePath("tessaron.ini"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) qFatal("cannot write the settings file");
    file.write(text.toUtf8());
}

// The folder becomes the program's, with the shipped language files, the default settings and
// this settings file.
inline void PrepareProgramDir(const QTemporaryDir& dir, const QString& ini) {
    QDir(dir.path()).removeRecursively();
    QDir().mkpath(dir.filePath("Lang"));
    for (const char* name : {"Languages.cfg", "German.lng", "English.lng"})
        QFile::copy(QString(TESSARON_SOURCE_DIR) + "/data/Lang/" + name,
                    dir.filePath(QString("Lang/") + name));
    SetProgramDir(dir.path());
    Settings() = TSettings{};
    WriteIniFile(dir, ini);
}

inline TFormMain& ShowNewFormMain(std::unique_ptr<TFormMain>& form) {
    form = std::make_unique<TFormMain>();
    FormMain = form.get();
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get())) qWarning("window not exposed");
    return *form;
}

// The game runs and the moves of the line ("E2-E4 E7-E5") are played as a person plays them; the
// test runs the refresh tick by hand after each.
inline void PlayMoves(TFormMain& form, const QString& line) {
    form.BitBtnWeiterClick();
    form.TimerAktualisierung.stop();
    for (const QString& move : line.split(' ', Qt::SkipEmptyParts)) {
        QVERIFY2(form.ChessBrd->PlayMove(SquareIndex(move.left(2).toStdString()),
                                         SquareIndex(move.mid(3, 2).toStdString())),
                 qPrintable(move));
        if (!form.FGameOver) form.TimerAktualisierungTimer();
    }
}

// The window goes, and with it the language file and the program folder.
inline void CloseFormMain(std::unique_ptr<TFormMain>& form) {
    form.reset();
    FormMain = nullptr;
    CloseLanguageFile();
    SetProgramDir({});
}

// A fresh window on the test's program folder, with the settings read anew.
inline TFormMain& ReopenFormMain(std::unique_ptr<TFormMain>& form, const QTemporaryDir& dir) {
    CloseFormMain(form);
    SetProgramDir(dir.path());
    Settings() = TSettings{};
    return ShowNewFormMain(form);
}

// A game file saved by the real main window, with the seats' kinds and player 1's name as given.
inline void SaveGameWithSeats(const QString& fileName, int kind1, int kind2, const QString& name1) {
    DialogRecorder dialogs;
    dialogs.FileAnswers << fileName;
    TFormMain form;
    form.ComboBoxSpieler1->setCurrentIndex(kind1);
    form.ComboBoxSpieler2->setCurrentIndex(kind2);
    form.LabelSpieler1->setText(name1);
    form.SaveGameFile();
    if (!QFile::exists(fileName)) qFatal("the game file was not saved");
}
