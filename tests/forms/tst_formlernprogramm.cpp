// The tutorial window on real widgets: topics and their step counts, stepping, the slide show, the
// board hidden behind the text, moves that follow the previous step, and taking a position over into
// the main game.

#include "DialogRecorder.h"
#include "FormMainTestSupport.h"
#include "UnitFormLernprogramm.h"

#include <QHeaderView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>

namespace {

const QString Empty64(64, ' ');

// A position with the two kings and the given pieces placed on it.
QString Placed(std::initializer_list<std::pair<Square, char>> pieces) {
    QString position = Empty64;
    for (const auto& [sq, piece] : pieces)
        position[sq - 1] = QChar(piece);
    return position;
}

const QString KingsAndPawns = Placed({{E8, 'k'}, {E7, 'p'}, {E1, 'K'}, {E2, 'P'}});
const QString StartText = QString::fromLatin1(StartPosition.data(), StartPosition.size());

QString Lessons() {
    return QString("[Stands still]\nW1=0\nP1=\"%1\"\nT1=first|second\nW2=1000\nT2=never shown by the show\n"
                   "[Board away]\nW1=50\nB1=0\nT1=long text\nW2=0\nT2=board back\n"
                   "[Moves]\nW1=60\nP1=\"%2\"\nT1=start\nW2=60\nM2=E7-E5\nW3=60\nM3=E2-E4\nW4=0\nT4=done\n"
                   "[Only one]\nW1=0\nG1=1\nP1=\"%1\"\nT1=take it\n"
                   "[No steps]\nT1=just text\n")
        .arg(KingsAndPawns, StartText);
}

constexpr int SlideDelay = 5; // milliseconds per point of a slide: long enough to click meanwhile

// Black's double step, White's en-passant capture and a king move: three steps with a move only.
const QString EnPassantStart = Placed({{E8, 'k'}, {D7, 'p'}, {E5, 'P'}, {E1, 'K'}});
QString EnPassantLessons() {
    return QString("[En passant]\nW1=0\nP1=\"%1\"\nT1=start\nW2=0\nM2=D7-D5\nW3=0\nM3=E5-D6\nT3=captured\n"
                   "W4=0\nM4=E8-F8\n")
        .arg(EnPassantStart);
}

void WriteLessons(const QTemporaryDir& dir, const QString& language, const QString& text) {
    QDir().mkpath(dir.filePath("lang/" + language));
    QFile file(dir.filePath("lang/" + language + "/learnprg.dat"));
    if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write the lessons");
    file.write(text.toUtf8());
}

} // namespace

class TestFormLernprogramm : public QObject {
    Q_OBJECT
private:
    QTemporaryDir FDir;
    std::unique_ptr<TFormLernprogramm> FForm;

    TFormLernprogramm& Open() {
        FForm = std::make_unique<TFormLernprogramm>();
        FForm->show();
        return *FForm;
    }
    void SelectTopic(const QString& title) {
        const QList<QListWidgetItem*> found = FForm->ListBoxThemen->findItems(title, Qt::MatchExactly);
        QVERIFY(!found.isEmpty());
        FForm->ListBoxThemen->setCurrentItem(found.first());
        QCOMPARE(FForm->CurrentTopic(), title);
    }

private Q_SLOTS:
    void init() {
        PrepareProgramDir(FDir, "[Common]\nLanguage=German\n");
        ReadStartSettings(); // the board's colours and textures as the program starts with them
        WriteLessons(FDir, "German", Lessons());
    }
    void cleanup() {
        FForm.reset();
        CloseLanguageFile();
    }

    void TopicsAreListedInFileOrderWithTheirStepCounts() {
        TFormLernprogramm& form = Open();
        QCOMPARE(form.windowTitle(), QString("Lernprogramm"));
        QCOMPARE(form.ListBoxThemen->count(), 5);
        const QList<std::pair<QString, int>> expected = {
            {"Stands still", 2}, {"Board away", 2}, {"Moves", 4}, {"Only one", 1}, {"No steps", 0}};
        for (int row = 0; row < 5; ++row) {
            QCOMPARE(form.ListBoxThemen->item(row)->text(), expected[row].first);
            QCOMPARE(form.ListBoxThemen->item(row)->data(Qt::UserRole).toInt(), expected[row].second);
        }
        QCOMPARE(form.CurrentTopic(), QString("Stands still")); // the first topic is shown at once
        QCOMPARE(form.HeaderControlThemen->model()->headerData(1, Qt::Horizontal).toString(),
                 QString("Anzahl"));
    }

    void AWaitOfZeroShowsTheStepAndNeverMovesOn() {
        TFormLernprogramm& form = Open();
        QCOMPARE(QString::fromStdString(form.ChessBrdLearn->Position()), KingsAndPawns);
        QCOMPARE(form.MemoText->toPlainText(), QString("first\nsecond")); // "|" is a line break
        QTest::mouseClick(form.SpeedButtonStart, Qt::LeftButton);
        QVERIFY(!form.Running());
        QVERIFY(!form.TimerPosition.isActive());
        QVERIFY(form.SpeedButtonStart->isEnabled());
        QVERIFY(!form.SpeedButtonStop->isEnabled());
        QTest::qWait(100);
        QCOMPARE(form.TrackBarPosition->value(), 1);
    }

    void AHiddenBoardComesBackAtTheNextStep() {
        TFormLernprogramm& form = Open();
        const QRect withBoard = form.MemoText->geometry();
        SelectTopic("Board away");
        QCOMPARE(form.MemoText->geometry().top(), 6);
        QCOMPARE(form.MemoText->geometry().bottom(), withBoard.bottom());
        QTest::mouseClick(form.SpeedButtonNext, Qt::LeftButton);
        QCOMPARE(form.MemoText->geometry(), withBoard);
        QCOMPARE(form.MemoText->toPlainText(), QString("board back"));
    }

    void AMoveOnlyStepPlaysFromThePositionBefore() {
        TFormLernprogramm& form = Open();
        SelectTopic("Moves");
        form.SpeedButtonNextClick();
        QCOMPARE(form.ChessBrdLearn->PieceAt(E5), 'p'); // Black moved first: the piece decides
        QVERIFY(form.ChessBrdLearn->WhiteToMove());
        QCOMPARE(form.MemoText->toPlainText(), QString("start")); // no text key keeps the text
        form.SpeedButtonNextClick();
        QCOMPARE(form.ChessBrdLearn->PieceAt(E4), 'P');
    }

    // The board is drawn for the first time while the move slides: the piece must not stay behind.
    void AMoveLeavesNoPieceOnItsFromSquare() {
        TFormLernprogramm& form = Open();
        SelectTopic("Moves");
        form.SpeedButtonNextClick();
        const TChessBrd& board = *form.ChessBrdLearn;
        const QSize square(board.SizeOfSquare(), board.SizeOfSquare());
        const QImage left = board.BackingImage().copy(QRect(board.SquareOrigin(E7), square));
        const QImage emptyDark = board.BackingImage().copy(QRect(board.SquareOrigin(E3), square));
        QCOMPARE(left, emptyDark);
    }

    // Every visit to a step sets its position up afresh, so no replay runs into a repetition.
    void SteppingBackAndForthReplaysTheSameMoves() {
        TFormLernprogramm& form = Open();
        SelectTopic("Moves");
        for (int round = 0; round < 6; ++round) {
            form.TrackBarPosition->setValue(1);
            form.SpeedButtonNextClick();
            QCOMPARE(form.ChessBrdLearn->PieceAt(E5), 'p');
            form.SpeedButtonLastClick();
            QCOMPARE(QString::fromStdString(form.ChessBrdLearn->Position()), StartText);
        }
        QVERIFY(!form.ChessBrdLearn->IsThreefoldRepetition());
    }

    // Back to a step with a move only shows the board it shows when reached from the step before.
    void BackToAMoveOnlyStepShowsItsForwardBoard() {
        WriteLessons(FDir, "German", EnPassantLessons());
        TFormLernprogramm& form = Open();
        QTest::mouseClick(form.SpeedButtonNext, Qt::LeftButton);
        QTest::mouseClick(form.SpeedButtonNext, Qt::LeftButton);
        const TPositionSnapshot captured = form.ChessBrdLearn->Snapshot();
        QCOMPARE(QString::fromStdString(captured.Position), Placed({{E8, 'k'}, {D6, 'P'}, {E1, 'K'}}));
        QTest::mouseClick(form.SpeedButtonNext, Qt::LeftButton);
        QCOMPARE(form.ChessBrdLearn->PieceAt(F8), 'k');
        QTest::mouseClick(form.SpeedButtonLast, Qt::LeftButton);
        QCOMPARE(form.TrackBarPosition->value(), 3);
        QVERIFY(form.ChessBrdLearn->Snapshot() == captured);
        QCOMPARE(form.MemoText->toPlainText(), QString("captured"));
        QTest::mouseClick(form.SpeedButtonLast, Qt::LeftButton); // the double step again, en passant open
        QCOMPARE(QString::fromStdString(form.ChessBrdLearn->Position()),
                 Placed({{E8, 'k'}, {D5, 'p'}, {E5, 'P'}, {E1, 'K'}}));
        QVERIFY(form.ChessBrdLearn->WhiteToMove());
        QCOMPARE(form.ChessBrdLearn->EnPassant(), D6);
    }

    // The track bar reaches a step past several others; the moves on the way are played unseen.
    void TheTrackBarJumpsStraightToAMoveOnlyStep() {
        WriteLessons(FDir, "German", EnPassantLessons());
        TFormLernprogramm& form = Open();
        const bool animated = form.ChessBrdLearn->AnimateMoves();
        form.TrackBarPosition->setValue(3);
        QCOMPARE(QString::fromStdString(form.ChessBrdLearn->Position()),
                 Placed({{E8, 'k'}, {D6, 'P'}, {E1, 'K'}}));
        QVERIFY(!form.ChessBrdLearn->WhiteToMove());
        QCOMPARE(form.MemoText->toPlainText(), QString("captured"));
        QCOMPARE(form.ChessBrdLearn->AnimateMoves(), animated);
        QTest::keyClick(form.TrackBarPosition, Qt::Key_End);
        QCOMPARE(form.TrackBarPosition->value(), 4);
        QCOMPARE(QString::fromStdString(form.ChessBrdLearn->Position()),
                 Placed({{F8, 'k'}, {D6, 'P'}, {E1, 'K'}}));
        form.TrackBarPosition->setValue(2);
        QCOMPARE(QString::fromStdString(form.ChessBrdLearn->Position()),
                 Placed({{E8, 'k'}, {D5, 'p'}, {E5, 'P'}, {E1, 'K'}}));
        QCOMPARE(form.ChessBrdLearn->EnPassant(), D6);
    }

    // The next step may be asked for while the move of this one still slides: it builds on the whole move.
    void AStepShownWhileAMoveSlidesBuildsOnTheWholeMove() {
        WriteLessons(FDir, "German", EnPassantLessons());
        TFormLernprogramm& form = Open();
        form.ChessBrdLearn->SetAnimationDelay(SlideDelay);
        QTimer::singleShot(0, &form, [&form] { form.SpeedButtonNextClick(); });
        form.SpeedButtonNextClick();
        QTRY_COMPARE(form.TrackBarPosition->value(), 3);
        QTRY_VERIFY(!form.ChessBrdLearn->Sliding());
        QCOMPARE(QString::fromStdString(form.ChessBrdLearn->Position()),
                 Placed({{E8, 'k'}, {D6, 'P'}, {E1, 'K'}}));
    }

    void TheSlideShowRunsToAStopOfItsOwn() {
        TFormLernprogramm& form = Open();
        SelectTopic("Moves");
        QTest::mouseClick(form.SpeedButtonStart, Qt::LeftButton);
        QVERIFY(form.Running());
        QVERIFY(!form.SpeedButtonNext->isEnabled());
        QVERIFY(!form.TrackBarPosition->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(!form.Running(), 5000);
        QCOMPARE(form.TrackBarPosition->value(), 4);
        QCOMPARE(form.MemoText->toPlainText(), QString("done"));
        QCOMPARE(form.ChessBrdLearn->PieceAt(E4), 'P');
        QCOMPARE(form.ChessBrdLearn->PieceAt(E5), 'p');
        QVERIFY(form.SpeedButtonStart->isEnabled());
        QVERIFY(form.TrackBarPosition->isEnabled());
    }

    void ChoosingATopicStopsTheSlideShow() {
        TFormLernprogramm& form = Open();
        SelectTopic("Moves");
        form.SpeedButtonStartClick();
        QVERIFY(form.TimerPosition.isActive());
        SelectTopic("Board away");
        QVERIFY(!form.Running());
        QVERIFY(!form.TimerPosition.isActive());
        QCOMPARE(form.TrackBarPosition->value(), 1);
    }

    void ATopicOfOneStepHidesTheStepControls() {
        TFormLernprogramm& form = Open();
        SelectTopic("Only one");
        for (QWidget* control : std::initializer_list<QWidget*>{form.TrackBarPosition, form.SpeedButtonStart,
                                                                form.SpeedButtonStop, form.SpeedButtonLast,
                                                                form.SpeedButtonNext})
            QVERIFY(control->isHidden());
        QVERIFY(!form.ButtonSetPosition->isHidden());
        SelectTopic("No steps");
        QCOMPARE(form.MemoText->toPlainText(), QString("just text"));
        QVERIFY(form.ButtonSetPosition->isHidden());
        SelectTopic("Moves");
        QVERIFY(!form.TrackBarPosition->isHidden());
    }

    void AMissingFileIsReportedAndLeavesTheWindowEmpty() {
        TFormLernprogramm& form = Open();
        form.hide();
        QFile::remove(FDir.filePath("lang/German/learnprg.dat"));
        DialogRecorder dialogs;
        form.show(); // each opening reads the file again
        QCOMPARE(dialogs.MessageTexts(),
                 QStringList{"Lernprogramm kann nicht geöffnet werden, da zugehörige Dateien fehlen"});
        QCOMPARE(form.ListBoxThemen->count(), 0);
        QVERIFY(form.MemoText->toPlainText().isEmpty());
        QCOMPARE(QString::fromStdString(form.ChessBrdLearn->Position()), Empty64);
    }

    // The lessons follow the language the texts are shown in, not the name the setting holds.
    void TheLessonsOfTheLanguageInUseAreShown() {
        WriteLessons(FDir, "English", "[In English]\nW1=0\nT1=hello\n");
        WriteLessons(FDir, "Automatic", "[Never]\nW1=0\nT1=wrong folder\n");
        Settings().Language = "Automatic";
        QVERIFY(LoadLanguageFile("English"));
        TFormLernprogramm& form = Open();
        QCOMPARE(form.windowTitle(), QString("Tutorial"));
        QCOMPARE(form.ListBoxThemen->count(), 1);
        QCOMPARE(form.ListBoxThemen->item(0)->text(), QString("In English"));
        QCOMPARE(form.HeaderControlThemen->model()->headerData(0, Qt::Horizontal).toString(),
                 QString("Topic"));
    }

    // The shipped lessons open in the window; TESSARON_BOARD_PNG_DIR keeps a picture of each language.
    void TheShippedLessonsOpen() {
        for (const QString& language : {QString("German"), QString("English")}) {
            QFile shipped(QString(TESSARON_SOURCE_DIR) + "/data/lang/" + language + "/learnprg.dat");
            QVERIFY(shipped.open(QIODevice::ReadOnly));
            WriteLessons(FDir, language, QString::fromUtf8(shipped.readAll()));
            QVERIFY(LoadLanguageFile(language));
            TFormLernprogramm& form = Open();
            QVERIFY(form.ListBoxThemen->count() >= 30);
            form.ListBoxThemen->setCurrentRow(3);
            form.SpeedButtonNextClick();
            QVERIFY(!form.MemoText->toPlainText().isEmpty());
            QCOMPARE(form.TrackBarPosition->value(), 2);
            const QString pictures = qEnvironmentVariable("TESSARON_BOARD_PNG_DIR");
            if (!pictures.isEmpty()) form.grab().save(pictures + "/tutorial-" + language + ".png");
        }
    }

    void APositionIsTakenOverIntoAHaltedNewGame() {
        std::unique_ptr<TFormMain> main;
        TFormMain& formMain = ShowNewFormMain(main);
        FormLernprogramm = new TFormLernprogramm(&formMain);
        QVERIFY(formMain.MenuItemLernprogramm->isEnabled());
        QTimer::singleShot(0, FormLernprogramm, [] {
            const QList<QListWidgetItem*> found =
                FormLernprogramm->ListBoxThemen->findItems("Only one", Qt::MatchExactly);
            FormLernprogramm->ListBoxThemen->setCurrentItem(found.first());
            QTest::mouseClick(FormLernprogramm->ButtonSetPosition, Qt::LeftButton);
        });
        formMain.MenuItemLernprogramm->trigger();
        QVERIFY(!FormLernprogramm->isVisible());
        QCOMPARE(QString::fromStdString(formMain.ChessBrd->Position()), KingsAndPawns);
        QVERIFY(formMain.ChessBrd->WhiteToMove());
        QCOMPARE(formMain.ListBoxZuege->count(), 0);
        QVERIFY(formMain.GameStopped);
        QVERIFY(!formMain.FFirstMovePending); // the engine thinks from this position, no book move
        delete FormLernprogramm;
        FormLernprogramm = nullptr;
        CloseFormMain(main);
    }
};

QTEST_MAIN(TestFormLernprogramm)
#include "tst_formlernprogramm.moc"
