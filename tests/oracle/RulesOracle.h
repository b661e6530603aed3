#pragma once
// A plain, slow transcription of the chess rules exactly as the game defines them: every legality
// test walks the whole history, HasLegalMove tries all 64 x 64 square pairs, trial moves copy the
// position text. It is the reference that the fast rules are compared with, never product code.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace oracle {

struct HistoryRecord {
    std::string Position;
    std::uint8_t Castling = 0;
    std::uint8_t FromSq = 0;
    std::uint8_t ToSq = 0;
    std::uint8_t EnPassantSq = 0;
};

class Rules {
public:
    Rules();

    std::string Position() const;
    void SetPosition(const std::string& value);
    bool WhiteToMove = true;
    std::uint8_t CastlingAllowed = 15;
    int EnPassant = 0;
    void SetEnPassant(int value);
    char PromotionPiece = 'q';

    int PieceColorAt(int sq) const;
    std::vector<std::string> MoveList() const;

    bool IsLegalMove(int oldSq, int newSq) const;
    bool HasLegalMove() const;
    // The same two by the rules of chess alone, without the repetition block: mate and stalemate
    // are judged by these, so a repetition ends a game as a draw and never as a mate.
    bool IsLegalByChessRules(int oldSq, int newSq) const;
    bool HasMoveByChessRules() const;
    bool WhiteKingAttackedAfter(int oldSq, int newSq) const;
    bool BlackKingAttackedAfter(int oldSq, int newSq) const;

    bool MakeMove(int oldSq, int newSq);
    void NewGame();
    bool GotoMove(int moveNo, bool whiteToMove);
    bool TakeBackMove();
    bool ReplayMove();
    bool IsThreefoldRepetition() const;

    int CurrentMove = 1;
    int FirstMoveNumber = 1;
    bool FirstSideWhite = true;
    int LastMoveNumber = 1;
    bool LastSideWhite = true;
    bool GameOver = false;
    HistoryRecord History[257][3];

    // Every raised event is appended here as text ("LegalMove 53 37", "Capture 53 37 p", ...).
    std::vector<std::string> Events;
    // Answers OnPromotion; unset means no handler is assigned.
    std::function<char(int oldSq, int newSq, char current)> PromotionHandler;
    // Which of the optional handlers count as assigned (the rules behave differently without them).
    bool HasMateHandler = true;
    bool HasDrawHandler = true;

private:
    char Board[66];

    bool PawnMoveOk(int oldSq, int newSq) const;
    bool KnightMoveOk(int oldSq, int newSq) const;
    bool BishopMoveOk(int oldSq, int newSq) const;
    bool RookMoveOk(int oldSq, int newSq) const;
    bool QueenMoveOk(int oldSq, int newSq) const;
    bool KingMoveOk(int oldSq, int newSq) const;
    bool RayReaches(int oldSq, int newSq, const int dirs[4][2]) const;
    void RemovePassedPawn(std::string& copy, char moving, int newSq) const;
    void StoreNewPosition();
    void Raise(const std::string& text) { Events.push_back(text); }
};

} // namespace oracle
