// The real main window, offscreen, saving and loading games and quick-saving positions: a game saved
// and loaded again plays on as before, a decided game stays decided, a blitz game keeps its clocks, a
// damaged file is refused with the game untouched, and the save dialog's questions are asked.

#include "DialogRecorder.h"
#include "FileSizeLimit.h"
#include "FormMainTestSupport.h"
#include "FormWidgets.h"
#include "IniFile.h"
#include "TestFiles.h"
#include "TextGameFile.h"
#include "UnitDialogFunctions.h"
#include "UnitSettings.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Castling, an en-passant capture and a promotion (to the queen the dialog offers).
constexpr auto RichLine =
    "E2-E4 A7-A6 E4-E5 D7-D5 E5-D6 B7-B6 D6-C7 D8-D7 C7-B8 A8-A7 G1-F3 H7-H6 F1-E2 H6-H5 "
    "E1-G1 H5-H4";
constexpr auto FoolsMate = "F2-F3 E7-E5 G2-G4 D8-H4";
constexpr auto HumansIni = "[Common]\nLanguage=German\nAnimateMoves=0\nPlaySound=0\nShowMessages=0\n"
                           "[GameStart]\nPlayer1=0\nPlayer2=0\n";

QStringList MoveList(const TFormMain& form) {
    QStringList lines;
    for (int i = 0; i < form.ListBoxZuege->count(); ++i)
        lines << form.ListBoxZuege->item(i)->text();
    return lines;
}

// What a person sees of a game: position, line, seats, clocks and game data.
struct TGameView {
    std::string Position;
    QStringList Moves;
    QStringList Seats;
    quint32 Total1, Total2;
    QString Event;
    int Result;

    static TGameView Of(const TFormMain& form) {
        return {form.ChessBrd->Position(),
                MoveList(form),
                {form.LabelSpieler1->text(), form.LabelSpieler2->text(), form.LabelSpieler1Status->text(),
                 form.LabelSpieler2Status->text(), QString::number(form.ComboBoxSpieler1->currentIndex()),
                 form.PanelSpieler1Gesamtzeit->text(), form.PanelMatchTime->text()},
                form.ClockPlayer1.TotalTime,
                form.ClockPlayer2.TotalTime,
                form.PartieDaten.Event(),
                form.PartieDaten.Result()};
    }
    bool operator==(const TGameView&) const = default;
};

} // namespace

// Records the small message windows that are shown while it exists.
struct ShownWindows : QObject {
    QStringList Texts;
    QPointer<QLabel> Window;
    ShownWindows() { qApp->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* label = qobject_cast<QLabel*>(watched);
        if (event->type() == QEvent::Show && label && label->objectName() == "MessageWindow") {
            Texts << label->text();
            Window = label;
        }
        return false;
    }
};

class TestFormMainFiles : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void fileItemsAreEnabledAndAskForAFile();
    void savedGameLoadsInANewWindowAndPlaysOn();
    void decidedGameStaysDecided();
    void blitzGameContinuesWithItsClocks();
    void damagedFileLeavesTheGameUntouched();
    void overwriteQuestionAndTextFormatNames();
    void failedSaveIsReportedAndKeepsTheOldFile();
    void quickSaveAndRestore();
    void quickRestoreWithBlackToMoveStartsACleanLine();
    void quickSaveRefusesADescriptionTheFileCannotHold();
    void textGameReplaysItsMoves();
    void textGameVersionsCompareAsNumbers_data();
    void textGameVersionsCompareAsNumbers();

private:
    TFormMain& NewWindow();
    void Play(TFormMain& form, const QString& line);
    QString SaveAs(TFormMain& form, const QString& name);
    void Load(TFormMain& form, const QString& name);

    QTemporaryDir FDir;
    std::unique_ptr<TFormMain> FForm;
    std::unique_ptr<DialogRecorder> FDialogs;
};

void TestFormMainFiles::init() {
    PrepareProgramDir(FDir, HumansIni);
    FDialogs = std::make_unique<DialogRecorder>();
}

void TestFormMainFiles::cleanup() {
    CloseFormMain(FForm);
    FDialogs.reset();
}

TFormMain& TestFormMainFiles::NewWindow() {
    CloseFormMain(FForm);
    SetProgramDir(FDir.path());
    Settings() = TSettings{};
    return ShowNewFormMain(FForm);
}

void TestFormMainFiles::Play(TFormMain& form, const QString& line) {
    form.BitBtnWeiterClick();
    form.TimerAktualisierung.stop(); // the test ticks by hand
    for (const QString& move : line.split(' ', Qt::SkipEmptyParts)) {
        QVERIFY2(form.ChessBrd->PlayMove(SquareIndex(move.left(2).toStdString()),
                                         SquareIndex(move.mid(3, 2).toStdString())),
                 qPrintable(move));
        if (!form.FGameOver) form.TimerAktualisierungTimer();
    }
}

QString TestFormMainFiles::SaveAs(TFormMain& form, const QString& name) {
    const QString path = FDir.filePath(name);
    FDialogs->FileAnswers << path;
    form.SaveGameFile();
    return path;
}

void TestFormMainFiles::Load(TFormMain& form, const QString& name) {
    FDialogs->FileAnswers << name;
    form.MenuItemLaden->trigger();
}

void TestFormMainFiles::fileItemsAreEnabledAndAskForAFile() {
    TFormMain& form = NewWindow();
    for (QAction* action : {form.MenuItemLaden, form.ToolButtonLoadGame, form.MenuItemSpeichern,
                            form.ToolButtonSaveGame, form.MenuItemQuickSave, form.MenuItemQuickRestore})
        QVERIFY2(action->isEnabled(), qPrintable(action->objectName()));
    form.ToolButtonLoadGame->trigger(); // cancelled
    form.ToolButtonSaveGame->trigger(); // cancelled
    QCOMPARE(FDialogs->Files.size(), 2);
    QCOMPARE(FDialogs->Files[0].Kind, TFileDialogKind::Open);
    QCOMPARE(FDialogs->Files[0].Title, "Partie laden");
    for (const char* pattern : {"*.tn2", "*.TN2", "*.nt", "*.NT", "*.tn", "*.TN"})
        QVERIFY2(ToQtFilter(FDialogs->Files[0].Filter).contains(pattern), pattern);
    QCOMPARE(FDialogs->Files[1].Kind, TFileDialogKind::Save);
    QCOMPARE(FDialogs->Files[1].Title, "Partie speichern");
    QCOMPARE(FDialogs->Files[1].DefaultExtension, "tn2");
    QVERIFY(ToQtFilter(FDialogs->Files[1].Filter).contains("*.TN2"));
    QVERIFY(FDialogs->Messages.isEmpty());
    QCOMPARE(form.MenuItemQuickSave->shortcut(), QKeySequence(Qt::Key_F7));
    QCOMPARE(form.MenuItemQuickRestore->shortcut(), QKeySequence(Qt::Key_F6));
}

void TestFormMainFiles::savedGameLoadsInANewWindowAndPlaysOn() {
    TFormMain& form = NewWindow();
    form.GameClock.SetSource([] { return qint64(0); }); // the clocks show what the test sets
    form.LabelSpieler1->setText("Jürgen Schwarz");
    form.LabelSpieler2->setText("Anna Weiß");
    Play(form, RichLine);
    QCOMPARE(form.ChessBrd->PieceAt(B8), 'Q');
    form.ClockPlayer1 = {8, 7000, 61'000};
    form.ClockPlayer2 = {8, 5250, 42'000}; // 42 s over 8 moves
    form.PartieDaten.SetEvent("Vereinsmeisterschaft €");
    form.PartieDaten.SetResult(1);
    form.BitBtnStopClick();
    const QStringList movesBefore = MoveList(form);
    const QString file = SaveAs(form, "rich.tn2");
    QCOMPARE(ReadAll(file).size(), qsizetype(82'760));
    QVERIFY(FDialogs->Messages.isEmpty());

    TFormMain& loaded = NewWindow();
    Load(loaded, file);
    QVERIFY2(FDialogs->Messages.isEmpty(), qPrintable(FDialogs->MessageTexts().join('|')));
    QCOMPARE(MoveList(loaded), movesBefore);
    QCOMPARE(loaded.ChessBrd->Position(), [] {
        TChessRules rules;
        for (const QString& move : QString(RichLine).split(' '))
            rules.MakeMove(SquareIndex(move.left(2).toStdString()),
                           SquareIndex(move.mid(3, 2).toStdString()));
        return rules.Position();
    }()); // the loader goes to the end of the line
    QCOMPARE(loaded.LabelSpieler1->text(), "Jürgen Schwarz");
    QCOMPARE(loaded.LabelSpieler2->text(), "Anna Weiß");
    QCOMPARE(loaded.ClockPlayer1.TotalTime, 61'000u);
    QCOMPARE(loaded.ClockPlayer2.TimePerMove, 5250);
    QCOMPARE(loaded.PanelSpieler1Gesamtzeit->text(), "00:01:01");
    QCOMPARE(loaded.PanelMatchTime->text(), "00:01:43");
    QCOMPARE(loaded.PartieDaten.Event(), "Vereinsmeisterschaft €");
    QCOMPARE(loaded.PartieDaten.Player1Name(), "Jürgen Schwarz");
    QCOMPARE(int(loaded.PartieDaten.Result()), 1);
    QVERIFY(loaded.GameStopped);
    QVERIFY(loaded.BitBtnWeiter->isEnabled());
    QCOMPARE(ReadAll(SaveAs(loaded, "again.tn2")), ReadAll(file)); // saved again unchanged: the same bytes

    // Navigation walks the same line: back to the promotion, forward again, a click on the first line.
    for (int i = 0; i < 8; ++i)
        loaded.BitBtnZugZurueckClick();
    QCOMPARE(loaded.ChessBrd->PieceAt(C7), 'P');
    QCOMPARE(loaded.ChessBrd->PieceAt(B8), 'n');
    loaded.BitBtnZugVorClick();
    QCOMPARE(loaded.ChessBrd->PieceAt(B8), 'Q');
    loaded.ToolButtonLastClick();
    QCOMPARE(loaded.ChessBrd->PieceAt(G1), 'K');
    loaded.ListBoxZuege->setCurrentRow(0);
    loaded.ListBoxZuegeClick();
    QCOMPARE(loaded.ChessBrd->PieceAt(E4), 'P');
    loaded.ToolButtonLastClick();

    // Weiter: the human to move plays on by dragging; the line grows from where it ended.
    loaded.BitBtnWeiterClick();
    loaded.TimerAktualisierung.stop();
    loaded.TimerAktualisierungTimer();
    QVERIFY(loaded.ChessBrd->isEnabled());
    QVERIFY(loaded.ChessBrd->WhiteToMove());
    Drag(*loaded.ChessBrd, B1, C3);
    QCOMPARE(loaded.ChessBrd->PieceAt(C3), 'N');
    QCOMPARE(loaded.ListBoxZuege->count(), movesBefore.size() + 1);
    QCOMPARE(loaded.ListBoxZuege->item(movesBefore.size())->text(), "9. B1-C3");
}

void TestFormMainFiles::decidedGameStaysDecided() {
    TFormMain& form = NewWindow();
    Play(form, FoolsMate);
    QVERIFY(form.FGameOver);
    QCOMPARE(form.LabelSpieler1Status->text(), "gewonnen");
    const QString file = SaveAs(form, "mate.tn2");
    const int result = form.PartieDaten.Result();
    const QStringList moves = MoveList(form);

    TFormMain& loaded = NewWindow();
    Load(loaded, file);
    QVERIFY(loaded.FGameOver);
    QCOMPARE(loaded.LabelSpieler1Status->text(), "gewonnen");
    QCOMPARE(loaded.LabelSpieler2Status->text(), "verloren");
    QCOMPARE(int(loaded.PartieDaten.Result()), result);
    QVERIFY(loaded.ListBoxZuege->isEnabled());
    QVERIFY(!loaded.BitBtnWeiter->isEnabled()); // a decided game
    QCOMPARE(MoveList(loaded), moves);
    const std::string final = loaded.ChessBrd->Position();
    loaded.BitBtnWeiterClick();
    loaded.TimerAktualisierungTimer();
    QTest::qWait(100);
    QCOMPARE(loaded.ChessBrd->Position(), final);
    QVERIFY(!loaded.ChessBrd->HasLegalMove());
}

void TestFormMainFiles::blitzGameContinuesWithItsClocks() {
    WriteIniFile(FDir,
                 QString(HumansIni) + "[Common]\nGameModus=1\nBlitzschachZeit=1\nBlitzschachWarnung=0\n");
    TFormMain& form = NewWindow();
    form.GameClock.SetSource([] { return qint64(0); });
    Play(form, "E2-E4 E7-E5");
    form.ClockPlayer1 = {2, 20'000, 40'000};
    form.ClockPlayer2 = {2, 29'000, 59'600}; // white, to move, has 400 ms left
    form.BitBtnStopClick();
    const QString file = SaveAs(form, "blitz.tn2");

    TFormMain& loaded = NewWindow();
    qint64 now = 0;
    loaded.GameClock.SetSource([&now] { return now; });
    Load(loaded, file);
    QCOMPARE(loaded.PanelSpieler2Gesamtzeit->text(), "00:00:59");
    loaded.BitBtnWeiterClick();
    loaded.TimerAktualisierung.stop();
    now += 250;
    loaded.TimerAktualisierungTimer();
    QCOMPARE(loaded.ClockPlayer2.TotalTime, 59'850u);
    QCOMPARE(loaded.ClockPlayer1.TotalTime, 40'000u); // black waits
    QVERIFY(!loaded.FGameOver);
    now += 250;
    loaded.TimerAktualisierungTimer();
    QVERIFY(loaded.FGameOver); // the minute is up for white
    QCOMPARE(loaded.LabelSpieler2Status->text(), "verloren");
}

void TestFormMainFiles::damagedFileLeavesTheGameUntouched() {
    TFormMain& form = NewWindow();
    Play(form, FoolsMate);
    const QString good = SaveAs(form, "good.tn2");
    QFile::copy(good, FDir.filePath("short.tn2"));
    QFile::resize(FDir.filePath("short.tn2"), 82'759);

    TFormMain& other = NewWindow();
    other.LabelSpieler1->setText("Ada");
    Play(other, "D2-D4 D7-D5 C2-C4");
    // Stopped first: a stop charges the time since the last move to the clock set here.
    other.BitBtnStopClick();
    other.ClockPlayer1 = {2, 1000, 2000};
    other.PartieDaten.SetSite("Bonn");
    const TGameView before = TGameView::Of(other);
    for (const QString& name : {FDir.filePath("short.tn2"), FDir.filePath("missing.tn2")}) {
        FDialogs->Messages.clear();
        Load(other, name);
        QCOMPARE(FDialogs->Messages.size(), 1);
        QVERIFY(FDialogs->Messages[0].Text.startsWith("Partie konnte nicht geladen werden."));
        QCOMPARE(FDialogs->Messages[0].Kind, TMsgDlgType::mtError);
        QVERIFY(TGameView::Of(other) == before);
        QCOMPARE(other.ClockPlayer1.TimePerMove, 1000);
        QCOMPARE(other.PartieDaten.Site(), "Bonn");
        QVERIFY(!other.FGameOver);
    }
    other.BitBtnWeiterClick();
    other.TimerAktualisierung.stop();
    QVERIFY(other.ChessBrd->PlayMove(E7, E6));
    QCOMPARE(other.ListBoxZuege->count(), 4);
}

void TestFormMainFiles::overwriteQuestionAndTextFormatNames() {
    TFormMain& form = NewWindow();
    Play(form, "E2-E4");
    const QString existing = FDir.filePath("kept.tn2");
    WriteAll(existing, "old");
    FDialogs->MessageAnswers << mrNo;
    SaveAs(form, "kept.tn2");
    QCOMPARE(FDialogs->MessageTexts(), QStringList({"Datei bereits vorhanden, überschreiben?"}));
    QCOMPARE(FDialogs->Messages[0].Buttons, TMsgDlgButtons(mbYes | mbNo));
    QCOMPARE(ReadAll(existing), QByteArray("old"));
    FDialogs->MessageAnswers << mrYes;
    SaveAs(form, "kept.tn2");
    QCOMPARE(ReadAll(existing).size(), qsizetype(82'760));

    SaveAs(form, "old.tn");
    SaveAs(form, "OLD.NT");
    QVERIFY(!QFile::exists(FDir.filePath("old.tn")));
    QCOMPARE(ReadAll(FDir.filePath("old.tn2")).size(), qsizetype(82'760));
    QCOMPARE(ReadAll(FDir.filePath("OLD.tn2")).size(), qsizetype(82'760));
    QCOMPARE(FDialogs->Messages.size(), 2); // no question for the new names

    // A file with a name the text format claims is read by the text loader; one it cannot read is refused.
    QFile textGame(FDir.filePath("game.TN"));
    QVERIFY(textGame.open(QIODevice::WriteOnly));
    textGame.write("[SquareList]\nPos0=E2-E4\n");
    textGame.close();
    FDialogs->Messages.clear();
    ShownWindows shown;
    Load(form, textGame.fileName());
    QCOMPARE(FDialogs->MessageTexts(), QStringList({"Partie wurde geladen"}));
    QCOMPARE(form.ListBoxZuege->count(), 1);
    // the loading message was on screen while the game was read, and is gone again
    QCOMPARE(shown.Texts, QStringList({" Partie wird geladen... "}));
    QVERIFY(!shown.Window || !shown.Window->isVisible());
    Load(form, FDir.filePath("game.nt"));
    QCOMPARE(FDialogs->MessageTexts().last(), "Partie konnte nicht geladen werden.");
}

void TestFormMainFiles::failedSaveIsReportedAndKeepsTheOldFile() {
    TFormMain& form = NewWindow();
    Play(form, "E2-E4");
    const QString name = FDir.filePath("full.tn2");
    WriteAll(name, "old game");
    FDialogs->MessageAnswers << mrYes;
    {
        const FileSizeLimit diskFull(1000);
        SaveAs(form, "full.tn2");
    }
    QCOMPARE(FDialogs->Messages.size(), 2);
    QVERIFY(
        FDialogs->Messages[1].Text.startsWith("Die Partie konnte nicht in " + name + " gespeichert werden."));
    QCOMPARE(FDialogs->Messages[1].Kind, TMsgDlgType::mtError);
    QCOMPARE(ReadAll(name), QByteArray("old game"));
}

void TestFormMainFiles::quickSaveAndRestore() {
    TFormMain& form = NewWindow();
    Play(form, "E2-E4 E7-E5 G1-F3");
    const std::string saved = form.ChessBrd->Position();
    FDialogs->InputAnswers << QString("Königsspringer");
    form.MenuItemQuickSave->trigger();
    QCOMPARE(FDialogs->Inputs.size(), 1);
    QCOMPARE(FDialogs->Inputs[0].Caption, "Position speichern");
    QCOMPARE(FDialogs->MessageTexts(), QStringList({"Aktuelle Position wurde gespeichert!"}));
    QVERIFY(!form.GameStopped); // the game goes on
    TIniFile ini;
    QVERIFY(ini.Load(FDir.filePath("tessaron.ini")));
    const QString quoted = '"' + QString::fromStdString(saved) + '"';
    QVERIFY(QString::fromUtf8(ReadAll(FDir.filePath("tessaron.ini"))).contains("Königsspringer=" + quoted));
    QVERIFY(QString::fromUtf8(ReadAll(FDir.filePath("tessaron.ini"))).contains("Position=" + quoted));
    QCOMPARE(ini.Value("Game", "Position"), QString::fromStdString(saved));
    QCOMPARE(ini.Value("Game", "WhiteToMove"), "0");

    Play(form, "B8-C6 F1-C4");
    form.ClockPlayer1.TotalTime = 9000;
    FDialogs->MessageAnswers << mrNo;
    form.MenuItemQuickRestore->trigger();
    QVERIFY(form.GameStopped);
    QCOMPARE(form.ListBoxZuege->count(), 5);
    FDialogs->MessageAnswers << mrYes;
    form.MenuItemQuickRestore->trigger();
    QCOMPARE(form.ChessBrd->Position(), saved);
    QVERIFY(!form.ChessBrd->WhiteToMove());
    QCOMPARE(MoveList(form), QStringList({"1.  ...   "})); // nothing of the earlier game
    QCOMPARE(form.PanelSpieler1Gesamtzeit->text(), "00:00:00");
    QVERIFY(!form.GameStopped);
    QVERIFY(form.TimerAktualisierung.isActive());
    form.TimerAktualisierung.stop();
    QVERIFY(form.ChessBrd->PlayMove(B8, C6));
    QCOMPARE(MoveList(form), QStringList({"1.  ...   ", "              B8-C6"}));
}

// A game that repeated the saved position twice must not make its third coming a draw, nor show its moves.
void TestFormMainFiles::quickRestoreWithBlackToMoveStartsACleanLine() {
    TFormMain& form = NewWindow();
    Play(form, "G1-F3");
    form.MenuItemQuickSave->trigger(); // no description
    Play(form, "G8-F6 F3-G1 F6-G8 G1-F3 G8-F6 F3-G1 F6-G8");
    FDialogs->MessageAnswers << mrYes;
    form.MenuItemQuickRestore->trigger();
    form.TimerAktualisierung.stop();
    for (const auto& [from, to] : {std::pair{G8, F6}, {F3, G1}, {F6, G8}, {G1, F3}})
        QVERIFY(form.ChessBrd->PlayMove(from, to));
    QVERIFY(!form.FGameOver);
    QVERIFY(!form.ChessBrd->IsThreefoldRepetition());
    QCOMPARE(form.ListBoxZuege->count(), 5);
    QCOMPARE(form.ListBoxZuege->item(1)->text(), "              G8-F6");
}

void TestFormMainFiles::quickSaveRefusesADescriptionTheFileCannotHold() {
    TFormMain& form = NewWindow();
    FDialogs->InputAnswers << QString("[Common]");
    form.MenuItemQuickSave->trigger();
    QCOMPARE(FDialogs->Messages.size(), 2);
    QCOMPARE(FDialogs->Messages[0].Kind, TMsgDlgType::mtWarning);
    QCOMPARE(FDialogs->Messages[1].Text, "Aktuelle Position wurde gespeichert!");
    TIniFile ini;
    QVERIFY(ini.Load(FDir.filePath("tessaron.ini")));
    QVERIFY(!ini.HasKey("Positions", "[Common]"));
    QVERIFY(ini.HasKey("Game", "Position"));
}

// The defaults of a file with only its moves, one of them refused by the rules.
void TestFormMainFiles::textGameReplaysItsMoves() {
    TFormMain& form = NewWindow();
    form.LabelSpieler1->setText("Ada");
    Play(form, "D2-D4");
    TTextGame game;
    game.Moves = {{E2, E4}, {E7, E5}, {E1, E3}, {G1, F3}};
    game.Player1.Clock = {1, 500, 1000};
    game.Player2.Clock = {2, 750, 1500};
    game.WhiteToMove = true;
    form.ApplyTextGame(game);
    QCOMPARE(MoveList(form), QStringList({"1. E2-E4", "              E7-E5", "2. G1-F3"}));
    QVERIFY(!form.ChessBrd->WhiteToMove()); // the moves decide, not the file's side to move
    QCOMPARE(form.LabelSpieler1->text(), "Spieler 1");
    QCOMPARE(form.LabelSpieler2->text(), "Spieler 2");
    QCOMPARE(form.ComboBoxSpieler1->currentIndex(), int(pkMensch));
    QVERIFY(form.MenuItemAnfaenger->isChecked());
    QCOMPARE(form.PanelMatchTime->text(), "00:00:02");
    QCOMPARE(form.PartieDaten.Player1Name(), "Spieler 1");
    QVERIFY(!form.FGameOver);
    QVERIFY(form.GameStopped);
    QVERIFY(!form.FReplaying);
    QVERIFY(Settings().ShowMessages == false && Settings().PlaySound == false); // as the test's settings say
    QCOMPARE(FDialogs->MessageTexts().last(),
             "Partie wurde geladen\r\r1 Züge der Datei wurden übersprungen, weil sie nicht erlaubt sind.");

    TTextGame withoutMoves; // takes the side to move the file names for after the moves
    withoutMoves.WhiteToMove = false;
    form.ApplyTextGame(withoutMoves);
    QVERIFY(!form.ChessBrd->WhiteToMove());
    QCOMPARE(MoveList(form), QStringList({"1.  ...   "}));
}

void TestFormMainFiles::textGameVersionsCompareAsNumbers_data() {
    QTest::addColumn<QString>("version");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("1.6") << "1.6" << false;
    QTest::newRow("1.7") << "1.7" << true;
    QTest::newRow("1.10") << "1.10" << true;
    QTest::newRow("2.0") << "2.0" << true;
    QTest::newRow("0.9") << "0.9" << false;
}

void TestFormMainFiles::textGameVersionsCompareAsNumbers() {
    QFETCH(QString, version);
    QFETCH(bool, accepted);
    TFormMain& form = NewWindow();
    TTextGame game;
    game.Version = version;
    game.Moves = {{E2, E4}};
    form.ApplyTextGame(game);
    QCOMPARE(form.ListBoxZuege->count(), accepted ? 1 : 0);
    QCOMPARE(form.ChessBrd->WhiteToMove(), !accepted);
    QCOMPARE(FDialogs->Messages.last().Kind, accepted ? TMsgDlgType::mtCustom : TMsgDlgType::mtError);
}

QTEST_MAIN(TestFormMainFiles)
#include "tst_formmain_files.moc"
