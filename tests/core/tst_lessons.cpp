// Checks the lessons the program ships, in every language, on the rules the tutorial board plays by:
// every position can be set up, every move is legal where the steps before it leave the board, the
// languages teach the same steps, and the slide show leaves time to read.

#include "ChessRules.h"
#include "TutorialData.h"
#include "UnitFunctions.h"

#include <QRegularExpression>
#include <QtTest>

namespace {

const QStringList Languages = {"German", "English"};
constexpr int MinimumTopics = 30;
constexpr int MinimumSteps = 250;
// A young reader takes about this long per character; a step shows at least this long in all.
constexpr int MillisecondsPerCharacter = 50;
constexpr int MinimumStepWait = 1500;

// Topics (by their English title) whose last move mates, and the one whose last move repeats.
const QStringList MateTopics = {"Checkmate",
                                "Checkmate with the queen",
                                "Checkmate with the rook",
                                "Mate with two bishops",
                                "Back-rank mate",
                                "Double check",
                                "Fool's mate",
                                "Scholar's mate",
                                "Légal's mate",
                                "Smothered mate"};
constexpr auto RepetitionTopic = "Draw by repetition";

struct TLesson {
    TTutorialFile File;
    QStringList Topics;
};

TLesson LoadLesson(const QString& language) {
    TLesson lesson;
    const QString fileName = TutorialFileName(language);
    if (fileName.isEmpty() || !lesson.File.Load(fileName))
        qFatal("no lesson file for %s", qPrintable(language));
    lesson.Topics = lesson.File.Topics();
    return lesson;
}

QString Where(const QString& language, const QString& topic, int n) {
    return QString("%1 / %2 / step %3").arg(language, topic).arg(n);
}

bool IsValidPosition(const QString& position) {
    if (position.size() != SquareCount) return false;
    for (QChar c : position)
        if (c.unicode() > 127 || PieceCharacters.find(c.toLatin1()) == std::string_view::npos) return false;
    return true;
}

bool HasOneKingEach(const std::string& position) {
    return std::count(position.begin(), position.end(), 'K') == 1 &&
           std::count(position.begin(), position.end(), 'k') == 1;
}

bool InCheck(const TChessRules& board, bool white) {
    return white ? board.WhiteKingAttackedAfter(None, None) : board.BlackKingAttackedAfter(None, None);
}

bool IsMate(const TChessRules& board) {
    return InCheck(board, board.WhiteToMove()) && !board.HasLegalMove();
}

// Leftovers of writing: marks for unfinished text and unfilled parameters.
bool HasPlaceholder(const QString& text) {
    static const QRegularExpression marks(R"(TODO|FIXME|XXX|TBD|%\d|\{|\}|<|>)");
    return marks.match(text).hasMatch();
}

// What a step leaves on the board, the repetition count included.
struct TShownBoard {
    TPositionSnapshot Position;
    bool Repeated = false;
    bool operator==(const TShownBoard&) const = default;
};

TShownBoard ShownBoard(const TChessRules& board) {
    return {board.Snapshot(), board.IsThreefoldRepetition()};
}

} // namespace

class TestLessons : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { SetProgramDir(QStringLiteral(TESSARON_SOURCE_DIR) + "/data/"); }

    void StepKeysReadAsTheWindowUsesThem() {
        QTemporaryDir dir;
        const QString fileName = dir.filePath("learnprg.dat");
        QFile file(fileName);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Topic]\nW1=-500\nB1=0\nG1=1\nP1=\"  k     \"\nT1=a|b\nW2=soon\nM2=E2-E4\nw3=7\n");
        file.close();
        TTutorialFile lesson;
        QVERIFY(lesson.Load(fileName));
        QCOMPARE(lesson.StepCount("Topic"), 2); // only the upper-case "W" counts a step
        const TTutorialStep first = lesson.Step("Topic", 1);
        QCOMPARE(first.Wait, 0); // a negative wait stops the slide show
        QVERIFY(first.BoardHidden);
        QVERIFY(first.TakeOver);
        QCOMPARE(first.Position, QString("  k     ")); // quotes keep the blanks
        QCOMPARE(TutorialDisplayText(*first.Text), QString("a\nb"));
        const TTutorialStep second = lesson.Step("Topic", 2);
        QCOMPARE(second.Wait, DefaultStepWait);
        QVERIFY(!second.BoardHidden);
        QVERIFY(!second.TakeOver);
        QVERIFY(!second.Position && !second.Text);
        QCOMPARE(second.Move, QString("E2-E4"));
    }

    void MovesNameTwoSquaresExactly() {
        Square from = None, to = None;
        QVERIFY(TutorialMoveSquares("E2-E4", from, to));
        QCOMPARE(from, E2);
        QCOMPARE(to, E4);
        QVERIFY(TutorialMoveSquares("G1xF3", from, to));
        QCOMPARE(to, F3);
        QVERIFY(!TutorialMoveSquares("e2-e4", from, to));
        QVERIFY(!TutorialMoveSquares("E2E4", from, to));
        QVERIFY(!TutorialMoveSquares("E9-E4", from, to));
    }

    void MovesFollowTheColourOfTheMovingPiece() {
        TChessRules board;
        StartTutorialLine(board, QString::fromLatin1(StartPosition.data(), StartPosition.size()));
        QVERIFY(PlayTutorialMove(board, "E7-E5")); // Black first: the side to move follows the piece
        QVERIFY(PlayTutorialMove(board, "E7-E5") == false);
        QVERIFY(!PlayTutorialMove(board, "E2-E5"));
        QCOMPARE(board.PieceAt(E5), 'p');
    }

    // Replaying a step sets its position up as a fresh game: no repetition, no stale rights.
    void APositionStartsAFreshLine() {
        TChessRules board;
        const QString start = QString::fromLatin1(StartPosition.data(), StartPosition.size());
        for (int round = 0; round < 4; ++round) {
            StartTutorialLine(board, start);
            QVERIFY(PlayTutorialMove(board, "G1-F3"));
            QVERIFY(PlayTutorialMove(board, "G8-F6"));
            QVERIFY(PlayTutorialMove(board, "F3-G1"));
            QVERIFY(PlayTutorialMove(board, "F6-G8"));
        }
        QVERIFY(!board.IsThreefoldRepetition());
        StartTutorialLine(board, "r   k  r" + QString(48, ' ') + "R   K  R");
        QCOMPARE(board.CastlingAllowed(), AllCastlingRights);
        QCOMPARE(board.EnPassant(), None);
        QCOMPARE(board.CurrentMove(), 1);
        QVERIFY(PlayTutorialMove(board, "E1-G1"));
        QCOMPARE(board.PieceAt(F1), 'R');
    }

    // A step is set up from the nearest position at or before it, whatever the board held.
    void AStepIsSetUpFromTheNearestPosition() {
        QTemporaryDir dir;
        const QString fileName = dir.filePath("learnprg.dat");
        QFile file(fileName);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QString("[Topic]\nW1=1\nT1=text only\nW2=1\nP2=\"%1\"\nW3=1\nM3=E2-E4\nW4=1\nM4=E7-E5\n"
                           "W5=1\nT5=no move\nW6=0\nM6=E4-E6\n")
                       .arg(QString::fromLatin1(StartPosition.data(), StartPosition.size()))
                       .toLatin1());
        file.close();
        TTutorialFile lesson;
        QVERIFY(lesson.Load(fileName));
        QCOMPARE(TutorialLineStart(lesson, "Topic", 1), 0);
        QCOMPARE(TutorialLineStart(lesson, "Topic", 2), 2);
        QCOMPARE(TutorialLineStart(lesson, "Topic", 5), 2);

        TChessRules board;
        const QString kings = "    k" + QString(58, ' ') + "K";
        StartTutorialLine(board, kings);
        QVERIFY(!SetUpTutorialStep(board, lesson, "Topic", 1)); // nothing the topic knows to set up
        QCOMPARE(QString::fromStdString(board.Position()), kings);
        QVERIFY(SetUpTutorialStep(board, lesson, "Topic", 5));
        QCOMPARE(board.PieceAt(E4), 'P');
        QCOMPARE(board.PieceAt(E5), 'p');
        QVERIFY(board.WhiteToMove());
        QCOMPARE(board.EnPassant(), E6);
        QVERIFY(!SetUpTutorialStep(board, lesson, "Topic", 6)); // its move is refused
        QCOMPARE(board.PieceAt(E4), 'P');
    }

    void LanguageNamesCannotLeaveTheLessonFolder() {
        for (const char* name : {"../German", "German/..", "a/b", "a\\b", "..", ""})
            QVERIFY2(TutorialFileName(name).isEmpty(), qPrintable(name));
        QVERIFY(TutorialFileName("german").endsWith("/lang/German/learnprg.dat")); // case does not matter
    }

    void FileIsFoundUnderTheLanguage() {
        for (const QString& language : Languages) {
            const QString fileName = TutorialFileName(language);
            QVERIFY2(QFileInfo(fileName).isFile(), qPrintable(fileName));
            QVERIFY(fileName.endsWith("/lang/" + language + "/learnprg.dat"));
        }
    }

    void EnoughTopicsAndSteps() {
        for (const QString& language : Languages) {
            const TLesson lesson = LoadLesson(language);
            int steps = 0;
            for (const QString& topic : lesson.Topics)
                steps += lesson.File.StepCount(topic);
            qInfo("%s: %lld topics, %d steps", qPrintable(language), lesson.Topics.size(), steps);
            QVERIFY2(lesson.Topics.size() >= MinimumTopics, qPrintable(language));
            QVERIFY2(steps >= MinimumSteps, qPrintable(language));
        }
    }

    void StepsAreNumberedWithoutGaps() {
        for (const QString& language : Languages) {
            const TLesson lesson = LoadLesson(language);
            for (const QString& topic : lesson.Topics) {
                const int count = lesson.File.StepCount(topic);
                QVERIFY2(count >= 1, qPrintable(Where(language, topic, 0)));
                for (int n = 1; n <= count; ++n)
                    QVERIFY2(lesson.File.Step(topic, n).Wait.has_value(),
                             qPrintable(Where(language, topic, n)));
                QVERIFY2(lesson.File.Step(topic, 1).Text.has_value(), qPrintable(Where(language, topic, 1)));
            }
        }
    }

    // Positions, moves, board and take-over flags are the same in every language; only texts differ.
    void LanguagesTeachTheSameSteps() {
        const TLesson german = LoadLesson("German");
        const TLesson english = LoadLesson("English");
        QCOMPARE(german.Topics.size(), english.Topics.size());
        for (qsizetype t = 0; t < german.Topics.size(); ++t) {
            const QString& de = german.Topics[t];
            const QString& en = english.Topics[t];
            QCOMPARE(german.File.StepCount(de), english.File.StepCount(en));
            for (int n = 1; n <= german.File.StepCount(de); ++n) {
                const TTutorialStep a = german.File.Step(de, n);
                const TTutorialStep b = english.File.Step(en, n);
                const QByteArray where = Where("English", en, n).toUtf8();
                QVERIFY2(a.Position == b.Position, where);
                QVERIFY2(a.Move == b.Move, where);
                QVERIFY2(a.BoardHidden == b.BoardHidden, where);
                QVERIFY2(a.TakeOver == b.TakeOver, where);
                QVERIFY2(a.Text.has_value() == b.Text.has_value(), where);
                QVERIFY2((a.Wait == 0) == (b.Wait == 0), where);
            }
        }
    }

    void TextsAreFinishedAndLeaveTimeToRead() {
        for (const QString& language : Languages) {
            const TLesson lesson = LoadLesson(language);
            for (const QString& topic : lesson.Topics) {
                QVERIFY2(!HasPlaceholder(topic), qPrintable(topic));
                const int count = lesson.File.StepCount(topic);
                for (int n = 1; n <= count; ++n) {
                    const TTutorialStep step = lesson.File.Step(topic, n);
                    const QString where = Where(language, topic, n);
                    const QString text = step.Text.value_or(QString());
                    QVERIFY2(!HasPlaceholder(text), qPrintable(where + ": " + text));
                    QVERIFY2(!step.Text || !text.trimmed().isEmpty(), qPrintable(where));
                    const int wait = step.Wait.value_or(DefaultStepWait);
                    // The last step ends the slide show; every other one leaves time to read its text.
                    QVERIFY2((wait == 0) == (n == count), qPrintable(where));
                    const int reading =
                        std::max<int>(MinimumStepWait, text.size() * MillisecondsPerCharacter);
                    QVERIFY2(
                        wait == 0 || wait >= reading,
                        qPrintable(
                            QString("%1: %2 ms for %3 characters").arg(where).arg(wait).arg(text.size())));
                }
            }
        }
    }

    // Replays every topic as the tutorial window does, step by step from the first.
    void EveryPositionAndMoveIsPlayable() {
        for (const QString& language : Languages) {
            const TLesson lesson = LoadLesson(language);
            for (const QString& topic : lesson.Topics) {
                TChessRules board;
                const int count = lesson.File.StepCount(topic);
                for (int n = 1; n <= count; ++n) {
                    const TTutorialStep step = lesson.File.Step(topic, n);
                    const QString where = Where(language, topic, n);
                    QVERIFY2(n > 1 || step.Position || !step.Move,
                             qPrintable(where + ": a move needs a position first"));
                    if (step.Position) {
                        QVERIFY2(IsValidPosition(*step.Position),
                                 qPrintable(where + ": \"" + *step.Position + "\""));
                        StartTutorialLine(board, *step.Position);
                    }
                    if (step.Move) {
                        QVERIFY2(HasOneKingEach(board.Position()),
                                 qPrintable(where + ": moves need one king each"));
                        const bool white =
                            board.PieceColorAt(SquareIndex(step.Move->left(2).toStdString())) == 1;
                        QVERIFY2(!InCheck(board, !white),
                                 qPrintable(where + ": the side not moving is in check"));
                        QVERIFY2(PlayTutorialMove(board, *step.Move),
                                 qPrintable(where + ": refused " + *step.Move));
                    }
                    if (step.TakeOver) {
                        QVERIFY2(HasOneKingEach(board.Position()), qPrintable(where));
                        QVERIFY2(board.WhiteToMove() && !InCheck(board, false) && board.HasLegalMove(),
                                 qPrintable(where + ": a taken-over game begins with White to move"));
                    }
                }
            }
        }
    }

    // Back, the track bar or a jump reaches a step from another step's board: the board it shows then
    // is the one the steps shown one after another from the first leave.
    void EveryStepReachedOtherwiseShowsTheForwardBoard() {
        for (const QString& language : Languages) {
            const TLesson lesson = LoadLesson(language);
            for (const QString& topic : lesson.Topics) {
                const int count = lesson.File.StepCount(topic);
                TChessRules forward;
                std::vector<TShownBoard> shown(count + 1);
                for (int n = 1; n <= count; ++n) {
                    PlayTutorialStep(forward, lesson.File.Step(topic, n));
                    shown[n] = ShownBoard(forward);
                }
                TChessRules back;
                QVERIFY(count == 0 || SetUpTutorialStep(back, lesson.File, topic, count) ||
                        TutorialLineStart(lesson.File, topic, count) == 0);
                for (int n = count; n >= 1; --n) {
                    if (TutorialLineStart(lesson.File, topic, n) == 0) continue; // no board of the topic
                    const QString where = Where(language, topic, n);
                    const TTutorialStep step = lesson.File.Step(topic, n);
                    // As the window does: a step without a position needs the board of the step before.
                    if (!step.Position)
                        QVERIFY2(SetUpTutorialStep(back, lesson.File, topic, n - 1), qPrintable(where));
                    QVERIFY2(PlayTutorialStep(back, step), qPrintable(where));
                    QVERIFY2(ShownBoard(back) == shown[n], qPrintable(where + ": back"));
                    TChessRules jump;
                    QVERIFY2(SetUpTutorialStep(jump, lesson.File, topic, n), qPrintable(where));
                    QVERIFY2(ShownBoard(jump) == shown[n], qPrintable(where + ": jump"));
                }
            }
        }
    }

    // The last move of these topics mates (or repeats); a step to try it may follow it.
    void MatesAndTheRepetitionEndAsTheySay() {
        const TLesson lesson = LoadLesson("English");
        QStringList endings = MateTopics;
        endings << RepetitionTopic;
        for (const QString& title : endings) {
            QVERIFY2(lesson.Topics.contains(title), qPrintable(title));
            TChessRules board;
            bool mated = false;
            bool repeated = false;
            for (int n = 1; n <= lesson.File.StepCount(title); ++n) {
                const TTutorialStep step = lesson.File.Step(title, n);
                if (step.Position) StartTutorialLine(board, *step.Position);
                if (!step.Move) continue;
                PlayTutorialMove(board, *step.Move);
                mated = IsMate(board);
                repeated = board.IsThreefoldRepetition();
            }
            QVERIFY2(title == RepetitionTopic ? repeated : mated, qPrintable(title));
        }
    }
};

QTEST_GUILESS_MAIN(TestLessons)
#include "tst_lessons.moc"
