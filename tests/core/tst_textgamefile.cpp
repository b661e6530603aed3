// The older text game files: what the reader takes from them (the defaults included), which files it
// refuses, and the replay of their moves on the rules. The files under tests/data/textgame are
// written the way the older program wrote them.

#include "MoveReplay.h"
#include "TextGameFile.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <random>

namespace {

QString DataFile(const char* name) {
    return QString(TESSARON_TEST_DATA_DIR) + "/textgame/" + name;
}

QByteArray DataBytes(const char* name) {
    QFile file(DataFile(name));
    if (!file.open(QIODevice::ReadOnly)) qFatal("missing test file %s", name);
    return file.readAll();
}

TMoveSquares Move(Square from, Square to) {
    return {from, to};
}

TReplayResult Replay(TChessRules& rules, const TTextGame& game) {
    rules.NewGame();
    ApplyTextGameStart(rules, game);
    return ReplayMoves(rules, game.Moves);
}

bool IsCleanPlacement(const std::string& position) {
    return position.size() == SquareCount && position.find_first_not_of(PieceCharacters) == std::string::npos;
}

// A file changed at random in one of the ways files get damaged: bytes changed, cut short, a piece
// lost or doubled, a huge or negative number or a stray line put in.
QByteArray Mutated(QByteArray bytes, std::mt19937& random) {
    auto at = [&random](qsizetype size) {
        return static_cast<qsizetype>(
            std::uniform_int_distribution<qsizetype>(0, std::max<qsizetype>(0, size - 1))(random));
    };
    static const QByteArray inserts[] = {"99999999999",
                                         "-2147483648",
                                         "\n[SquareList]\nPos0=H8-A1\n",
                                         "\"",
                                         "\n[Start]\nPosition=kkkk\n",
                                         "\0",
                                         "\n[Common]\nVersion=1.6\n",
                                         "=",
                                         "\n",
                                         "[Game]\nPlayer1=2147483647\nPlayer1Color=1\nPlayer2Color=1\n"};
    const int kind = std::uniform_int_distribution<int>(0, 4)(random);
    const int times = std::uniform_int_distribution<int>(1, 4)(random);
    for (int t = 0; t < times; ++t) {
        switch (kind) {
        case 0:
            if (!bytes.isEmpty()) bytes[at(bytes.size())] = static_cast<char>(random());
            break;
        case 1:
            bytes.truncate(at(bytes.size()));
            break;
        case 2:
            bytes.remove(at(bytes.size()), std::uniform_int_distribution<int>(1, 40)(random));
            break;
        case 3: {
            const qsizetype from = at(bytes.size());
            bytes.insert(at(bytes.size()),
                         bytes.mid(from, std::uniform_int_distribution<int>(1, 60)(random)));
            break;
        }
        default: {
            const QByteArray& insert =
                inserts[std::uniform_int_distribution<size_t>(0, std::size(inserts) - 1)(random)];
            bytes.insert(at(bytes.size()), insert.isEmpty() ? QByteArray(1, '\0') : insert);
        }
        }
    }
    return bytes;
}

} // namespace

class TestTextGameFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fileWithOnlyMovesTakesTheDefaults();
    void everyKeyIsRead();
    void fullGameReplaysCastlingEnPassantAndPromotions();
    void refusedMovesAreSkippedAndCounted();
    void versionsCompareAsNumbers_data();
    void versionsCompareAsNumbers();
    void oldVersionFileIsRefused();
    void newerVersionFileIsRead();
    void filesThatAreNoGameAreUnreadable();
    void startPositionWithBlackToMove();
    void malformedStartPositionIsUnreadable();
    void valuesOutsideTheirRangesAreHeld();
    void replayStopsWhenTheHistoryIsFull();
    void mutatedFilesNeverCrash();
};

void TestTextGameFile::fileWithOnlyMovesTakesTheDefaults() {
    TTextGame game;
    QCOMPARE(ReadTextGameFile(DataFile("only-moves.TN"), game), TTextGameStatus::Read);
    QCOMPARE(game.Version, "1.7");
    QCOMPARE(game.StartPosition, "rnbqkbnrpppppppp                                PPPPPPPPRNBQKBNR");
    QVERIFY(game.StartWhiteToMove);
    QCOMPARE(game.StartCastling, AllCastlingRights);
    QCOMPARE(game.Player1.Name, "Spieler 1");
    QCOMPARE(game.Player2.Name, "Spieler 2");
    QCOMPARE(game.Player1.Kind, 0);
    QCOMPARE(game.Player2.Kind, 0);
    QVERIFY(game.Player1.Black);
    QVERIFY(!game.Player2.Black);
    for (const TTextGamePlayer* player : {&game.Player1, &game.Player2}) {
        QCOMPARE(player->Clock.MoveCount, 0);
        QCOMPARE(player->Clock.TimePerMove, 0);
        QCOMPARE(player->Clock.TotalTime, 0u);
    }
    QVERIFY(game.WhiteToMove);
    QVERIFY(!game.WhiteOnTop);
    QCOMPARE(game.Level, 1);
    QVERIFY(!game.End);
    const std::vector<TMoveSquares> moves = {Move(E2, E4), Move(E7, E5), Move(G1, F3)};
    QVERIFY(game.Moves == moves);
}

void TestTextGameFile::everyKeyIsRead() {
    TTextGame game;
    QCOMPARE(ReadTextGameFile(DataFile("full-game.tn"), game), TTextGameStatus::Read);
    QCOMPARE(game.Player1.Name, "Anna Weiß"); // written in the Windows code page
    QCOMPARE(game.Player1.Kind, 1);
    QVERIFY(!game.Player1.Black);
    QCOMPARE(game.Player2.Name, "Bert");
    QVERIFY(game.Player2.Black);
    QCOMPARE(game.Player1.Clock.MoveCount, 11);
    QCOMPARE(game.Player1.Clock.TimePerMove, 2500);
    QCOMPARE(game.Player1.Clock.TotalTime, 27500u);
    QCOMPARE(game.Player2.Clock.MoveCount, 10);
    QCOMPARE(game.Player2.Clock.TotalTime, 41000u);
    QVERIFY(game.WhiteOnTop);
    QCOMPARE(game.Level, 4);
    QVERIFY(!game.End);
    QCOMPARE(game.Moves.size(), size_t(21));
}

void TestTextGameFile::fullGameReplaysCastlingEnPassantAndPromotions() {
    TTextGame game;
    QCOMPARE(ReadTextGameFile(DataFile("full-game.tn"), game), TTextGameStatus::Read);
    TChessRules rules;
    const TReplayResult result = Replay(rules, game);
    QCOMPARE(result.Played, 21);
    QCOMPARE(result.Refused, 0);
    QCOMPARE(result.Unplayed, 0);
    QCOMPARE(rules.PieceAt(A8), 'Q'); // white promoted taking the rook
    QCOMPARE(rules.PieceAt(G1), 'K'); // both sides castled short
    QCOMPARE(rules.PieceAt(G8), 'k');
    QCOMPARE(rules.PieceAt(D4), ' '); // taken en passant
    QCOMPARE(rules.PieceAt(D1), 'R'); // took the black pawn's new queen
    QVERIFY(!rules.WhiteToMove());
    QCOMPARE(rules.CurrentMove(), 11);
}

void TestTextGameFile::refusedMovesAreSkippedAndCounted() {
    TTextGame game;
    QCOMPARE(ReadTextGameFile(DataFile("refused-moves.NT"), game), TTextGameStatus::Read);
    const std::vector<TMoveSquares> moves = {Move(E2, E4),   Move(G8, G5),     Move(None, E5), Move(D2, D4),
                                             Move(E7, None), Move(None, None), Move(E7, E5)};
    QVERIFY(game.Moves == moves);
    TChessRules rules;
    const TReplayResult result = Replay(rules, game);
    QCOMPARE(result.Played, 2);
    QCOMPARE(result.Refused, 5);
    QCOMPARE(result.Unplayed, 0);
    QCOMPARE(rules.PieceAt(E4), 'P');
    QCOMPARE(rules.PieceAt(E5), 'p');
    QCOMPARE(rules.PieceAt(D2), 'P');
}

void TestTextGameFile::versionsCompareAsNumbers_data() {
    QTest::addColumn<QString>("version");
    QTest::addColumn<bool>("readable");
    QTest::newRow("the oldest") << "1.7" << true;
    QTest::newRow("1.10 is newer than 1.7") << "1.10" << true;
    QTest::newRow("1.8") << "1.8" << true;
    QTest::newRow("2.0") << "2.0" << true;
    QTest::newRow("10.0") << "10.0" << true;
    QTest::newRow("three parts") << "1.7.1" << true;
    QTest::newRow("blanks around") << " 1.9 " << true;
    QTest::newRow("1.6") << "1.6" << false;
    QTest::newRow("1.06 is 1.6") << "1.06" << false;
    QTest::newRow("0.9") << "0.9" << false;
    QTest::newRow("1") << "1" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("no number") << "abc" << false;
}

void TestTextGameFile::versionsCompareAsNumbers() {
    QFETCH(QString, version);
    QFETCH(bool, readable);
    QCOMPARE(IsReadableTextGameVersion(version), readable);
}

void TestTextGameFile::oldVersionFileIsRefused() {
    TTextGame game;
    QCOMPARE(ReadTextGameFile(DataFile("version-1.6.tn"), game), TTextGameStatus::OldVersion);
    QCOMPARE(game.Version, "1.6");
    QVERIFY(game.Moves.empty());
}

void TestTextGameFile::newerVersionFileIsRead() {
    TTextGame game;
    QCOMPARE(ReadTextGameFile(DataFile("version-1.10.tn"), game), TTextGameStatus::Read);
    QCOMPARE(game.Player1.Name, "Neu");
    QCOMPARE(game.Moves.size(), size_t(1));
}

void TestTextGameFile::filesThatAreNoGameAreUnreadable() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    auto write = [&dir](const QString& name, const QByteArray& bytes) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write");
        file.write(bytes);
        return dir.filePath(name);
    };
    TTextGame game;
    game.Player1.Name = "left over";
    QCOMPARE(ReadTextGameFile(dir.filePath("missing.tn"), game), TTextGameStatus::Unreadable);
    QCOMPARE(game.Player1.Name, "Spieler 1"); // nothing of an earlier read stays
    QCOMPARE(ReadTextGameFile(dir.path(), game), TTextGameStatus::Unreadable);
    QCOMPARE(ReadTextGameFile(write("empty.tn", {}), game), TTextGameStatus::Unreadable);
    QCOMPARE(ReadTextGameFile(write("other.tn", "[Colors]\nRed=1\n"), game), TTextGameStatus::Unreadable);
    QCOMPARE(ReadTextGameFile(write("binary.tn", QByteArray("3.02.200\0\0\x01\xff", 12)), game),
             TTextGameStatus::Unreadable);
    QByteArray huge = DataBytes("only-moves.TN");
    huge.append(QByteArray(MaxTextGameFileSize, ' '));
    QCOMPARE(ReadTextGameFile(write("huge.tn", huge), game), TTextGameStatus::Unreadable);
}

void TestTextGameFile::startPositionWithBlackToMove() {
    TTextGame game;
    const QByteArray file =
        "[Start]\n"
        "Position=\"r   k  r        \" \n" // quotes keep the blanks at the ends
        "WhiteToMove=0\n"
        "[CastlingAllowed]\nWhiteKingSide=0\nWhiteQueenSide=0\nBlackKingSide=1\nBlackQueenSide=0\n"
        "[SquareList]\nPos0=E8-G8\n";
    QCOMPARE(ReadTextGame(file, game), TTextGameStatus::Unreadable); // 16 squares are no position

    const QString position = "r   k  r" + QString(48, ' ') + "R   K  R";
    QByteArray good = file;
    good.replace("\"r   k  r        \" ", "\"" + position.toLatin1() + "\"");
    QCOMPARE(ReadTextGame(good, game), TTextGameStatus::Read);
    QCOMPARE(game.StartPosition, position);
    QVERIFY(!game.StartWhiteToMove);
    QCOMPARE(game.StartCastling, CastleSet(BlackKingSide));
    TChessRules rules;
    const TReplayResult result = Replay(rules, game);
    QCOMPARE(result.Played, 1);
    QCOMPARE(rules.PieceAt(G8), 'k');
    QCOMPARE(rules.PieceAt(F8), 'r');
    QCOMPARE(rules.CastlingAllowed(), CastleSet(0));
}

void TestTextGameFile::malformedStartPositionIsUnreadable() {
    TTextGame game;
    const QString start = "rnbqkbnrpppppppp                                PPPPPPPPRNBQKBNR";
    for (const QString& position : {start.left(63), start + "P", QString(start).replace(0, 1, "x"),
                                    QString(start).replace(20, 1, "ä"), QString()}) {
        const QByteArray file = "[Start]\nPosition=\"" + position.toUtf8() + "\"\n";
        QVERIFY2(ReadTextGame(file, game) == TTextGameStatus::Unreadable, qPrintable(position));
    }
    QCOMPARE(ReadTextGame("[Start]\nPosition=NewGame\n", game), TTextGameStatus::Read);
    QCOMPARE(game.StartPosition, start);
}

void TestTextGameFile::valuesOutsideTheirRangesAreHeld() {
    TTextGame game;
    const QByteArray file =
        "[Game]\nPlayer1=7\nPlayer2=-3\nPlayer1Color=1\nPlayer2Color=1\nLevel=zwei\nEnd=5\n"
        "WhiteToMove=ja\n"
        "[TimePlayer1]\nMoveCount=-4\nTimePerMove=-1\nMatchtime=-2147483648\n"
        "[TimePlayer2]\nMatchtime=99999999999\n";
    QCOMPARE(ReadTextGame(file, game), TTextGameStatus::Read);
    QCOMPARE(game.Player1.Kind, 2);
    QCOMPARE(game.Player2.Kind, 0);
    QVERIFY(game.Player1.Black);
    QVERIFY(!game.Player2.Black); // one player of each colour
    QCOMPARE(game.Level, 1);      // no number: the default
    QVERIFY(game.End);
    QVERIFY(game.WhiteToMove);
    QCOMPARE(game.Player1.Clock.MoveCount, 0);
    QCOMPARE(game.Player1.Clock.TimePerMove, 0);
    QCOMPARE(game.Player1.Clock.TotalTime, 0u);
    QCOMPARE(game.Player2.Clock.TotalTime, 0u); // beyond any clock: the default
}

void TestTextGameFile::replayStopsWhenTheHistoryIsFull() {
    TTextGame game;
    QCOMPARE(ReadTextGameFile(DataFile("long-600.tn"), game), TTextGameStatus::Read);
    QCOMPARE(game.Moves.size(), size_t(600));
    TChessRules rules;
    const TReplayResult result = Replay(rules, game);
    constexpr int HalfMovesTheHistoryHolds = 2 * TChessRules::LastHistoryMove - 1;
    QCOMPARE(result.Played, HalfMovesTheHistoryHolds);
    QCOMPARE(result.Refused, 0);
    QCOMPARE(result.Unplayed, 600 - HalfMovesTheHistoryHolds);
    QVERIFY(rules.HistoryFull());
    QCOMPARE(rules.CurrentMove(), TChessRules::LastHistoryMove);
}

// Each damaged file is either refused or gives a game whose values lie in their ranges and whose
// replay accounts for every move.
void TestTextGameFile::mutatedFilesNeverCrash() {
    constexpr int Mutations = 20000;
    const QByteArray original = DataBytes("full-game.tn");
    std::mt19937 random(20261206);
    int read = 0, refused = 0, movesRefused = 0;
    QElapsedTimer timer;
    timer.start();
    TChessRules rules;
    for (int i = 0; i < Mutations; ++i) {
        const QByteArray bytes = Mutated(original, random);
        TTextGame game;
        if (ReadTextGame(bytes, game) != TTextGameStatus::Read) {
            ++refused;
            continue;
        }
        ++read;
        QVERIFY(game.Player1.Kind >= 0 && game.Player1.Kind <= 2);
        QVERIFY(game.Player2.Kind >= 0 && game.Player2.Kind <= 2);
        QVERIFY(game.Player1.Black != game.Player2.Black);
        QVERIFY(game.Player1.Clock.MoveCount >= 0 && game.Player2.Clock.TimePerMove >= 0);
        QVERIFY(IsReadableTextGameVersion(game.Version));
        QVERIFY(IsCleanPlacement(game.StartPosition.toStdString()));
        const TReplayResult result = Replay(rules, game);
        QCOMPARE(result.Played + result.Refused + result.Unplayed, static_cast<int>(game.Moves.size()));
        movesRefused += result.Refused;
        QVERIFY(IsCleanPlacement(rules.Position()));
        QVERIFY(rules.CurrentMove() >= 1 && rules.CurrentMove() <= TChessRules::LastHistoryMove);
    }
    qInfo("%d mutated files: %d read (%d moves refused in all), %d refused, in %lld ms", Mutations, read,
          movesRefused, refused, static_cast<long long>(timer.elapsed()));
    QVERIFY(read > 0 && refused > 0 && movesRefused > 0);
}

QTEST_GUILESS_MAIN(TestTextGameFile)
#include "tst_textgamefile.moc"
