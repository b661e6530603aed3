// The pieces-in-game and captured-pieces windows beside the real main window: their counts after
// captures, a promotion, a take-back, stepping through the list, a loaded game and a set-up position,
// and their view items, which open them where the settings file says and remember where they were.
// Set TESSARON_BOARD_PNG_DIR to a folder to get pictures of both windows there.

#include "DialogRecorder.h"
#include "FormMainTestSupport.h"
#include "GameRecord.h"
#include "PositionWindows.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace {

constexpr auto Ini = "[Common]\nLanguage=German\nAnimateMoves=0\nPlaySound=0\nShowMessages=0\nSaveOptions=1\n"
                     "[GameStart]\nPlayer1=0\nPlayer2=0\n[PieceInGame]\nLeft=40\nTop=50\n";

// The counts of rook, knight, bishop, queen, king, pawn, Black's then White's.
QList<int> Counts() {
    const TFormAnzeigeFigurenImSpiel& w = *FormAnzeigeFigurenImSpiel;
    QList<int> counts;
    for (const QLabel* label : {w.LabelBlackTurm, w.LabelBlackPferd, w.LabelBlackLaeufer, w.LabelBlackDame,
                                w.LabelBlackKoenig, w.LabelBlackBauer, w.LabelWhiteTurm, w.LabelWhitePferd,
                                w.LabelWhiteLaeufer, w.LabelWhiteDame, w.LabelWhiteKoenig, w.LabelWhiteBauer})
        counts << label->text().toInt();
    return counts;
}

// How many pictures of the piece the captured-pieces window shows, and that they are the first ones.
int Shown(char piece) {
    const QList<QLabel*> pictures = FormAnzeigeGeschlageneFiguren->Pictures(piece);
    int shown = 0;
    while (shown < pictures.size() && !pictures[shown]->isHidden())
        ++shown;
    for (int i = shown; i < pictures.size(); ++i)
        if (!pictures[i]->isHidden()) return -1;
    return shown;
}

int AllShown() {
    int shown = 0;
    for (char piece : std::string_view("PNBRQKpnbrqk"))
        shown += Shown(piece);
    return shown;
}

const QList<int> StartCounts = {2, 2, 2, 1, 1, 8, 2, 2, 2, 1, 1, 8};

} // namespace

class TestFormPieceWindows : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void designAndStartPosition();
    void missingPiecesRule();
    void capturesAndTakeBack();
    void promotionRaisesTheCount();
    void listNavigationAndLoadedGame();
    void setUpPositionWithThreeQueens();
    void emptyBoardShowsEveryPicture();
    void viewItemsOpenAndCloseTheWindows();
    void openWindowsAreRememberedAtExit();

private:
    void Play(std::initializer_list<std::pair<Square, Square>> moves);

    QTemporaryDir FDir;
    std::unique_ptr<TFormMain> FForm;
    std::unique_ptr<DialogRecorder> FDialogs;
};

void TestFormPieceWindows::init() {
    PrepareProgramDir(FDir, Ini);
    FDialogs = std::make_unique<DialogRecorder>();
    ShowNewFormMain(FForm);
    CreatePositionWindows(*FForm);
    FForm->StartNewGame(false);
}

void TestFormPieceWindows::cleanup() {
    CloseFormMain(FForm);
    ForgetPositionWindows();
    FDialogs.reset();
}

void TestFormPieceWindows::Play(std::initializer_list<std::pair<Square, Square>> moves) {
    for (const auto& [from, to] : moves) {
        QVERIFY(FForm->ChessBrd->PlayMove(from, to));
        FForm->ChessBrd->StopThinking();
    }
}

void TestFormPieceWindows::designAndStartPosition() {
    QCOMPARE(FormAnzeigeFigurenImSpiel->size(), QSize(200, 255));
    QCOMPARE(FormAnzeigeGeschlageneFiguren->size(), QSize(246, 310));
    QVERIFY(FormAnzeigeFigurenImSpiel->windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(FormAnzeigeFigurenImSpiel->LabelWhiteDame->geometry().right() + 1, 175);
    QCOMPARE(FormAnzeigeFigurenImSpiel->LabelBlackBauer->y(), 215);
    const QLabel* k = FormAnzeigeGeschlageneFiguren->findChild<QLabel*>("Image_w_k");
    QVERIFY(k);
    QCOMPARE(k->geometry(), QRect(36, 282, 25, 25));
    QVERIFY(FormAnzeigeGeschlageneFiguren->findChild<QLabel*>("Image_b_p8"));
    QVERIFY(FormAnzeigeGeschlageneFiguren->findChild<QLabel*>("Image_b_n2"));
    QCOMPARE(Counts(), StartCounts);
    QCOMPARE(AllShown(), 0);
}

void TestFormPieceWindows::missingPiecesRule() {
    QCOMPARE(MissingPieces(2, 0), 2);
    QCOMPARE(MissingPieces(2, 1), 1);
    QCOMPARE(MissingPieces(2, 2), 0);
    QCOMPARE(MissingPieces(2, 3), std::nullopt);
    QCOMPARE(MissingPieces(1, 2), std::nullopt);
    QCOMPARE(MissingPieces(8, 5), 3);
    QCOMPARE(MissingPieces(8, 9), std::nullopt);
}

void TestFormPieceWindows::capturesAndTakeBack() {
    Play({{E2, E4}, {D7, D5}, {E4, D5}});
    QList<int> expected = StartCounts;
    expected[5] = 7;
    QCOMPARE(Counts(), expected);
    QCOMPARE(Shown('p'), 1);
    QCOMPARE(AllShown(), 1);
    Play({{D8, D5}}); // the queen takes back
    expected[11] = 7;
    QCOMPARE(Counts(), expected);
    QCOMPARE(Shown('P'), 1);
    FForm->BitBtnZugZurueckClick();
    expected[11] = 8;
    QCOMPARE(Counts(), expected);
    QCOMPARE(Shown('P'), 0);
    QCOMPARE(Shown('p'), 1);
    FForm->BitBtnZugVorClick();
    QCOMPARE(Shown('P'), 1);
}

// A pawn runs through to b8 taking the knight there; a second queen leaves the queen picture alone.
void TestFormPieceWindows::promotionRaisesTheCount() {
    FForm->AskPromotionPiece = [] { return 5; }; // the queen
    Play({{A2, A4}, {B7, B5}, {A4, B5}, {A7, A6}, {B5, A6}, {H7, H6}, {A6, A7}, {H6, H5}, {A7, B8}});
    const QList<int> counts = Counts();
    QCOMPARE(counts[1], 1);  // black knights
    QCOMPARE(counts[5], 6);  // black pawns
    QCOMPARE(counts[9], 2);  // white queens
    QCOMPARE(counts[11], 7); // white pawns
    QCOMPARE(Shown('p'), 2);
    QCOMPARE(Shown('n'), 1);
    QCOMPARE(Shown('P'), 1);
    QCOMPARE(Shown('Q'), 0); // as it was
    if (const QString dir = qEnvironmentVariable("TESSARON_BOARD_PNG_DIR"); !dir.isEmpty()) {
        FormAnzeigeFigurenImSpiel->grab().save(dir + "/pieces-in-game.png");
        FormAnzeigeGeschlageneFiguren->grab().save(dir + "/captured-pieces.png");
    }
}

void TestFormPieceWindows::listNavigationAndLoadedGame() {
    Play({{E2, E4}, {D7, D5}, {E4, D5}, {G8, F6}});
    const QString file = FDir.filePath("partie.tn2");
    QVERIFY(FForm->ChessBrd->SaveGame(file, TGameRecord{}));
    FForm->ToolButtonFirstClick();
    QCOMPARE(Counts(), StartCounts);
    FForm->ToolButtonLastClick();
    QCOMPARE(Shown('p'), 1);
    FForm->StartNewGame(false);
    QCOMPARE(AllShown(), 0);
    FForm->LoadGameFile(file);
    QCOMPARE(Shown('p'), 1);
    QCOMPARE(Counts()[5], 7);
}

void TestFormPieceWindows::setUpPositionWithThreeQueens() {
    std::string position(64, ' ');
    for (Square sq : {A1, B1, C1})
        position[static_cast<size_t>(sq - 1)] = 'Q';
    position[E1 - 1] = 'K';
    position[E8 - 1] = 'k';
    FormSetPosition->SetFromPosition({position, true, 0, None});
    FormSetPosition->show();
    QTest::mouseClick(FormSetPosition->ButtonOk, Qt::LeftButton);
    QCOMPARE(FForm->ChessBrd->Position(), position);
    QCOMPARE(FormAnzeigeFigurenImSpiel->LabelWhiteDame->text(), "3");
    QCOMPARE(FormAnzeigeFigurenImSpiel->LabelWhiteBauer->text(), "0");
    QCOMPARE(Shown('Q'), 0); // left as it was: hidden since the start position
    QCOMPARE(Shown('P'), 8);
    QCOMPARE(Shown('q'), 1);
}

void TestFormPieceWindows::emptyBoardShowsEveryPicture() {
    FForm->ChessBrd->SetPosition(std::string(64, ' '));
    RecountPieceWindows();
    QCOMPARE(AllShown(), 32);
    QCOMPARE(Counts(), QList<int>(12, 0));
}

void TestFormPieceWindows::viewItemsOpenAndCloseTheWindows() {
    QAction* inGame = FForm->MenuItemAnzeigeFigurenImSpiel;
    QAction* captured = FForm->MenuItemAnzeigeGeschlageneFiguren;
    QVERIFY(inGame->isEnabled());
    QVERIFY(inGame->isCheckable());
    QVERIFY(!inGame->isChecked());
    Play({{E2, E4}, {D7, D5}, {E4, D5}});
    inGame->trigger();
    QVERIFY(inGame->isChecked());
    QVERIFY(FormAnzeigeFigurenImSpiel->isVisible());
    QCOMPARE(FormAnzeigeFigurenImSpiel->windowTitle(), "Figuren im Spiel");
    QCOMPARE(FormAnzeigeFigurenImSpiel->pos(), QPoint(40, 50));
    QCOMPARE(FormAnzeigeFigurenImSpiel->LabelBlackBauer->text(), "7");
    captured->trigger();
    QVERIFY(FormAnzeigeGeschlageneFiguren->isVisible());
    QCOMPARE(FormAnzeigeGeschlageneFiguren->windowTitle(), "geschlagene Figuren");
    QCOMPARE(FormAnzeigeGeschlageneFiguren->pos(), FForm->pos()); // no place stored: the main window's
    // Both follow the game while they are open.
    FForm->BitBtnZugZurueckClick();
    QCOMPARE(FormAnzeigeFigurenImSpiel->LabelBlackBauer->text(), "8");
    QCOMPARE(Shown('p'), 0);
    inGame->trigger();
    QVERIFY(!inGame->isChecked());
    QVERIFY(!FormAnzeigeFigurenImSpiel->isVisible());
    // The window's own close button takes the check mark away.
    FormAnzeigeGeschlageneFiguren->close();
    QVERIFY(!captured->isChecked());
    captured->trigger();
    QVERIFY(FormAnzeigeGeschlageneFiguren->isVisible());
}

void TestFormPieceWindows::openWindowsAreRememberedAtExit() {
    FForm->MenuItemAnzeigeGeschlageneFiguren->trigger();
    FormAnzeigeGeschlageneFiguren->move(70, 80);
    FForm->WriteSettingsOnClose();
    QCOMPARE(ReadSetting("PieceOutOfGame", "Window", false), true);
    QCOMPARE(ReadSetting("PieceOutOfGame", "Left", 0), 70);
    QCOMPARE(ReadSetting("PieceOutOfGame", "Top", 0), 80);
    QCOMPARE(ReadSetting("PieceInGame", "Window", true), false);
    // The next run opens it again at its first activation, where it was.
    FormAnzeigeGeschlageneFiguren->close();
    FormAnzeigeGeschlageneFiguren->ReopenIfOpenBefore();
    QVERIFY(FormAnzeigeGeschlageneFiguren->isVisible());
    QVERIFY(FForm->MenuItemAnzeigeGeschlageneFiguren->isChecked());
    QCOMPARE(FormAnzeigeGeschlageneFiguren->pos(), QPoint(70, 80));
    FormAnzeigeFigurenImSpiel->ReopenIfOpenBefore();
    QVERIFY(!FormAnzeigeFigurenImSpiel->isVisible());
}

QTEST_MAIN(TestFormPieceWindows)
#include "tst_formpiecewindows.moc"
