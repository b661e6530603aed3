// The main window's start and end: the game file of the command line, a later start that brings the
// window forward with a file, the logbook reopened where it was, and the settings written at the end
// only with SaveOptions.

#include "ChessThread.h"
#include "FormMainTestSupport.h"
#include "Logbook.h"
#include "UnitFormLogbook.h"
#include "UnitFormTips.h"

#include <QScreen>

namespace {

constexpr auto BaseIni = "[Common]\nLanguage=German\nSaveMainWin=0\n";

QString WithSaveOptions(bool on) {
    return QString(BaseIni) + "SaveOptions=" + (on ? "1" : "0") + "\n";
}

} // namespace

class TestFormMainStartup : public QObject {
    Q_OBJECT

    QTemporaryDir FDir;
    std::unique_ptr<TFormMain> FForm;
    std::unique_ptr<TFormLogbook> FLogbookWindow;
    std::unique_ptr<DialogRecorder> FDialogs;

    QString GameFile() const { return FDir.filePath("seats.tn2"); }

    // The window with its logbook window, as the program creates them.
    TFormMain& CreateForm() {
        FForm = std::make_unique<TFormMain>();
        FormMain = FForm.get();
        FLogbookWindow = std::unique_ptr<TFormLogbook>(NewFormLogbook(*FForm));
        FormLogbook = FLogbookWindow.get();
        return *FForm;
    }

    void ShowAndActivate() {
        FForm->show();
        FForm->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(FForm.get()));
    }

private Q_SLOTS:
    void init() {
        PrepareProgramDir(FDir, BaseIni);
        SaveGameWithSeats(GameFile(), pkZufall, pkComputer, "Anna");
        FDialogs = std::make_unique<DialogRecorder>();
    }

    void cleanup() {
        FLogbookWindow.reset();
        FormLogbook = nullptr;
        CloseFormMain(FForm);
        FDialogs.reset();
    }

    void firstShowingSaysPause() {
        CreateForm();
        ShowAndActivate();
        QCOMPARE(FForm->LabelSpieler1Status->text(), QString("Pause..."));
        QCOMPARE(FForm->LabelSpieler2Status->text(), QString("Pause..."));
        QCOMPARE(FForm->LabelSpieler1->text(), QString("Spieler 1"));
    }

    void commandLineFileIsLoadedAtFirstShowing() {
        CreateForm().SetCommandLineFile(GameFile());
        ShowAndActivate();
        QCOMPARE(FForm->LabelSpieler1->text(), QString("Anna"));
        QCOMPARE(FForm->ComboBoxSpieler1->currentIndex(), int(pkZufall));
        QCOMPARE(FForm->ComboBoxSpieler2->currentIndex(), int(pkComputer));
    }

    void laterStartBringsTheWindowBackAndLoadsItsFile() {
        CreateForm();
        ShowAndActivate();
        FForm->showMinimized();
        FForm->OpenRequestedFile(GameFile());
        QVERIFY(!FForm->isMinimized());
        QVERIFY(FForm->isVisible());
        QCOMPARE(FForm->LabelSpieler1->text(), QString("Anna"));
        QVERIFY(FForm->GameStopped);
    }

    void laterStartWithoutFileKeepsTheGame() {
        CreateForm();
        ShowAndActivate();
        FForm->LabelSpieler1->setText("Bert");
        FForm->OpenRequestedFile({});
        QCOMPARE(FForm->LabelSpieler1->text(), QString("Bert"));
    }

    void settingsAreWrittenAtTheEndOnlyWithSaveOptions_data() {
        QTest::addColumn<bool>("saveOptions");
        QTest::newRow("SaveOptions on") << true;
        QTest::newRow("SaveOptions off") << false;
    }
    void settingsAreWrittenAtTheEndOnlyWithSaveOptions() {
        QFETCH(bool, saveOptions);
        WriteIniFile(FDir, WithSaveOptions(saveOptions));
        CreateForm();
        ShowAndActivate();
        FForm->ComboBoxSpieler1->setCurrentIndex(pkZufall);
        FForm->MenuItemMaster->trigger();
        FForm->MenuItemGameInfo->trigger();
        QVERIFY(FormLogbook->isVisible());
        FForm->close();
        const int unwritten = -1;
        QCOMPARE(ReadSetting("GameStart", "Player1", unwritten), saveOptions ? int(pkZufall) : unwritten);
        QCOMPARE(ReadSetting("GameStart", "Level", unwritten),
                 saveOptions ? FForm->ChessBrd->SearchDepth() : unwritten);
        QCOMPARE(ReadSetting("GameInfo", "Window", unwritten), saveOptions ? 1 : unwritten);
        QCOMPARE(ReadSetting("GameInfo", "Width", unwritten), saveOptions ? FormLogbook->width() : unwritten);
    }

    void logbookComesBackWhereItWas() {
        WriteIniFile(FDir,
                     QString(BaseIni) + "[GameInfo]\nWindow=1\nLeft=30\nTop=40\nWidth=400\nHeight=150\n");
        CreateForm();
        ShowAndActivate();
        QVERIFY(FormLogbook->isVisible());
        QVERIFY(FForm->MenuItemGameInfo->isChecked());
        QCOMPARE(FormLogbook->pos(), QPoint(30, 40));
        QCOMPARE(FormLogbook->size(), QSize(400, 150));
    }

    void logbookOutsideEveryScreenIsMovedOntoOne() {
        WriteIniFile(FDir, QString(BaseIni) +
                               "[GameInfo]\nWindow=1\nLeft=-20000\nTop=90000\nWidth=300\nHeight=150\n");
        CreateForm();
        ShowAndActivate();
        QVERIFY(FormLogbook->isVisible());
        const QRect area = FForm->screen()->availableGeometry();
        QVERIFY2(area.contains(QRect(FormLogbook->pos(), FormLogbook->size())),
                 qPrintable(QString("%1,%2").arg(FormLogbook->x()).arg(FormLogbook->y())));
    }

    void logbookStaysClosedWhenItWasClosed() {
        CreateForm();
        ShowAndActivate();
        QVERIFY(!FormLogbook->isVisible());
        QVERIFY(!FForm->MenuItemGameInfo->isChecked());
    }

    // A session's end can close the window after it is shown and before its first activation has
    // been handled; that activation must not open the start-up tip over a program that is ending.
    void closedBeforeItsFirstActivationOpensNoTip() {
        TFormTips tips;
        FormTips = &tips;
        bool tipShown = false;
        QTimer watch;
        connect(&watch, &QTimer::timeout, &tips, [&] {
            if (!tips.isVisible()) return;
            tipShown = true;
            tips.reject();
        });
        watch.start(1);
        CreateForm();
        FForm->show();
        FForm->activateWindow();
        FForm->close();
        QTest::qWait(200);
        FormTips = nullptr;
        QVERIFY(!tipShown);
    }
};

QTEST_MAIN(TestFormMainStartup)
#include "tst_formmain_startup.moc"
