#include "Pgn.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr int LineLimit = 79; // columns of a movetext line, below the 80 the standard asks for
constexpr std::string_view InitialFen = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
constexpr std::string_view ResultTokens[] = {"1-0", "0-1", "1/2-1/2", "*"};
constexpr std::string_view DrawWritten = "\xc2\xbd-\xc2\xbd"; // "½-½", as some programs write a draw
constexpr std::string_view SymbolEnds = "{}()[];";
constexpr std::string_view ByteOrderMark = "\xef\xbb\xbf"; // how some editors begin UTF-8 text

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// The words of a text joined by single blanks.
std::string Collapsed(std::string_view text) {
    std::string words;
    for (char c : text) {
        if (IsBlank(c)) {
            if (!words.empty() && words.back() != ' ') words.push_back(' ');
        } else {
            words.push_back(c);
        }
    }
    if (!words.empty() && words.back() == ' ') words.pop_back();
    return words;
}

// Reads a text from front to back, game by game. Variations are followed only to skip them, to any
// depth; a tag at the start of a line ends a variation left open.
class TPgnScanner {
public:
    explicit TPgnScanner(std::string_view text) : FText(text) {}

    std::vector<TPgnGame> Run() {
        while (FPos < FText.size())
            Step();
        FinishGame();
        return std::move(FGames);
    }

private:
    void Step() {
        const char c = FText[FPos];
        if (c == '%' && AtLineStart()) {
            SkipLine();
        } else if (c == '{') {
            ReadComment();
        } else if (c == ';') {
            SkipLine();
        } else if (c == '[' && (FDepth == 0 || AtLineStart())) {
            ReadTag();
        } else if (IsBlank(c) || c == '(' || c == ')' || c == '[' || c == ']' || c == '}') {
            if (c == '(') ++FDepth;
            if (c == ')') FDepth = std::max(0, FDepth - 1);
            ++FPos;
        } else {
            ReadSymbol();
        }
    }

    bool AtLineStart() const { return FPos == 0 || FText[FPos - 1] == '\n' || FText[FPos - 1] == '\r'; }

    void SkipLine() {
        const size_t end = FText.find('\n', FPos);
        FPos = end == std::string_view::npos ? FText.size() : end + 1;
    }

    void ReadComment() {
        const size_t end = FText.find('}', FPos + 1);
        const size_t stop = end == std::string_view::npos ? FText.size() : end;
        if (FDepth == 0 && FGame.Moves.empty() && FGame.Comment.empty())
            FGame.Comment = Collapsed(FText.substr(FPos + 1, stop - FPos - 1));
        FPos = end == std::string_view::npos ? FText.size() : end + 1;
    }

    void ReadTag() {
        if (!FGame.Moves.empty() || !FGame.Result.empty()) FinishGame();
        FDepth = 0;
        ++FPos;
        SkipSpacesInLine();
        const size_t nameStart = FPos;
        while (FPos < FText.size() &&
               (std::isalnum(static_cast<unsigned char>(FText[FPos])) || FText[FPos] == '_'))
            ++FPos;
        TPgnTag tag{std::string(FText.substr(nameStart, FPos - nameStart)), {}};
        SkipSpacesInLine();
        if (FPos < FText.size() && FText[FPos] == '"') tag.Value = ReadTagValue();
        while (FPos < FText.size() && FText[FPos] != ']' && FText[FPos] != '\n')
            ++FPos;
        if (FPos < FText.size() && FText[FPos] == ']') ++FPos;
        if (!tag.Name.empty()) FGame.Tags.push_back(std::move(tag));
    }

    // A value ends at its closing quote, or at the end of the line when the quote is missing.
    std::string ReadTagValue() {
        std::string value;
        for (++FPos; FPos < FText.size() && FText[FPos] != '"' && FText[FPos] != '\n'; ++FPos) {
            if (FText[FPos] == '\\' && FPos + 1 < FText.size() && FText[FPos + 1] != '\n') ++FPos;
            value.push_back(FText[FPos]);
        }
        if (FPos < FText.size() && FText[FPos] == '"') ++FPos;
        while (!value.empty() && value.back() == '\r')
            value.pop_back();
        return value;
    }

    void SkipSpacesInLine() {
        while (FPos < FText.size() && (FText[FPos] == ' ' || FText[FPos] == '\t'))
            ++FPos;
    }

    void ReadSymbol() {
        const size_t start = FPos;
        while (FPos < FText.size() && !IsBlank(FText[FPos]) &&
               SymbolEnds.find(FText[FPos]) == std::string_view::npos)
            ++FPos;
        if (FDepth == 0) TakeSymbol(FText.substr(start, FPos - start));
    }

    void TakeSymbol(std::string_view symbol) {
        if (symbol.front() == '$') return; // a numeric annotation glyph
        if (symbol == DrawWritten) symbol = "1/2-1/2";
        for (std::string_view result : ResultTokens)
            if (symbol == result) {
                FGame.Result = std::string(result);
                return FinishGame();
            }
        size_t digits = 0;
        while (digits < symbol.size() && IsDigit(symbol[digits]))
            ++digits;
        if (digits > 0 && digits < symbol.size() && symbol[digits] == '.') {
            symbol.remove_prefix(digits);
            while (!symbol.empty() && symbol.front() == '.')
                symbol.remove_prefix(1);
        }
        const bool onlyMarks = symbol.find_first_not_of("!?.") == std::string_view::npos;
        const bool onlyDigits = symbol.find_first_not_of("0123456789") == std::string_view::npos;
        if (!onlyMarks && !onlyDigits) FGame.Moves.emplace_back(symbol);
    }

    void FinishGame() {
        if (!FGame.Tags.empty() || !FGame.Moves.empty() || !FGame.Result.empty())
            FGames.push_back(std::move(FGame));
        FGame = {};
        FDepth = 0;
    }

    std::string_view FText;
    size_t FPos = 0;
    int FDepth = 0;
    TPgnGame FGame;
    std::vector<TPgnGame> FGames;
};

std::string Escaped(std::string_view value) {
    std::string text;
    for (char c : value) {
        if (c == '\r' || c == '\n') c = ' ';
        if (c == '"' || c == '\\') text.push_back('\\');
        text.push_back(c);
    }
    return text;
}

// Joins the pieces of the movetext with blanks, starting a new line where the next would not fit.
class TMovetextLines {
public:
    void Add(const std::string& piece) {
        if (!FLine.empty() && FLine.size() + 1 + piece.size() > static_cast<size_t>(LineLimit)) Break();
        if (!FLine.empty()) FLine.push_back(' ');
        FLine += piece;
    }
    std::string Finish() {
        Break();
        return std::move(FText);
    }

private:
    void Break() {
        if (FLine.empty()) return;
        FText += FLine + '\n';
        FLine.clear();
    }
    std::string FText;
    std::string FLine;
};

void AddComment(TMovetextLines& lines, const std::string& comment) {
    std::string text;
    for (char c : comment)
        if (c != '{' && c != '}') text.push_back(c);
    text = Collapsed(text);
    if (text.empty()) return;
    std::string word;
    bool first = true;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = std::min(text.find(' ', start), text.size());
        word = (first ? "{" : "") + text.substr(start, end - start) + (end == text.size() ? "}" : "");
        lines.Add(word);
        first = false;
        start = end + 1;
    }
}

} // namespace

std::string TPgnGame::Tag(std::string_view name) const {
    for (const TPgnTag& tag : Tags)
        if (EqualNoCase(tag.Name, name)) return tag.Value;
    return {};
}

std::vector<TPgnGame> ReadPgn(std::string_view text) {
    if (text.starts_with(ByteOrderMark)) text.remove_prefix(ByteOrderMark.size());
    return TPgnScanner(text).Run();
}

TFenPosition InitialFenPosition() {
    TFenPosition initial;
    std::string unused;
    ReadFen(InitialFen, initial, unused);
    return initial;
}

bool ReplayPgnGame(const TPgnGame& game, TSanBoard& board, TPgnLine& line, TPgnProblem& problem) {
    line = {InitialFenPosition(), {}};
    const std::string fen = game.Tag("FEN");
    if (!fen.empty()) {
        std::string error;
        if (!ReadFen(fen, line.Start, error) || !(error = SetUpProblem(line.Start.Snapshot)).empty()) {
            problem = {};
            problem.Reason = error;
            return false;
        }
    }
    board.SetPosition(line.Start.Snapshot);
    int moveNumber = line.Start.MoveNumber;
    line.Moves.reserve(game.Moves.size());
    for (const std::string& text : game.Moves) {
        const bool white = board.Position().WhiteToMove;
        TChessMove move;
        const TSanFault fault = board.FromSan(text, move);
        if (fault != TSanFault::None) {
            problem = {moveNumber, white, text, fault, {}};
            return false;
        }
        line.Moves.push_back(move);
        board.Play(move);
        if (!white) ++moveNumber;
    }
    return true;
}

std::string WritePgn(const std::vector<TPgnTag>& tags, const TPgnLine& line, const std::string& result,
                     const std::string& comment, TSanBoard& board) {
    std::string text;
    // The line's own start decides these two, whatever tags came along.
    for (const TPgnTag& tag : tags)
        if (!EqualNoCase(tag.Name, "SetUp") && !EqualNoCase(tag.Name, "FEN"))
            text += '[' + tag.Name + " \"" + Escaped(tag.Value) + "\"]\n";
    if (!(line.Start == InitialFenPosition()))
        text += "[SetUp \"1\"]\n[FEN \"" + WriteFen(line.Start) + "\"]\n";
    text += '\n';
    TMovetextLines movetext;
    AddComment(movetext, comment);
    board.SetPosition(line.Start.Snapshot);
    int moveNumber = line.Start.MoveNumber;
    bool numbered = false; // black's move needs its own number only at the start
    for (const TChessMove& move : line.Moves) {
        const bool white = board.Position().WhiteToMove;
        const std::string san = board.ToSan(move);
        if (san.empty()) break; // nothing after a move no other program could read
        if (white)
            movetext.Add(std::to_string(moveNumber) + ". " + san);
        else
            movetext.Add(numbered ? san : std::to_string(moveNumber) + "... " + san);
        numbered = true;
        board.Play(move);
        if (!white) ++moveNumber;
    }
    movetext.Add(result.empty() ? "*" : result);
    return text + movetext.Finish() + '\n';
}
