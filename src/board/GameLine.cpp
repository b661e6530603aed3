#include "GameLine.h"

#include <cctype>

namespace {

constexpr int WhiteColumn = 0;
constexpr int BlackColumn = 1;
constexpr int BlackIndent = 14;

TPositionSnapshot SnapshotOf(const THistoryRecord& record, bool whiteToMove) {
    return {std::string(record.PositionText()), whiteToMove, record.Castling,
            static_cast<Square>(record.EnPassantSq)};
}

bool IsPromotion(const TPositionSnapshot& before, Square from, Square to) {
    const char piece = before.Position[static_cast<size_t>(from - 1)];
    return (piece == 'P' && RankOf(to) == 8) || (piece == 'p' && RankOf(to) == 1);
}

// The piece a pawn became is read from the position after the move, since the record keeps squares only.
char PromotionOf(const TPositionSnapshot& before, Square from, Square to, const THistoryRecord& after) {
    if (!IsPromotion(before, from, to)) return 0;
    const std::string_view placed = after.PositionText();
    const size_t index = static_cast<size_t>(to - 1);
    if (index >= placed.size()) return 'q';
    const char piece = static_cast<char>(std::tolower(static_cast<unsigned char>(placed[index])));
    return std::string_view("nbrq").find(piece) != std::string_view::npos ? piece : 'q';
}

bool IsPlaceholder(const TChessRules& rules, int n, int column) {
    return n == rules.FirstMoveNumber() && column == WhiteColumn && !rules.FirstSideWhite();
}

bool IsLineEnd(const TChessRules& rules, int n, int column) {
    return n == rules.LastMoveNumber() && column == (rules.LastSideWhite() ? WhiteColumn : BlackColumn);
}

bool ResetsClock(const TLineMove& move) {
    const std::string& board = move.Before.Position;
    const char piece = board[static_cast<size_t>(move.Move.From - 1)];
    return piece == 'P' || piece == 'p' || board[static_cast<size_t>(move.Move.To - 1)] != ' ' ||
           move.Move.To == move.Before.EnPassant;
}

} // namespace

std::vector<TLineMove> LineMoves(const TChessRules& rules) {
    std::vector<TLineMove> moves;
    for (int n = rules.FirstMoveNumber(); n <= rules.LastMoveNumber(); ++n) {
        for (int column = WhiteColumn; column <= BlackColumn; ++column) {
            if (IsLineEnd(rules, n, column)) return moves;
            if (IsPlaceholder(rules, n, column)) continue;
            const THistoryRecord& record = rules.HistoryRecord(n, column);
            const THistoryRecord& after = column == WhiteColumn ? rules.HistoryRecord(n, BlackColumn)
                                                                : rules.HistoryRecord(n + 1, WhiteColumn);
            TLineMove move;
            move.Before = SnapshotOf(record, column == WhiteColumn);
            move.Move.From = static_cast<Square>(record.FromSq);
            move.Move.To = static_cast<Square>(record.ToSq);
            move.Move.Promotion = PromotionOf(move.Before, move.Move.From, move.Move.To, after);
            move.MoveNumber = n;
            moves.push_back(std::move(move));
        }
    }
    return moves;
}

TFenPosition LineStart(const TChessRules& rules) {
    const bool white = rules.FirstSideWhite();
    TFenPosition start;
    start.Snapshot =
        SnapshotOf(rules.HistoryRecord(rules.FirstMoveNumber(), white ? WhiteColumn : BlackColumn), white);
    start.MoveNumber = rules.FirstMoveNumber();
    return start;
}

TFenPosition CurrentFenPosition(const TChessRules& rules) {
    TFenPosition current;
    current.Snapshot = rules.Snapshot();
    current.MoveNumber = rules.CurrentMove();
    // The moves of the line up to the position shown; a line that was navigated back counts only those.
    const int shownPly = 2 * rules.CurrentMove() + (rules.WhiteToMove() ? 0 : 1);
    for (const TLineMove& move : LineMoves(rules)) {
        const int ply = 2 * move.MoveNumber + (move.Before.WhiteToMove ? 0 : 1);
        if (ply >= shownPly) break;
        current.HalfMoveClock = ResetsClock(move) ? 0 : current.HalfMoveClock + 1;
    }
    return current;
}

void FillSanMoveList(const TChessRules& rules, TSanBoard& board, std::vector<std::string>& lines) {
    if (!rules.FirstSideWhite() && !IsLineEnd(rules, rules.FirstMoveNumber(), WhiteColumn))
        lines.push_back(std::to_string(rules.FirstMoveNumber()) + ".  ...   ");
    for (const TLineMove& move : LineMoves(rules)) {
        board.SetPosition(move.Before);
        std::string san = board.ToSan(move.Move);
        // A record no legal move fits (a file from elsewhere) still gets its line, by its squares.
        if (san.empty()) san = SquareName(move.Move.From) + "-" + SquareName(move.Move.To);
        lines.push_back(move.Before.WhiteToMove ? std::to_string(move.MoveNumber) + ". " + san
                                                : std::string(BlackIndent, ' ') + san);
    }
}

void SetUpLine(TChessRules& rules, const TFenPosition& position) {
    const TPositionSnapshot& snapshot = position.Snapshot;
    rules.SetPosition(snapshot.Position);
    rules.SetWhiteToMove(snapshot.WhiteToMove);
    rules.SetCastlingAllowed(snapshot.CastlingAllowed);
    rules.SetEnPassant(snapshot.EnPassant);
    rules.StartLineAt(position.MoveNumber <= LargestKeptMoveNumber ? position.MoveNumber : 1);
}
