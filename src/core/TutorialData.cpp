#include "TutorialData.h"

#include "ChessRules.h"
#include "UnitFunctions.h"

namespace {

constexpr auto DataFileName = "learnprg.dat";
constexpr auto LessonFolder = "lang\\";
constexpr int SquareNameLength = 2;
constexpr int ToSquareOffset = 3; // "E2-E4": the second name begins after one separator
constexpr int BlackPiece = 0;     // what PieceColorAt answers for a black piece

QString Key(QChar letter, int n) {
    return letter + QString::number(n);
}

// A boolean as the ini files of the program write it: a number, 0 for false.
std::optional<bool> ReadFlag(const TIniFile& ini, const QString& topic, const QString& key) {
    if (!ini.HasKey(topic, key)) return std::nullopt;
    bool ok = false;
    const int value = ini.Value(topic, key).toInt(&ok, 10);
    return ok ? std::optional<bool>(value != 0) : std::nullopt;
}

std::optional<QString> ReadText(const TIniFile& ini, const QString& topic, const QString& key) {
    if (!ini.HasKey(topic, key)) return std::nullopt;
    return ini.Value(topic, key);
}

// A wait that is no number takes the default; a negative one stops the slide show like 0.
std::optional<int> ReadWait(const TIniFile& ini, const QString& topic, const QString& key) {
    if (!ini.HasKey(topic, key)) return std::nullopt;
    bool ok = false;
    const int value = ini.Value(topic, key).toInt(&ok, 10);
    if (!ok) return DefaultStepWait;
    return std::max(value, 0);
}

} // namespace

bool TTutorialFile::Load(const QString& fileName) {
    return FIni.Load(fileName);
}

int TTutorialFile::StepCount(const QString& topic) const {
    int count = 0;
    for (const QString& key : FIni.Keys(topic))
        if (key.startsWith('W', Qt::CaseSensitive)) ++count;
    return count;
}

TTutorialStep TTutorialFile::Step(const QString& topic, int n) const {
    TTutorialStep step;
    step.Wait = ReadWait(FIni, topic, Key('W', n));
    step.BoardHidden = !ReadFlag(FIni, topic, Key('B', n)).value_or(true);
    step.TakeOver = ReadFlag(FIni, topic, Key('G', n)).value_or(false);
    step.Position = ReadText(FIni, topic, Key('P', n));
    step.Text = ReadText(FIni, topic, Key('T', n));
    step.Move = ReadText(FIni, topic, Key('M', n));
    return step;
}

QString TutorialFileName(const QString& language) {
    const bool escapes = language.contains('/') || language.contains('\\') || language.contains("..");
    if (language.isEmpty() || escapes) return {};
    return ResolvePath(ProgramDir() + LessonFolder + language + "\\" + DataFileName);
}

bool TutorialMoveSquares(const QString& move, Square& from, Square& to) {
    from = SquareIndex(move.mid(0, SquareNameLength).toStdString());
    to = SquareIndex(move.mid(ToSquareOffset, SquareNameLength).toStdString());
    return from != None && to != None;
}

void StartTutorialLine(TChessRules& board, const QString& position) {
    board.NewGame();
    board.SetPosition(position.toStdString());
    board.StartLine();
}

bool PlayTutorialMove(TChessRules& board, const QString& move) {
    Square from = None, to = None;
    if (!TutorialMoveSquares(move, from, to)) return false;
    board.SetWhiteToMove(board.PieceColorAt(from) != BlackPiece);
    return board.PlayMove(from, to);
}

bool PlayTutorialStep(TChessRules& board, const TTutorialStep& step) {
    if (step.Position) StartTutorialLine(board, *step.Position);
    return !step.Move || PlayTutorialMove(board, *step.Move);
}

int TutorialLineStart(const TTutorialFile& file, const QString& topic, int n) {
    for (int k = n; k >= 1; --k)
        if (file.Step(topic, k).Position) return k;
    return 0;
}

bool SetUpTutorialStep(TChessRules& board, const TTutorialFile& file, const QString& topic, int n) {
    const int start = TutorialLineStart(file, topic, n);
    if (start == 0) return false;
    bool played = true;
    for (int k = start; k <= n; ++k)
        played = PlayTutorialStep(board, file.Step(topic, k)) && played;
    return played;
}

// The text field breaks its lines at "\n"; a carriage return before it would show as a character.
QString TutorialDisplayText(const QString& text) {
    return ReplaceText(text, "|", "\n");
}
