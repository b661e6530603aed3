// The set-position editor on real widgets beside the real main window: placing and removing pieces
// with the mouse, the check and its messages, the transfer into a new game (the engine then mates,
// a black-to-move position starts a clean line, odd positions keep the random mover and the engine
// going), the controls that only copy or turn, and the FEN field that follows the editor and sets it.
// Set TESSARON_BOARD_PNG_DIR to a folder to get a picture of the editor with a position there.

#include "DialogRecorder.h"
#include "FormMainTestSupport.h"
#include "Placement.h"
#include "PositionCheck.h"
#include "PositionWindows.h"
#include "RadioGroup.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

namespace {

constexpr auto HumansIni = "[Common]\nLanguage=German\nAnimateMoves=0\nPlaySound=0\nShowMessages=0\n"
                           "[GameStart]\nPlayer1=0\nPlayer2=0\n";
constexpr int EngineTimeoutMs = 60000;
constexpr int RandomPliesToWatch = 10;

} // namespace

class TestFormSetPosition : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void designAndStart();
    void menuItemStopsTheGameAndOpensTheEditor();
    void clicksPlaceAndRemovePieces();
    void clearAndCopyTheGame();
    void checkAndItsMessages_data();
    void checkAndItsMessages();
    void refusedPositionStaysInTheEditor();
    void orientationTurnsTheEditorAtOnce();
    void engineMatesWithKingAndQueen();
    void engineSolvesAMateInTwo();
    void blackToMoveStartsACleanLine();
    void castlingRightsAreHandedOverAsTicked();
    void oddPositionsKeepTheRandomMoverGoing_data();
    void oddPositionsKeepTheRandomMoverGoing();
    void setFromPositionShowsEverything();
    void fenFieldFollowsTheEditor();
    void typedFenSetsTheEditor();
    void unreadableFenIsToldAndChangesNothing_data();
    void unreadableFenIsToldAndChangesNothing();

private:
    void Click(Square sq);
    void Select(char piece);
    void Transfer();
    QString Fen() const;
    void TypeFen(const QString& fen);

    QTemporaryDir FDir;
    std::unique_ptr<TFormMain> FForm;
    std::unique_ptr<DialogRecorder> FDialogs;
    TFormSetPosition* FEditor = nullptr;
};

void TestFormSetPosition::init() {
    PrepareProgramDir(FDir, HumansIni);
    FDialogs = std::make_unique<DialogRecorder>();
    ShowNewFormMain(FForm);
    CreatePositionWindows(*FForm);
    FEditor = FormSetPosition;
    FEditor->show();
    QVERIFY(QTest::qWaitForWindowExposed(FEditor));
}

void TestFormSetPosition::cleanup() {
    CloseFormMain(FForm);
    ForgetPositionWindows();
    FDialogs.reset();
}

void TestFormSetPosition::Click(Square sq) {
    QTest::mouseClick(FEditor->ChessBrdSetPos, Qt::LeftButton, Qt::NoModifier,
                      Centre(*FEditor->ChessBrdSetPos, sq));
}

void TestFormSetPosition::Select(char piece) {
    for (QToolButton* button : FEditor->PieceButtons)
        if (button->toolTip().front() == QChar(piece)) return QTest::mouseClick(button, Qt::LeftButton);
    QFAIL("no button for the piece");
}

void TestFormSetPosition::Transfer() {
    QTest::mouseClick(FEditor->ButtonOk, Qt::LeftButton);
}

QString TestFormSetPosition::Fen() const {
    return FEditor->EditFen->text();
}

void TestFormSetPosition::TypeFen(const QString& fen) {
    FEditor->EditFen->clear();
    QTest::keyClicks(FEditor->EditFen, fen);
}

void TestFormSetPosition::designAndStart() {
    QCOMPARE(FEditor->size(), QSize(594, 413));
    QCOMPARE(FEditor->windowTitle(), "Figuren aufstellen");
    QCOMPARE(FEditor->ChessBrdSetPos->geometry(), QRect(8, 8, 368, 368));
    QCOMPARE(FEditor->ChessBrdSetPos->Position(), std::string(64, ' '));
    QCOMPARE(TFormSetPosition::SelectedPiece(), 'p');
    QVERIFY(FEditor->findChild<QToolButton*>("SpeedButton_b_p")->isChecked());
    QCOMPARE(FEditor->findChild<QToolButton*>("SpeedButton_w_B")->toolTip(), "BB");
    QCOMPARE(FEditor->findChild<QToolButton*>("SpeedButton_w_R")->geometry(), QRect(432, 8, 40, 43));
    QVERIFY(FEditor->PieceButtonGroup->exclusive());
    QCOMPARE(FEditor->RadioGroupZug->ItemIndex(), 0);
    QCOMPARE(FEditor->RadioGroupWhereIs->ItemIndex(), 1);
    QCOMPARE(FEditor->EditedPosition().CastlingAllowed, CastleSet(0));
    QCOMPARE(FEditor->ButtonOk->text(), "&Übernehmen");
    QCOMPARE(FEditor->ButtonSetFen->text(), "Se&tzen");
    QCOMPARE(FEditor->LabelFen->buddy(), FEditor->EditFen);
    QCOMPARE(Fen(), "8/8/8/8/8/8/8/8 w - - 0 1");
    if (const QString dir = qEnvironmentVariable("TESSARON_BOARD_PNG_DIR"); !dir.isEmpty()) {
        FEditor->SetFromPosition({std::string(StartPosition), false, WhiteKingSide, None});
        FEditor->grab().save(dir + "/set-position-editor.png");
    }
}

void TestFormSetPosition::menuItemStopsTheGameAndOpensTheEditor() {
    FEditor->hide();
    FForm->BitBtnWeiterClick();
    QVERIFY(!FForm->GameStopped);
    QVERIFY(FForm->MenuItemSetPosition->isEnabled());
    bool shownModally = false;
    QTimer::singleShot(0, FEditor, [&] {
        shownModally = FEditor->isVisible() && FEditor->isModal();
        FEditor->reject();
    });
    FForm->MenuItemSetPosition->trigger();
    QVERIFY(shownModally);
    QVERIFY(FForm->GameStopped);
}

void TestFormSetPosition::clicksPlaceAndRemovePieces() {
    Select('R');
    QCOMPARE(TFormSetPosition::SelectedPiece(), 'R');
    Click(A1);
    QCOMPARE(FEditor->ChessBrdSetPos->PieceAt(A1), 'R');
    Click(A1); // the same piece again takes it off
    QCOMPARE(FEditor->ChessBrdSetPos->PieceAt(A1), ' ');
    Click(A1);
    Select('r');
    Click(A1); // another piece replaces it
    QCOMPARE(FEditor->ChessBrdSetPos->PieceAt(A1), 'r');
    QVERIFY(FEditor->findChild<QToolButton*>("SpeedButton_b_r")->isChecked());
    QVERIFY(!FEditor->findChild<QToolButton*>("SpeedButton_w_R")->isChecked());
    // A press on the border changes nothing.
    const std::string before = FEditor->ChessBrdSetPos->Position();
    QTest::mouseClick(FEditor->ChessBrdSetPos, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    QCOMPARE(FEditor->ChessBrdSetPos->Position(), before);
}

void TestFormSetPosition::clearAndCopyTheGame() {
    TChessBrd& main = *FForm->ChessBrd;
    main.SetWhiteToMove(false);
    main.SetWhiteOnTop(true);
    QTest::mouseClick(FEditor->ButtonActGame, Qt::LeftButton);
    QCOMPARE(FEditor->ChessBrdSetPos->Position(), std::string(StartPosition));
    // Only the pieces come along.
    QCOMPARE(FEditor->RadioGroupZug->ItemIndex(), 0);
    QCOMPARE(FEditor->RadioGroupWhereIs->ItemIndex(), 1);
    QCOMPARE(FEditor->EditedPosition().CastlingAllowed, CastleSet(0));
    QTest::mouseClick(FEditor->ButtonClear, Qt::LeftButton);
    QCOMPARE(FEditor->ChessBrdSetPos->Position(), std::string(64, ' '));
}

void TestFormSetPosition::checkAndItsMessages_data() {
    QTest::addColumn<QString>("position");
    QTest::addColumn<bool>("valid");
    auto kingsAnd = [](char piece, int count) {
        std::string p = Placement({{E1, 'K'}, {E8, 'k'}});
        for (int i = 0; i < count; ++i)
            p[static_cast<size_t>(A4 - 1 - 8 * (i / 8) + i % 8)] = piece;
        return QString::fromStdString(p);
    };
    QTest::newRow("only the two kings") << kingsAnd('P', 0) << false;
    QTest::newRow("a pawn more") << kingsAnd('P', 1) << true;
    QTest::newRow("three white knights") << kingsAnd('N', 3) << false;
    QTest::newRow("nine white queens") << kingsAnd('Q', 9) << false;
    QTest::newRow("eight white queens and the kings") << kingsAnd('Q', 8) << true;
    QTest::newRow("a white pawn on rank 8")
        << QString::fromStdString(Placement({{E1, 'K'}, {E7, 'k'}, {A8, 'P'}})) << true;
    QTest::newRow("the side not to move in check")
        << QString::fromStdString(Placement({{E1, 'K'}, {E8, 'k'}, {E2, 'R'}})) << true;
}

void TestFormSetPosition::checkAndItsMessages() {
    QFETCH(QString, position);
    QFETCH(bool, valid);
    FEditor->ChessBrdSetPos->SetPosition(position.toStdString());
    QTest::mouseClick(FEditor->ButtonCheck, Qt::LeftButton);
    QCOMPARE(FDialogs->Messages.size(), 1);
    QCOMPARE(FDialogs->Messages[0].Owner, FEditor);
    QCOMPARE(FDialogs->Messages[0].Text, valid ? LoadLangString(3211, {}) : LoadLangString(3210, {}));
    QVERIFY(
        FDialogs->Messages[0].Text.startsWith(valid ? "Die Position ist korrekt" : "Die Position ist nicht"));
}

void TestFormSetPosition::refusedPositionStaysInTheEditor() {
    FForm->ChessBrd->MakeMove(E2, E4);
    const std::string game = FForm->ChessBrd->Position();
    Select('K');
    Click(E1);
    Select('k');
    Click(E8);
    Transfer();
    QCOMPARE(FDialogs->MessageTexts(), QStringList{LoadLangString(3210, {})});
    QVERIFY(FEditor->isVisible());
    QCOMPARE(FForm->ChessBrd->Position(), game);
    Select('p');
    Click(A7); // a pawn more makes it valid
    Transfer();
    QVERIFY(!FEditor->isVisible());
    QCOMPARE(FForm->ChessBrd->Position(), Placement({{E1, 'K'}, {E8, 'k'}, {A7, 'p'}}));
}

void TestFormSetPosition::orientationTurnsTheEditorAtOnce() {
    QVERIFY(!FEditor->ChessBrdSetPos->WhiteOnTop());
    FEditor->RadioGroupWhereIs->findChildren<QAbstractButton*>()[0]->click();
    QVERIFY(FEditor->ChessBrdSetPos->WhiteOnTop());
    QVERIFY(!FForm->ChessBrd->WhiteOnTop());
    FEditor->ChessBrdSetPos->SetPosition(StartPosition);
    Transfer();
    QVERIFY(FForm->ChessBrd->WhiteOnTop());
}

// Set up by hand: a white king and queen against the black king, white (the engine) to move.
void TestFormSetPosition::engineMatesWithKingAndQueen() {
    FForm->ComboBoxSpieler2->setCurrentIndex(pkComputer); // player 2 plays white
    Select('K');
    Click(G6);
    Select('Q');
    Click(A7);
    Select('k');
    Click(H8);
    Transfer();
    QVERIFY(FDialogs->Messages.isEmpty());
    QVERIFY(FForm->ChessBrd->WhiteToMove());
    QCOMPARE(FForm->ListBoxZuege->count(), 0);
    FForm->BitBtnWeiterClick();
    QTRY_VERIFY_WITH_TIMEOUT(FForm->FGameOver, EngineTimeoutMs);
    QCOMPARE(FForm->LabelSpieler2Status->text(), "gewonnen");
    QCOMPARE(FForm->LabelSpieler1Status->text(), "verloren");
    QCOMPARE(FForm->ListBoxZuege->count(), 1);
}

// 1. Qd7 Kb8 2. Qb7 mate (or 1. Kb6 Kb8 2. Qd8 mate): the engine plays both sides and mates at once.
void TestFormSetPosition::engineSolvesAMateInTwo() {
    FForm->ComboBoxSpieler1->setCurrentIndex(pkComputer);
    FForm->ComboBoxSpieler2->setCurrentIndex(pkComputer);
    FEditor->SetFromPosition({Placement({{C6, 'K'}, {D1, 'Q'}, {A8, 'k'}}), true, 0, None});
    Transfer();
    int plies = 0;
    FForm->ChessBrd->OnLegalMove = [&plies](TChessRules&, Square, Square) { ++plies; };
    FForm->BitBtnWeiterClick();
    QTRY_VERIFY_WITH_TIMEOUT(FForm->FGameOver, EngineTimeoutMs);
    QCOMPARE(plies, 3);
    QCOMPARE(FForm->LabelSpieler2Status->text(), "gewonnen");
}

void TestFormSetPosition::blackToMoveStartsACleanLine() {
    for (auto [from, to] : {std::pair{G1, F3}, {G8, F6}, {F3, G1}, {F6, G8}})
        QVERIFY(FForm->ChessBrd->MakeMove(from, to));
    FForm->RefreshMoveList();
    QCOMPARE(FForm->ListBoxZuege->count(), 4);
    // The start position with black to move came once in the game already; in the new line it is new.
    FEditor->SetFromPosition({std::string(StartPosition), false, AllCastlingRights, None});
    Transfer();
    TChessBrd& board = *FForm->ChessBrd;
    QVERIFY(!board.WhiteToMove());
    // No move of the old game: only white's empty turn of move 1.
    QCOMPARE(FForm->ListBoxZuege->count(), 1);
    QCOMPARE(FForm->ListBoxZuege->item(0)->text().trimmed(), "1.  ...");
    QVERIFY(!board.FirstSideWhite());
    QVERIFY(board.PlayMove(G8, F6));
    board.StopThinking();
    QVERIFY(board.PlayMove(G1, F3));
    board.StopThinking();
    QVERIFY(board.PlayMove(F6, G8));
    board.StopThinking();
    QVERIFY(board.PlayMove(F3, G1));
    board.StopThinking();
    QVERIFY(!board.IsThreefoldRepetition());
    QVERIFY(!FForm->FGameOver);
    QCOMPARE(FForm->ListBoxZuege->count(), 5); // white's turn of move 1 opens a line that began with black
}

void TestFormSetPosition::castlingRightsAreHandedOverAsTicked() {
    const std::string position = Placement({{E1, 'K'}, {A1, 'R'}, {E8, 'k'}, {A7, 'p'}});
    FEditor->ChessBrdSetPos->SetPosition(position);
    for (QCheckBox* box : FEditor->GroupBoxRochade->findChildren<QCheckBox*>())
        box->setChecked(true);
    Transfer();
    TChessBrd& board = *FForm->ChessBrd;
    QCOMPARE(board.CastlingAllowed(), AllCastlingRights);
    QCOMPARE(board.Position(), position);
    QVERIFY(!board.IsLegalMove(E1, G1)); // no rook on h1: no castling, and no rook appears
    QVERIFY(board.MakeMove(E1, C1));
    QCOMPARE(CountPiece(board.Position(), 'R'), 1);
    QCOMPARE(board.PieceAt(D1), 'R');
}

void TestFormSetPosition::oddPositionsKeepTheRandomMoverGoing_data() {
    QTest::addColumn<QString>("position");
    QTest::addColumn<bool>("whiteToMove");
    QTest::newRow("pawns on their last ranks")
        << QString::fromStdString(
               Placement({{A8, 'P'}, {H1, 'p'}, {E1, 'K'}, {E8, 'k'}, {D2, 'P'}, {D7, 'p'}}))
        << true;
    QTest::newRow("the side not to move in check")
        << QString::fromStdString(Placement({{G1, 'K'}, {E2, 'R'}, {E8, 'k'}, {A7, 'p'}, {B2, 'P'}})) << true;
}

// Two random movers, then the engine against the random mover: moves follow or the game ends.
void TestFormSetPosition::oddPositionsKeepTheRandomMoverGoing() {
    QFETCH(QString, position);
    QFETCH(bool, whiteToMove);
    for (int engineSide : {pkZufall, pkComputer}) {
        FForm->ComboBoxSpieler1->setCurrentIndex(pkZufall);
        FForm->ComboBoxSpieler2->setCurrentIndex(engineSide);
        FEditor->SetFromPosition({position.toStdString(), whiteToMove, 0, None});
        Transfer();
        int plies = 0;
        FForm->ChessBrd->OnLegalMove = [&plies](TChessRules&, Square, Square) { ++plies; };
        FForm->BitBtnWeiterClick();
        QTRY_VERIFY_WITH_TIMEOUT(FForm->FGameOver || plies >= RandomPliesToWatch, EngineTimeoutMs);
        FForm->BitBtnStopClick();
        QVERIFY(IsPositionString(FForm->ChessBrd->Position()));
        FEditor->show();
    }
}

void TestFormSetPosition::setFromPositionShowsEverything() {
    const TPositionSnapshot position{std::string(StartPosition), false, WhiteKingSide | BlackQueenSide, None};
    FEditor->SetFromPosition(position);
    QCOMPARE(FEditor->EditedPosition(), position);
    QVERIFY(FEditor->CheckBoxWhiteKingSide->isChecked());
    QVERIFY(!FEditor->CheckBoxWhiteQueenSide->isChecked());
    QVERIFY(FEditor->CheckBoxBlackQueenSide->isChecked());
    QCOMPARE(FEditor->RadioGroupZug->ItemIndex(), 1);
}

void TestFormSetPosition::fenFieldFollowsTheEditor() {
    Select('K');
    Click(E1);
    QCOMPARE(Fen(), "8/8/8/8/8/8/8/4K3 w - - 0 1");
    FEditor->RadioGroupZug->findChildren<QAbstractButton*>()[1]->click();
    QCOMPARE(Fen(), "8/8/8/8/8/8/8/4K3 b - - 0 1");
    QTest::mouseClick(FEditor->CheckBoxWhiteKingSide, Qt::LeftButton);
    QTest::mouseClick(FEditor->CheckBoxBlackQueenSide, Qt::LeftButton);
    QCOMPARE(Fen(), "8/8/8/8/8/8/8/4K3 b Kq - 0 1"); // as ticked, though no rook stands at home yet
    QTest::mouseClick(FEditor->CheckBoxWhiteKingSide, Qt::LeftButton);
    QCOMPARE(Fen(), "8/8/8/8/8/8/8/4K3 b q - 0 1");
    QTest::mouseClick(FEditor->ButtonActGame, Qt::LeftButton);
    QCOMPARE(Fen(), "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b q - 0 1");
    Click(E1); // the white king again takes it off
    QCOMPARE(Fen(), "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQ1BNR b q - 0 1");
    QTest::mouseClick(FEditor->ButtonClear, Qt::LeftButton);
    QCOMPARE(Fen(), "8/8/8/8/8/8/8/8 b q - 0 1");
    FEditor->SetFromPosition({std::string(StartPosition), true, AllCastlingRights, None});
    QCOMPARE(Fen(), "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
    FEditor->ChessBrdSetPos->SetPosition(Placement({{E1, 'K'}, {E8, 'k'}})); // as a stored position comes
    QCOMPARE(Fen(), "4k3/8/8/8/8/8/8/4K3 w KQkq - 0 1");
}

// Enter or the button; the clocks and the en-passant square are not the editor's, and a right is
// ticked whether or not its king and rook stand at home.
void TestFormSetPosition::typedFenSetsTheEditor() {
    TypeFen("r3k2r/8/8/8/8/8/8/R3K2R b Kq e3 5 20");
    QTest::keyClick(FEditor->EditFen, Qt::Key_Return);
    QVERIFY(FDialogs->Messages.isEmpty());
    QVERIFY(FEditor->isVisible());
    QCOMPARE(FEditor->ChessBrdSetPos->Position(),
             Placement({{A8, 'r'}, {E8, 'k'}, {H8, 'r'}, {A1, 'R'}, {E1, 'K'}, {H1, 'R'}}));
    QCOMPARE(FEditor->RadioGroupZug->ItemIndex(), 1);
    QVERIFY(FEditor->CheckBoxWhiteKingSide->isChecked());
    QVERIFY(!FEditor->CheckBoxWhiteQueenSide->isChecked());
    QVERIFY(!FEditor->CheckBoxBlackKingSide->isChecked());
    QVERIFY(FEditor->CheckBoxBlackQueenSide->isChecked());
    QCOMPARE(Fen(), "r3k2r/8/8/8/8/8/8/R3K2R b Kq - 0 1");
    TypeFen("r3k2r/8/8/8/8/8/8/R3K2R b Kq - 7 30"); // the same position
    QTest::keyClick(FEditor->EditFen, Qt::Key_Return);
    QCOMPARE(Fen(), "r3k2r/8/8/8/8/8/8/R3K2R b Kq - 0 1");
    // Turning the board repaints it but leaves what is being typed.
    TypeFen("4k3/8");
    FEditor->RadioGroupWhereIs->findChildren<QAbstractButton*>()[0]->click();
    QVERIFY(FEditor->ChessBrdSetPos->WhiteOnTop());
    QCOMPARE(Fen(), "4k3/8");

    TypeFen("  4k3/8/8/8/8/8/8/8   w KQ -  ");
    QTest::mouseClick(FEditor->ButtonSetFen, Qt::LeftButton);
    QVERIFY(FDialogs->Messages.isEmpty());
    QCOMPARE(FEditor->ChessBrdSetPos->Position(), Placement({{E8, 'k'}}));
    QCOMPARE(FEditor->RadioGroupZug->ItemIndex(), 0);
    QCOMPARE(FEditor->EditedPosition().CastlingAllowed, CastleSet(WhiteKingSide | WhiteQueenSide));
    QCOMPARE(Fen(), "4k3/8/8/8/8/8/8/8 w KQ - 0 1");
    // The editor's own check still guards the transfer.
    const std::string game = FForm->ChessBrd->Position();
    Transfer();
    QCOMPARE(FDialogs->MessageTexts(), QStringList{LoadLangString(3210, {})});
    QCOMPARE(FForm->ChessBrd->Position(), game);
}

void TestFormSetPosition::unreadableFenIsToldAndChangesNothing_data() {
    QTest::addColumn<QString>("fen");
    QTest::addColumn<QString>("reason");
    QTest::newRow("too few ranks") << "rnbqkbnr/pppppppp/8/8 w KQkq - 0 1"
                                   << "8 ranks";
    QTest::newRow("a stray letter") << "rnbqkbnr/ppppxppp/8/8/8/8/PPPPPPPP/RNBQKBNR w - - 0 1"
                                    << "unexpected character 'x'";
    QTest::newRow("no side to move") << "8/8/8/8/8/8/8/4K3 x - - 0 1"
                                     << "side to move";
    QTest::newRow("castling twice") << "8/8/8/8/8/8/8/4K3 w KK - 0 1"
                                    << "castling";
    QTest::newRow("fields missing") << "8/8/8/8/8/8/8/4K3 w"
                                    << "at least 4 fields";
    QTest::newRow("a clock that is no number") << "8/8/8/8/8/8/8/4K3 w - - x 1"
                                               << "half-move clock";
    QTest::newRow("empty") << ""
                           << "at least 4 fields";
}

void TestFormSetPosition::unreadableFenIsToldAndChangesNothing() {
    QFETCH(QString, fen);
    QFETCH(QString, reason);
    const TPositionSnapshot shown{std::string(StartPosition), false, WhiteKingSide, None};
    FEditor->SetFromPosition(shown);
    TypeFen(fen);
    QTest::keyClick(FEditor->EditFen, Qt::Key_Return);
    QCOMPARE(FDialogs->Messages.size(), 1);
    const TMessageRequest& message = FDialogs->Messages[0];
    QCOMPARE(message.Owner, FEditor);
    QCOMPARE(message.Kind, TMsgDlgType::mtError);
    QVERIFY(message.Text.startsWith("Diese FEN kann nicht gelesen werden:\r" + fen.left(20)));
    QVERIFY2(message.Text.contains(reason), qPrintable(message.Text));
    QCOMPARE(FEditor->EditedPosition(), shown);
    QVERIFY(FEditor->isVisible());
}

QTEST_MAIN(TestFormSetPosition)
#include "tst_formsetposition.moc"
