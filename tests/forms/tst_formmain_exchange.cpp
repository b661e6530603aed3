// The real main window, offscreen, exchanging positions and games with other programs: the move
// list in standard notation navigates as the default one, the position goes to the clipboard as FEN
// and a pasted FEN starts a new game, a game exported as PGN loads back the same, a file of several
// games offers a choice, and a game that cannot be replayed is refused with the current game kept.

#include "DialogRecorder.h"
#include "FormMainTestSupport.h"
#include "Pgn.h"
#include "UnitFormPgnGames.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr auto HumansIni = "[Common]\nLanguage=German\nAnimateMoves=0\nPlaySound=0\nShowMessages=0\n"
                           "[GameStart]\nPlayer1=0\nPlayer2=0\n";

QStringList MoveList(const TFormMain& form) {
    QStringList lines;
    for (int i = 0; i < form.ListBoxZuege->count(); ++i)
        lines << form.ListBoxZuege->item(i)->text();
    return lines;
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray Corpus() {
    return ReadFile(QString(TESSARON_SOURCE_DIR) + "/tests/data/pgn/tricky.pgn");
}

} // namespace

class TestFormMainExchange : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void sanMoveListNavigatesTheSame();
    void fenToAndFromTheClipboard();
    void malformedFenKeepsTheGame();
    void exportedGameLoadsBackTheSame();
    void severalGamesOfferAChoice();
    void unplayableGameKeepsTheCurrentOne();
    void windowsCodePageAndGameFileName();
    void gameListShowsTheTags();

private:
    TFormMain& NewWindow() { return ReopenFormMain(FForm, FDir); }
    static void Play(TFormMain& form, const QString& line) { PlayMoves(form, line); }

    QTemporaryDir FDir;
    std::unique_ptr<TFormMain> FForm;
    std::unique_ptr<DialogRecorder> FDialogs;
};

void TestFormMainExchange::init() {
    PrepareProgramDir(FDir, HumansIni);
    FDialogs = std::make_unique<DialogRecorder>();
}

void TestFormMainExchange::cleanup() {
    CloseFormMain(FForm);
    FDialogs.reset();
}

void TestFormMainExchange::sanMoveListNavigatesTheSame() {
    TFormMain& form = NewWindow();
    Play(form, "E2-E4 E7-E5 G1-F3 B8-C6 F1-B5 A7-A6");
    form.BitBtnStopClick();
    const QStringList squares = MoveList(form);
    form.MenuItemSanMoveList->trigger();
    QCOMPARE(MoveList(form), QStringList({"1. e4", "              e5", "2. Nf3", "              Nc6",
                                          "3. Bb5", "              a6"}));
    QVERIFY(ReadSetting("Common", "MoveListSAN", false));
    form.ListBoxZuege->setCurrentRow(2);
    form.ListBoxZuegeClick();
    const std::string afterNf3 = form.ChessBrd->Position();
    form.BitBtnZugZurueckClick();
    QCOMPARE(form.ListBoxZuege->count(), 6);
    form.MenuItemSanMoveList->trigger();
    QCOMPARE(MoveList(form), squares);
    form.ListBoxZuege->setCurrentRow(2);
    form.ListBoxZuegeClick();
    QCOMPARE(form.ChessBrd->Position(), afterNf3);

    TFormMain& again = NewWindow(); // the setting is read at start
    QVERIFY(!again.MenuItemSanMoveList->isChecked());
    again.MenuItemSanMoveList->trigger();
    QVERIFY(NewWindow().MenuItemSanMoveList->isChecked());
}

void TestFormMainExchange::fenToAndFromTheClipboard() {
    TFormMain& form = NewWindow();
    Play(form, "E2-E4 E7-E5 G1-F3");
    form.MenuItemCopyFen->trigger();
    QCOMPARE(QApplication::clipboard()->text(),
             "rnbqkbnr/pppp1ppp/8/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R b KQkq - 1 2");

    // A puzzle with black to move: a clean line that begins at black's 31st move. The half-move
    // clock counts from the set-up, since the board keeps no clock of its own.
    QApplication::clipboard()->setText("  3r2k1/5ppp/8/8/8/8/5PPP/6K1 b - - 3 31 \n");
    form.MenuItemPasteFen->trigger();
    QVERIFY2(FDialogs->Messages.isEmpty(), qPrintable(FDialogs->MessageTexts().join('|')));
    QCOMPARE(form.ChessBrd->Position(),
             std::string("   r  k      ppp") + std::string(32, ' ') + "     PPP      K ");
    QVERIFY(!form.ChessBrd->WhiteToMove());
    QCOMPARE(MoveList(form), QStringList({"31.  ...   "}));
    QVERIFY(form.ChessBrd->PlayMove(D8, D1));
    QCOMPARE(MoveList(form), QStringList({"31.  ...   ", "              D8-D1"}));
    form.MenuItemCopyFen->trigger();
    QCOMPARE(QApplication::clipboard()->text(), "6k1/5ppp/8/8/8/8/5PPP/3r2K1 w - - 1 32");
}

void TestFormMainExchange::malformedFenKeepsTheGame() {
    TFormMain& form = NewWindow();
    Play(form, "E2-E4");
    const QStringList before = MoveList(form);
    for (const char* text : {"not a position", "8/8/8/8/8/8/8/8 w - - 0 1", "k7/8/8/8/8/8/8/R6K w - - 0 1"}) {
        QApplication::clipboard()->setText(text);
        form.PasteFenFromClipboard();
    }
    QCOMPARE(FDialogs->Messages.size(), 3);
    QVERIFY(FDialogs->Messages[0].Text.contains("not a position"));
    QVERIFY(FDialogs->Messages[1].Text.contains("king"));
    QVERIFY(FDialogs->Messages[2].Text.contains("check"));
    QCOMPARE(FDialogs->Messages[0].Kind, TMsgDlgType::mtError);
    QCOMPARE(MoveList(form), before);
}

// Castling, en passant and a promotion, names, event and result: exported, loaded into a fresh
// window and exported again, the text is the same, and the game plays on.
void TestFormMainExchange::exportedGameLoadsBackTheSame() {
    TFormMain& form = NewWindow();
    form.LabelSpieler1->setText("Jürgen Schwarz"); // black
    form.LabelSpieler2->setText("Anna Weiß");      // white
    Play(form, "E2-E4 A7-A6 E4-E5 D7-D5 E5-D6 B7-B6 D6-C7 D8-D7 C7-B8 A8-A7 G1-F3 H7-H6 F1-E2 H6-H5 E1-G1");
    form.BitBtnStopClick();
    form.PartieDaten.SetPlayer1Name("Jürgen Schwarz");
    form.PartieDaten.SetPlayer2Name("Anna Weiß");
    form.PartieDaten.SetEvent("Vereinsmeisterschaft");
    form.PartieDaten.SetPlayer2Elo(1850);
    form.PartieDaten.SetRound(4);
    form.PartieDaten.SetResult(TPartieDaten::ResultPlayer2Wins);
    form.PartieDaten.SetComments("Eine {kurze} Partie");
    const QString file = FDir.filePath("game.pgn");
    FDialogs->FileAnswers << file;
    form.MenuItemExportPgn->trigger();
    const QString text = QString::fromUtf8(ReadFile(file));
    QVERIFY2(text.contains("[White \"Anna Weiß\"]\n[Black \"Jürgen Schwarz\"]\n[Result \"1-0\"]"),
             qPrintable(text));
    QVERIFY2(text.contains("[WhiteElo \"1850\"]"), qPrintable(text));
    QVERIFY2(text.contains("{Eine kurze Partie} 1. e4 a6 2. e5 d5 3. exd6 b6 4. dxc7 Qd7 5. cxb8=Q Ra7"),
             qPrintable(text));
    QVERIFY2(text.endsWith("8. O-O 1-0\n\n"), qPrintable(text));
    const QStringList moves = MoveList(form);
    const std::string position = form.ChessBrd->Position();

    TFormMain& loaded = NewWindow();
    loaded.LoadGameFile(file);
    QVERIFY2(FDialogs->Messages.isEmpty(), qPrintable(FDialogs->MessageTexts().join('|')));
    QCOMPARE(MoveList(loaded), moves);
    QCOMPARE(loaded.ChessBrd->Position(), position);
    QCOMPARE(loaded.LabelSpieler2->text(), "Anna Weiß");
    QCOMPARE(loaded.PartieDaten.Event(), "Vereinsmeisterschaft");
    QCOMPARE(loaded.PartieDaten.Result(), quint8(TPartieDaten::ResultPlayer2Wins));
    loaded.CopyPgnToClipboard();
    QCOMPARE(QApplication::clipboard()->text(), text);
    loaded.ToolButtonFirstClick();
    loaded.BitBtnWeiterClick();
    loaded.TimerAktualisierung.stop();
    QVERIFY(loaded.ChessBrd->PlayMove(SquareIndex("E7"), SquareIndex("E5"))); // play on from move 1
    QCOMPARE(loaded.ListBoxZuege->count(), 2);
}

void TestFormMainExchange::severalGamesOfferAChoice() {
    TFormMain& form = NewWindow();
    const QString file = FDir.filePath("tricky.pgn");
    WriteFile(file, Corpus());
    int offered = 0;
    form.ChoosePgnGame = [&offered](const std::vector<TPgnGame>& games) {
        offered = static_cast<int>(games.size());
        return 1;
    };
    QVERIFY(form.OpenPgnFile(file));
    QCOMPARE(offered, 6);
    QVERIFY2(FDialogs->Messages.isEmpty(), qPrintable(FDialogs->MessageTexts().join('|')));
    QCOMPARE(MoveList(form),
             QStringList({"50. A7-A8", "              A2-A1", "51. A8-B7", "              H7-G6"}));
    QVERIFY(form.ChessBrd->WhiteToMove());
    QCOMPARE(form.ChessBrd->PieceAt(B7), 'Q');
    QCOMPARE(form.ChessBrd->PieceAt(A1), 'q');

    form.ChoosePgnGame = [](const std::vector<TPgnGame>&) { return 0; }; // a mate
    QVERIFY(form.OpenPgnFile(file));
    QVERIFY(form.FGameOver);
    QCOMPARE(form.LabelSpieler2->text(), "Weiß, Max");
    QCOMPARE(form.PartieDaten.Comments(), "The whole game in one comment");
    QCOMPARE(form.PartieDaten.ECO(), "C20");
    QCOMPARE(form.PartieDaten.Year(), 2026);
    QCOMPARE(form.PartieDaten.Round(), 3);

    form.ChoosePgnGame = [](const std::vector<TPgnGame>&) { return -1; }; // cancelled
    QVERIFY(!form.OpenPgnFile(file));
    QCOMPARE(form.ListBoxZuege->count(), 7);
}

void TestFormMainExchange::unplayableGameKeepsTheCurrentOne() {
    TFormMain& form = NewWindow();
    Play(form, "D2-D4 D7-D5");
    const QStringList before = MoveList(form);
    form.ChoosePgnGame = [](const std::vector<TPgnGame>&) { return 4; };
    QApplication::clipboard()->setText(QString::fromUtf8(Corpus()));
    form.MenuItemPastePgn->trigger();
    QCOMPARE(FDialogs->Messages.size(), 1);
    const QString message = FDialogs->Messages[0].Text;
    QVERIFY2(message.contains("Partie 5 (X - Y)") && message.contains("Zug 2. (Ke3)"), qPrintable(message));
    QCOMPARE(MoveList(form), before);

    // A game that goes on after a threefold repetition cannot be played on this board.
    QApplication::clipboard()->setText("1. Nf3 Nf6 2. Ng1 Ng8 3. Nf3 Nf6 4. Ng1 Ng8 5. e4 *");
    form.PastePgnFromClipboard();
    QCOMPARE(FDialogs->Messages.size(), 2);
    QVERIFY2(FDialogs->Messages[1].Text.contains("Zug 5. (e4)"), qPrintable(FDialogs->Messages[1].Text));
    QApplication::clipboard()->setText("no game here");
    form.PastePgnFromClipboard();
    QCOMPARE(FDialogs->Messages.size(), 3);
    QCOMPARE(MoveList(form), before);
}

void TestFormMainExchange::windowsCodePageAndGameFileName() {
    TFormMain& form = NewWindow();
    const QString file = FDir.filePath("OLD.PGN");
    WriteFile(file, QByteArray("[White \"Wei\xdf\"]\n[Black \"M\xfcller\"]\n\n1. e4 *\n"));
    form.LoadGameFile(file); // as the command line opens it
    QVERIFY2(FDialogs->Messages.isEmpty(), qPrintable(FDialogs->MessageTexts().join('|')));
    QCOMPARE(form.LabelSpieler2->text(), "Weiß");
    QCOMPARE(form.LabelSpieler1->text(), "Müller");
    QCOMPARE(MoveList(form), QStringList({"1. E2-E4"}));
    form.OpenPgnFile(FDir.filePath("missing.pgn"));
    QCOMPARE(FDialogs->Messages.size(), 1);
    QVERIFY(FDialogs->Messages[0].Text.contains("missing.pgn"));
}

void TestFormMainExchange::gameListShowsTheTags() {
    const std::vector<TPgnGame> games = ReadPgn(Corpus().toStdString());
    TFormPgnGames list;
    list.ShowGames(games);
    QCOMPARE(list.TableGames->rowCount(), 6);
    QCOMPARE(list.TableGames->item(0, 0)->text(), "Weiß, Max");
    QCOMPARE(list.TableGames->item(0, 2)->text(), "1-0");
    QCOMPARE(list.TableGames->item(0, 3)->text(), "2026.12.06");
    QCOMPARE(list.TableGames->item(3, 4)->text(), "Variations");
    QCOMPARE(list.ChosenGame(), 0);
    list.show();
    list.TableGames->setFocus();
    QTest::keyClick(list.TableGames, Qt::Key_Down);
    QTest::keyClick(list.TableGames, Qt::Key_Down);
    QCOMPARE(list.ChosenGame(), 2);
}

QTEST_MAIN(TestFormMainExchange)
#include "tst_formmain_exchange.moc"
