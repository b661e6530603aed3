// Games in PGN: a corpus of tricky games written for these tests (comments everywhere, nested
// variations, annotation glyphs, "0-0", promotions with and without "=", a mate, an illegal move),
// the round trip of exported games, and seeded mutations of PGN and FEN text that must neither
// crash nor hang the reader.

#include "Fen.h"
#include "Pgn.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <random>

namespace {

constexpr unsigned Seed = 61206;
constexpr int RoundTripGames = 40;
constexpr int LongestRandomGame = 160;
constexpr int Mutations = 20000;
constexpr int MutationsPerText = 6;
constexpr std::string_view Noise = "{}()[];$%\"\\.\n 0123456789NBRQKOox=+#!?-/abcdefgh*";

std::string Corpus() {
    QFile file(QString(TESSARON_TEST_DATA) + "/pgn/tricky.pgn");
    if (!file.open(QIODevice::ReadOnly)) qFatal("the PGN corpus is missing");
    return file.readAll().toStdString();
}

TPositionSnapshot FromFen(const char* fen) {
    TPositionSnapshot position;
    std::string error;
    if (!ParseFen(fen, position, error)) qFatal("bad test FEN %s", fen);
    return position;
}

// A seeded random game, from the initial position or from a position a few random moves in,
// handed on as a set-up position with its move number.
TPgnLine RandomLine(std::mt19937& random, TSanBoard& board, bool setUp) {
    TPgnLine line{InitialFenPosition(), {}};
    board.SetPosition(line.Start.Snapshot);
    if (setUp) {
        for (int i = 0; i < 7 && !board.LegalMoves().empty(); ++i)
            board.Play(board.LegalMoves()[random() % board.LegalMoves().size()]);
        line.Start.Snapshot = board.Position();
        line.Start.MoveNumber = 4;
    }
    const int length = static_cast<int>(random() % LongestRandomGame);
    for (int i = 0; i < length && !board.LegalMoves().empty(); ++i) {
        const TChessMove move = board.LegalMoves()[random() % board.LegalMoves().size()];
        line.Moves.push_back(move);
        board.Play(move);
    }
    return line;
}

std::string Mutated(std::string text, std::mt19937& random, int mostEdits) {
    const int edits = 1 + static_cast<int>(random() % mostEdits);
    for (int i = 0; i < edits && !text.empty(); ++i) {
        const size_t at = random() % text.size();
        switch (random() % 5) {
        case 0:
            text[at] = Noise[random() % Noise.size()];
            break;
        case 1:
            text.insert(at, 1, Noise[random() % Noise.size()]);
            break;
        case 2:
            text.erase(at, random() % 12);
            break;
        case 3:
            text.resize(at);
            break;
        default:
            text.insert(at, text.substr(random() % text.size(), random() % 40));
            break;
        }
    }
    return text;
}

} // namespace

class TestPgn : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void corpusGames();
    void corpusReplays_data();
    void corpusReplays();
    void illegalMoveNamed();
    void unplayableStart();
    void exportedText();
    void roundTrip();
    void mutatedTextNeverCrashes();
};

void TestPgn::corpusGames() {
    const std::vector<TPgnGame> games = ReadPgn(Corpus());
    QCOMPARE(games.size(), size_t(6));
    const TPgnGame& first = games[0];
    QCOMPARE(first.Tag("event"), std::string("Tricky \"quoted\" event"));
    QCOMPARE(first.Tag("Site"), std::string("Berlin \\ Mitte"));
    QCOMPARE(first.Tag("White"), std::string("Weiß, Max"));
    QCOMPARE(first.Comment, std::string("The whole game in one comment"));
    QCOMPARE(first.Moves, (std::vector<std::string>{"e4", "e5", "Bc4", "Nc6!?", "Qh5", "Nf6??", "Qxf7#"}));
    QCOMPARE(first.Result, std::string("1-0"));
    QCOMPARE(games[1].Moves, (std::vector<std::string>{"a8Q", "a1=Q", "Qb7+", "Kg6"}));
    QCOMPARE(games[2].Moves.size(), size_t(17));
    QCOMPARE(games[3].Moves.size(), size_t(11));
    QCOMPARE(games[5].Tags.size(), size_t(0));
    QCOMPARE(games[5].Result, std::string("0-1"));
}

void TestPgn::corpusReplays_data() {
    QTest::addColumn<int>("game");
    QTest::addColumn<QString>("fen");
    QTest::addColumn<bool>("mate");
    QTest::newRow("comments, variations, mate")
        << 0 << "r1bqkb1r/pppp1Qpp/2n2n2/4p3/2B1P3/8/PPPP1PPP/RNB1K1NR b KQkq -" << true;
    QTest::newRow("promotions from a set-up") << 1 << "8/1Q6/6k1/8/8/8/7K/q7 w - -" << false;
    QTest::newRow("castling with zeros")
        << 2 << "r1bq1rk1/pppp1p2/2n2n2/2b1p1B1/2B1P3/3P4/PPP2PPP/RN1Q1RK1 b - -" << false;
    QTest::newRow("nested variations")
        << 3 << "rnbqkbnr/p3pppp/8/1p6/2pP4/4PQ2/1P3PPP/RNB1KBNR b KQkq -" << false;
    QTest::newRow("bare movetext, fool's mate")
        << 5 << "rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq -" << true;
}

void TestPgn::corpusReplays() {
    QFETCH(int, game);
    QFETCH(QString, fen);
    QFETCH(bool, mate);
    const std::vector<TPgnGame> games = ReadPgn(Corpus());
    TSanBoard board;
    TPgnLine line;
    TPgnProblem problem;
    QVERIFY(ReplayPgnGame(games[static_cast<size_t>(game)], board, line, problem));
    QCOMPARE(line.Moves.size(), games[static_cast<size_t>(game)].Moves.size());
    QCOMPARE(board.Position(), FromFen(fen.toStdString().c_str()));
    QCOMPARE(board.LegalMoves().empty(), mate);
}

void TestPgn::illegalMoveNamed() {
    const std::vector<TPgnGame> games = ReadPgn(Corpus());
    TSanBoard board;
    TPgnLine line;
    TPgnProblem problem;
    QVERIFY(!ReplayPgnGame(games[4], board, line, problem));
    QCOMPARE(problem.MoveNumber, 2);
    QVERIFY(problem.WhiteMoves);
    QCOMPARE(problem.MoveText, std::string("Ke3"));
    QCOMPARE(problem.Fault, TSanFault::Illegal);
}

void TestPgn::unplayableStart() {
    const std::vector<TPgnGame> games = ReadPgn("\xef\xbb\xbf[FEN \"8/8/8/8/8/8/8/8 w - - 0 1\"]\n1. e4 *");
    QCOMPARE(games.size(), size_t(1));
    TSanBoard board;
    TPgnLine line;
    TPgnProblem problem;
    QVERIFY(!ReplayPgnGame(games.at(0), board, line, problem));
    QCOMPARE(problem.MoveNumber, 0);
    QVERIFY(problem.Reason.find("king") != std::string::npos);
}

void TestPgn::exportedText() {
    TSanBoard board;
    const TPgnGame game = ReadPgn(Corpus())[1];
    TPgnLine line;
    TPgnProblem problem;
    QVERIFY(ReplayPgnGame(game, board, line, problem));
    line.Moves.erase(line.Moves.begin()); // the line starts with black's move
    line.Start.Snapshot = PositionAfter(line.Start.Snapshot, {A7, A8, 'q'});
    const std::string text =
        WritePgn({{"Event", "A \"quoted\" \\ event"}, {"Result", "*"}}, line, "*", "Black {to} move", board);
    QCOMPARE(QString::fromStdString(text),
             QString("[Event \"A \\\"quoted\\\" \\\\ event\"]\n[Result \"*\"]\n[SetUp \"1\"]\n"
                     "[FEN \"Q7/7k/8/8/8/8/p6K/8 b - - 0 50\"]\n\n"
                     "{Black to move} 50... a1=Q 51. Qb7+ Kg6 *\n\n"));
}

// Export, import and export again give the same text; no movetext line reaches 80 columns.
void TestPgn::roundTrip() {
    std::mt19937 random(Seed);
    TSanBoard board;
    for (int i = 0; i < RoundTripGames; ++i) {
        const TPgnLine line = RandomLine(random, board, i % 3 == 0);
        const std::vector<TPgnTag> tags = {
            {"Event", "Round trip"}, {"White", "W"}, {"Black", "B"}, {"Result", "*"}};
        const std::string text = WritePgn(tags, line, "*", i % 2 ? "A comment" : "", board);
        for (size_t start = 0, end; start < text.size(); start = end + 1) {
            end = text.find('\n', start);
            QVERIFY2(end - start < 80, text.c_str());
        }
        const std::vector<TPgnGame> games = ReadPgn(text);
        QCOMPARE(games.size(), size_t(1));
        TPgnLine read;
        TPgnProblem problem;
        QVERIFY2(ReplayPgnGame(games[0], board, read, problem), text.c_str());
        QCOMPARE(read.Moves, line.Moves);
        const std::string again = WritePgn(games[0].Tags, read, games[0].Result, games[0].Comment, board);
        QVERIFY2(again == text, (text + "\n----\n" + again).c_str());
    }
}

void TestPgn::mutatedTextNeverCrashes() {
    std::mt19937 random(Seed);
    TSanBoard board;
    const std::string corpus = Corpus();
    const std::string fen = "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1";
    QElapsedTimer timer;
    timer.start();
    int games = 0, replayed = 0, positions = 0;
    for (int i = 0; i < Mutations; ++i) {
        for (const TPgnGame& game : ReadPgn(Mutated(corpus, random, MutationsPerText))) {
            TPgnLine line;
            TPgnProblem problem;
            ++games;
            replayed += ReplayPgnGame(game, board, line, problem);
        }
        TFenPosition position;
        std::string error;
        if (ReadFen(Mutated(fen, random, 1), position, error) && SetUpProblem(position.Snapshot).empty()) {
            board.SetPosition(position.Snapshot);
            for (const TChessMove& move : board.LegalMoves())
                QVERIFY(!board.ToSan(move).empty());
            ++positions;
        }
    }
    qInfo("%d mutations each of PGN and FEN: %d games read, %d replayed, %d playable positions, %lld ms",
          Mutations, games, replayed, positions, timer.elapsed());
    QVERIFY(replayed > 0 && positions > 0);
}

QTEST_APPLESS_MAIN(TestPgn)
#include "tst_pgn.moc"
