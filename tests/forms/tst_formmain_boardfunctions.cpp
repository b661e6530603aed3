// The main window's board functions on real widgets: turning the board, exchanging the colours,
// renaming the players, placing the side windows, and the unattended test mode.

#include "DialogRecorder.h"
#include "FormMainTestSupport.h"
#include "FormWidgets.h"
#include "UnitSound.h"

#include <QComboBox>
#include <QLabel>
#include <QTimer>

class TestFormMainBoardFunctions : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void turningTheBoardTwiceRestoresIt();
    void exchangingColoursTwiceRestoresDiscsAndFlags();
    void exchangedEngineMovesTheOtherColourButStartsNothing();
    void bothTurnsAndExchanges();
    void renamingAPlayer_data();
    void renamingAPlayer();
    void testModeStartsTheNextGameAfterTheMate();
    void testModePlaysTheEnginesFirstMove();
    void testModeOffDoesNothing();
    void testModeClimbsTheLevels_data();
    void testModeClimbsTheLevels();

private:
    TFormMain& NewWindow(const QString& ini);
    void PlayFoolsMate(TFormMain& form);

    QTemporaryDir FDir;
    std::unique_ptr<TFormMain> FForm;
    std::unique_ptr<DialogRecorder> FDialogs;
    std::unique_ptr<TSoundRecorder> FSounds;
};

void TestFormMainBoardFunctions::init() {
    FDialogs = std::make_unique<DialogRecorder>();
    FSounds = std::make_unique<TSoundRecorder>();
}

void TestFormMainBoardFunctions::cleanup() {
    CloseFormMain(FForm);
    FSounds.reset();
    FDialogs.reset();
}

TFormMain& TestFormMainBoardFunctions::NewWindow(const QString& ini) {
    PrepareProgramDir(FDir, "[Common]\nLanguage=German\nAnimateMoves=0\n" + ini);
    return ShowNewFormMain(FForm);
}

void TestFormMainBoardFunctions::PlayFoolsMate(TFormMain& form) {
    form.BitBtnWeiterClick();
    form.TimerAktualisierung.stop(); // the test moves by hand
    const std::pair<Square, Square> moves[] = {{F2, F3}, {E7, E5}, {G2, G4}, {D8, H4}};
    for (const auto& [from, to] : moves)
        QVERIFY(form.ChessBrd->PlayMove(from, to));
    QVERIFY(form.FGameOver);
}

void TestFormMainBoardFunctions::turningTheBoardTwiceRestoresIt() {
    TFormMain& form = NewWindow("[GameStart]\nPlayer1=1\nPlayer2=0\n");
    QVERIFY(form.MenuItemChangeSite->isEnabled());
    const bool engineBlack = form.ChessBrd->ComputerPlaysBlack();
    const QPoint a8 = form.ChessBrd->SquareOrigin(A8);
    form.MenuItemChangeSite->trigger();
    QVERIFY(form.ChessBrd->WhiteOnTop());
    QVERIFY(form.ChessBrd->SquareOrigin(A8) != a8);
    QCOMPARE(form.ChessBrd->ComputerPlaysBlack(), engineBlack); // players and engine stay
    form.MenuItemChangeSite->trigger();
    QVERIFY(!form.ChessBrd->WhiteOnTop());
    QCOMPARE(form.ChessBrd->SquareOrigin(A8), a8);
}

void TestFormMainBoardFunctions::exchangingColoursTwiceRestoresDiscsAndFlags() {
    TFormMain& form = NewWindow("[GameStart]\nPlayer1=1\nPlayer2=0\n");
    form.ComboBoxSpieler1Change(); // player 1 (black) is the engine
    QVERIFY(form.ChessBrd->ComputerPlaysBlack());
    QVERIFY(!form.ChessBrd->ComputerPlaysWhite());
    form.MenuItemChangeColor->trigger();
    QCOMPARE(form.ShapeFarbeSpieler1->BrushColor(), QColor(Qt::white));
    QCOMPARE(form.ShapeFarbeSpieler2->BrushColor(), QColor(Qt::black));
    QVERIFY(form.ChessBrd->ComputerPlaysWhite());
    QVERIFY(!form.ChessBrd->ComputerPlaysBlack());
    form.MenuItemChangeColor->trigger();
    QCOMPARE(form.ShapeFarbeSpieler1->BrushColor(), QColor(Qt::black));
    QCOMPARE(form.ShapeFarbeSpieler2->BrushColor(), QColor(Qt::white));
    QVERIFY(form.ChessBrd->ComputerPlaysBlack());
    QVERIFY(!form.ChessBrd->ComputerPlaysWhite());
}

// Player 1, the engine, played black; after the exchange it plays white, which is to move, but only
// the next Weiter starts it.
void TestFormMainBoardFunctions::exchangedEngineMovesTheOtherColourButStartsNothing() {
    TFormMain& form = NewWindow("[GameStart]\nLevel=1\nPlayer1=1\nPlayer2=0\n");
    form.ComboBoxSpieler1Change();
    form.BitBtnWeiterClick();
    form.TimerAktualisierung.stop();
    QVERIFY(form.ChessBrd->WhiteToMove());
    QVERIFY(!form.ChessBrd->Thinking());
    form.MenuItemChangeColor->trigger();
    QVERIFY(form.ChessBrd->ComputerToMove());
    QVERIFY(!form.ChessBrd->Thinking());
    QVERIFY(!form.GameStopped); // the game was not stopped
    QCOMPARE(form.ChessBrd->Position(), std::string(StartPosition));
    form.BitBtnStopClick();
    form.BitBtnWeiterClick();
    form.TimerAktualisierung.stop();
    QTRY_VERIFY_WITH_TIMEOUT(!form.ChessBrd->WhiteToMove(), 60000); // the engine played white's move
}

void TestFormMainBoardFunctions::bothTurnsAndExchanges() {
    TFormMain& form = NewWindow("[GameStart]\nPlayer1=0\nPlayer2=0\n");
    form.MenuItemChangeAll->trigger();
    QVERIFY(form.ChessBrd->WhiteOnTop());
    QCOMPARE(form.ShapeFarbeSpieler1->BrushColor(), QColor(Qt::white));
    QCOMPARE(form.MenuItemChangeAll->shortcut(), QKeySequence("Ctrl+C"));
}

void TestFormMainBoardFunctions::renamingAPlayer_data() {
    QTest::addColumn<int>("player");
    QTest::addColumn<bool>("typed"); // false: the box is cancelled
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("gameDataName");
    const QString longName(60, 'x');
    QTest::newRow("player 1") << 1 << true << "Anna"
                              << "Anna"
                              << "Anna";
    QTest::newRow("player 2") << 2 << true << "Bernd"
                              << "Bernd"
                              << "Bernd";
    QTest::newRow("empty answer") << 1 << true << ""
                                  << "Spieler 1"
                                  << "";
    QTest::newRow("cancel") << 2 << false << ""
                            << "Spieler 2"
                            << "";
    QTest::newRow("60 characters") << 1 << true << longName << longName << longName.left(50);
}

void TestFormMainBoardFunctions::renamingAPlayer() {
    QFETCH(int, player);
    QFETCH(bool, typed);
    QFETCH(QString, answer);
    QFETCH(QString, label);
    QFETCH(QString, gameDataName);
    TFormMain& form = NewWindow({});
    form.BitBtnWeiterClick();
    QLabel* name = player == 1 ? form.LabelSpieler1 : form.LabelSpieler2;
    const QString before = name->text();
    FDialogs->InputAnswers << (typed ? std::optional<QString>(answer) : std::nullopt);
    QTest::mouseClick(name, Qt::LeftButton);
    QCOMPARE(FDialogs->Inputs.size(), 1);
    QCOMPARE(FDialogs->Inputs[0].Caption, "Spielernamen ändern");
    QCOMPARE(FDialogs->Inputs[0].Prompt, QString("Geben Sie den Namen für Spieler %1 ein:").arg(player));
    QCOMPARE(FDialogs->Inputs[0].Default, before);
    QCOMPARE(name->text(), label);
    const QString stored = player == 1 ? form.PartieDaten.Player1Name() : form.PartieDaten.Player2Name();
    if (!gameDataName.isEmpty()) QCOMPARE(stored, gameDataName);
    QVERIFY(!form.GameStopped); // the game goes on
    QTest::mouseClick(name, Qt::RightButton);
    QCOMPARE(FDialogs->Inputs.size(), 1); // only the left button renames
}

// The next game starts from a queued call: when the mating move returns, the mate is still on the
// board; once the events are handled, a new game runs at the next level.
void TestFormMainBoardFunctions::testModeStartsTheNextGameAfterTheMate() {
    TFormMain& form = NewWindow("[GameStart]\nLevel=1\nPlayer1=0\nPlayer2=0\n"
                                "[Test]\nAutoplay=1\nPlayedAutoGames=7\nChangeLevel=1\n");
    PlayFoolsMate(form);
    QVERIFY(form.ChessBrd->Position() != StartPosition);
    QTRY_COMPARE(Settings().PlayedAutoGames, 8);
    QCOMPARE(form.ChessBrd->Position(), std::string(StartPosition));
    QVERIFY(!form.FGameOver);
    QVERIFY(!form.GameStopped);
    QCOMPARE(form.ChessBrd->SearchDepth(), 2);
    QCOMPARE(ReadSetting("Test", "PlayedAutoGames", 0), 8); // written at once
}

void TestFormMainBoardFunctions::testModePlaysTheEnginesFirstMove() {
    TFormMain& form = NewWindow("[GameStart]\nLevel=1\nPlayer1=0\nPlayer2=0\n[Test]\nAutoplay=1\n");
    PlayFoolsMate(form);
    form.ComboBoxSpieler2->setCurrentIndex(pkComputer); // white, before the queued call comes
    form.ComboBoxSpieler2Change();
    QTRY_COMPARE(Settings().PlayedAutoGames, 1);
    QVERIFY(!form.FFirstMovePending);
    QVERIFY(!form.ChessBrd->WhiteToMove());    // white's first move is on the board
    QCOMPARE(form.ChessBrd->SearchDepth(), 1); // ChangeLevel is off
}

void TestFormMainBoardFunctions::testModeOffDoesNothing() {
    TFormMain& form = NewWindow("[GameStart]\nPlayer1=0\nPlayer2=0\n");
    PlayFoolsMate(form);
    const std::string mate = form.ChessBrd->Position();
    QTest::qWait(50);
    QCOMPARE(form.ChessBrd->Position(), mate);
    QVERIFY(form.FGameOver);
    QCOMPARE(ReadSetting("Test", "PlayedAutoGames", -1), -1);
}

void TestFormMainBoardFunctions::testModeClimbsTheLevels_data() {
    QTest::addColumn<int>("sdmf");
    QTest::addColumn<QList<int>>("depths");
    QTest::newRow("master at depth 5 stays") << 0 << QList<int>{2, 3, 4, 5, 5, 5};
    QTest::newRow("master at depth 6 starts again") << 1 << QList<int>{2, 3, 4, 6, 1, 2};
}

void TestFormMainBoardFunctions::testModeClimbsTheLevels() {
    QFETCH(int, sdmf);
    QFETCH(QList<int>, depths);
    TFormMain& form = NewWindow(QString("SDMF=%1\n[GameStart]\nLevel=1\nPlayer1=0\nPlayer2=0\n"
                                        "[Test]\nAutoplay=1\nChangeLevel=1\n")
                                    .arg(sdmf));
    QList<int> seen;
    for (int i = 0; i < depths.size(); ++i) {
        form.AutoplayNext();
        seen << form.ChessBrd->SearchDepth();
    }
    QCOMPARE(seen, depths);
    QCOMPARE(ReadSetting("Test", "PlayedAutoGames", 0), depths.size());
}

QTEST_MAIN(TestFormMainBoardFunctions)
#include "tst_formmain_boardfunctions.moc"
