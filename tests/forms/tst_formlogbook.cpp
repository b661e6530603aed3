// The logbook window on the real main window: the lines of a computer game in the order they were
// written, the status bar, its pop-up switch, and saving and clearing the log.

#include "ChessThread.h"
#include "FormMainTestSupport.h"
#include "Logbook.h"
#include "TestFiles.h"
#include "UnitFormLogbook.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QStatusBar>

namespace {

constexpr int GameTimeoutMs = 60000;
constexpr int MovesToWatch = 6;
const QRegularExpression MoveLine(R"(^Zug : [A-H][1-8]-[A-H][1-8] Tiefe \d+ Knoten \d+ Punkte -?\d+$)");

QStringList MemoLines(const TFormLogbook& window) {
    const QString text = window.MemoLog->toPlainText();
    return text.isEmpty() ? QStringList() : text.split('\n');
}

} // namespace

class TestFormLogbook : public QObject {
    Q_OBJECT

    QTemporaryDir FDir;
    std::unique_ptr<TFormMain> FForm;
    std::unique_ptr<TFormLogbook> FWindow;
    // A check or the end of the game may ask for a message box; nobody is there to close it.
    std::unique_ptr<DialogRecorder> FDialogs;

    TFormLogbook& NewWindows(const QString& ini) {
        WriteIniFile(FDir, ini);
        ShowNewFormMain(FForm);
        FWindow = std::unique_ptr<TFormLogbook>(NewFormLogbook(*FForm));
        FormLogbook = FWindow.get();
        return *FWindow;
    }

private Q_SLOTS:
    void init() {
        PrepareProgramDir(FDir, "[Common]\nLanguage=German\n");
        FDialogs = std::make_unique<DialogRecorder>();
    }

    void cleanup() {
        FWindow.reset();
        FormLogbook = nullptr;
        CloseFormMain(FForm);
        FDialogs.reset();
    }

    // Opened during the game, the window shows the lines written before as well.
    void computerGameIsLoggedInOrder() {
        TFormLogbook& window = NewWindows("[Common]\nLanguage=German\nAnimateMoves=0\n[GameStart]\nLevel=1\n"
                                          "Player1=1\nPlayer2=1\n");
        FForm->BitBtnWeiterClick();
        QTRY_VERIFY_WITH_TIMEOUT(FForm->Logbook->Lines().size() >= MovesToWatch / 2, GameTimeoutMs);
        FForm->MenuItemGameInfo->trigger();
        QVERIFY(window.isVisible());
        QVERIFY(window.PanelThinking->text().isEmpty());
        const qsizetype linesWhenOpened = FForm->Logbook->Lines().size();
        QTRY_VERIFY_WITH_TIMEOUT(FForm->Logbook->Lines().size() >=
                                     std::max<qsizetype>(MovesToWatch, linesWhenOpened + 2),
                                 GameTimeoutMs);
        FForm->BitBtnStopClick();
        const QStringList lines = FForm->Logbook->Lines();
        QCOMPARE(MemoLines(window), lines);
        QStringList moves;
        for (const QString& line : lines) {
            if (!line.startsWith("Zug")) continue;
            QVERIFY2(MoveLine.match(line).hasMatch(), qPrintable(line));
            moves << line.mid(6, 5);
        }
        QVERIFY(moves.size() >= MovesToWatch);
        for (int i = 0; i < moves.size(); ++i) {
            const QString listed = FForm->ListBoxZuege->item(i)->text();
            QVERIFY2(listed.contains(moves[i], Qt::CaseInsensitive), qPrintable(listed + " / " + moves[i]));
        }
        QVERIFY(window.PanelThinking->text().startsWith("Tiefe "));
    }

    void newGameEmptiesTheWindow() {
        TFormLogbook& window = NewWindows("[Common]\nLanguage=German\n");
        FForm->Logbook->AddLine("Schach");
        QCOMPARE(MemoLines(window), QStringList{"Schach"});
        FForm->Logbook->Clear();
        QVERIFY(window.MemoLog->toPlainText().isEmpty());
    }

    void openingShowsTheVariantAndNoSearch_data() {
        QTest::addColumn<int>("gameModus");
        QTest::addColumn<QString>("variant");
        QTest::newRow("standard") << 0 << "Standard";
        QTest::newRow("blitz") << 1 << "Blitzschach";
    }
    void openingShowsTheVariantAndNoSearch() {
        QFETCH(int, gameModus);
        QFETCH(QString, variant);
        TFormLogbook& window =
            NewWindows(QString("[Common]\nLanguage=German\nGameModus=%1\n").arg(gameModus));
        FForm->Logbook->UpdateThinkingStatus(4, 15230, 35, "E2-E4 ");
        window.show();
        QCOMPARE(window.PanelGameMode->text(), variant);
        QVERIFY(window.PanelThinking->text().isEmpty());
        QCOMPARE(window.windowTitle(), QString("Spielinformationen (Analyse/Logbuch)"));
        FForm->Logbook->UpdateThinkingStatus(4, 15230, 35, "E2-E4 ");
        QCOMPARE(window.PanelThinking->text(), QString("Tiefe 4 Knoten 15230 Punkte 35 Beste Linie E2-E4 "));
    }

    void statusBarSwitchTurnsTheEnginesFirstMoveOnly() {
        TFormLogbook& window = NewWindows("[Common]\nLanguage=German\n");
        std::atomic<bool>& onlyFirst = FForm->ChessBrd->Engine()->Control().ShowOnlyFirstMove;
        QVERIFY(!onlyFirst.load());
        window.MenuItemShowOnlyFirstMove->trigger();
        QVERIFY(onlyFirst.load());
        QVERIFY(window.MenuItemShowOnlyFirstMove->isChecked());
        window.MenuItemShowOnlyFirstMove->trigger();
        QVERIFY(!onlyFirst.load());
        QVERIFY(window.StatusBar->contextMenuPolicy() == Qt::CustomContextMenu);
    }

    void saveWritesTheLines() {
        TFormLogbook& window = NewWindows("[Common]\nLanguage=German\n");
        FForm->Logbook->AddLine("Zug : E2-E4 Tiefe 4 Knoten 15230 Punkte 35");
        FForm->Logbook->AddLine("Schach");
        DialogRecorder dialogs;
        dialogs.FileAnswers << FDir.filePath("log.txt");
        window.MenuItemSaveLog->trigger();
        QCOMPARE(ReadAll(FDir.filePath("log.txt")),
                 QByteArray("Zug : E2-E4 Tiefe 4 Knoten 15230 Punkte 35\nSchach\n"));
        QVERIFY(dialogs.Messages.isEmpty());
    }

    void failedSaveIsReportedAndKeepsTheLog() {
        TFormLogbook& window = NewWindows("[Common]\nLanguage=German\n");
        FForm->Logbook->AddLine("Schach");
        DialogRecorder dialogs;
        dialogs.FileAnswers << FDir.filePath("no-such-folder/log.txt");
        window.MenuItemSaveLog->trigger();
        QCOMPARE(dialogs.Messages.size(), 1);
        QVERIFY(dialogs.Messages.first().Text.contains("log.txt"));
        QCOMPARE(FForm->Logbook->Lines(), QStringList{"Schach"});
    }

    void clearEmptiesLogAndWindow() {
        TFormLogbook& window = NewWindows("[Common]\nLanguage=German\n");
        FForm->Logbook->AddLine("Schach");
        window.MenuItemClearLog->trigger();
        QVERIFY(FForm->Logbook->Lines().isEmpty());
        QVERIFY(window.MemoLog->toPlainText().isEmpty());
    }

    void viewItemAndCloseButtonAgree() {
        TFormLogbook& window = NewWindows("[Common]\nLanguage=German\n");
        FForm->MenuItemGameInfo->trigger();
        QVERIFY(FForm->MenuItemGameInfo->isChecked());
        QVERIFY(window.isVisible());
        window.close(); // as its own close button does
        QVERIFY(!FForm->MenuItemGameInfo->isChecked());
        FForm->MenuItemGameInfo->trigger();
        QVERIFY(window.isVisible());
        FForm->MenuItemGameInfo->trigger();
        QVERIFY(!window.isVisible());
        QVERIFY(!FForm->MenuItemGameInfo->isChecked());
    }
};

QTEST_MAIN(TestFormLogbook)
#include "tst_formlogbook.moc"
