#pragma once
// The rules of the board component: the position, move legality, making moves with their events,
// the game history and the end-of-game rules. Plain C++ without widgets; the board widget derives
// from it and fills in the view and engine hooks, so the rules never know how they are shown.

#include "ChessTypes.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct TBoardRecord;

class TChessRules {
public:
    static constexpr int HistoryRows = 257; // move numbers 0..256; row 0 is never played
    static constexpr int HistoryColumns = 3; // white to move, black to move, unused (kept by game files)
    static constexpr int LastHistoryMove = HistoryRows - 1;
    static constexpr int PlayedColumns = 2; // the columns that play writes

    TChessRules();
    virtual ~TChessRules() = default;
    TChessRules(const TChessRules&) = delete;
    TChessRules& operator=(const TChessRules&) = delete;

    // --- Position ---------------------------------------------------------------------------------
    std::string Position() const;
    void SetPosition(std::string_view value);
    bool WhiteToMove() const { return FWhiteToMove; }
    void SetWhiteToMove(bool value);
    CastleSet CastlingAllowed() const { return FCastlingAllowed; }
    void SetCastlingAllowed(CastleSet value) { FCastlingAllowed = value; }
    Square EnPassant() const { return FEnPassant; }
    void SetEnPassant(Square value);
    char PromotionPiece() const { return FPromotionPiece; }
    // The character on a square (a blank when empty); 1..64 only.
    char PieceAt(Square sq) const { return FBoard[sq]; }

    // 1 white, 0 black, -1 empty; square 0 reads as empty.
    int PieceColorAt(int sq) const;
    // The position fields a search starts from.
    TPositionSnapshot Snapshot() const { return {Position(), FWhiteToMove, FCastlingAllowed, FEnPassant}; }
    // Appends one line per half-move of the game line ("1. E2-E4", then fourteen blanks and "E7-E5").
    void FillMoveList(std::vector<std::string>& lines) const;

    // --- Legality -----------------------------------------------------------------------------------
    // Both are false in a position that has come for the third time: no move follows a repetition.
    bool IsLegalMove(int oldSq, int newSq) const;
    bool HasLegalMove() const;
    bool WhiteKingAttackedAfter(int oldSq, int newSq) const;
    bool BlackKingAttackedAfter(int oldSq, int newSq) const;
    bool PawnMoveOk(int oldSq, int newSq) const;
    bool KnightMoveOk(int oldSq, int newSq) const;
    bool BishopMoveOk(int oldSq, int newSq) const;
    bool RookMoveOk(int oldSq, int newSq) const;
    bool QueenMoveOk(int oldSq, int newSq) const;
    bool KingMoveOk(int oldSq, int newSq) const;

    // --- Moves, history and game end ----------------------------------------------------------------
    bool MakeMove(int oldSq, int newSq);
    // The same for a move whose promotion piece is already chosen (the engine's): a promoting pawn
    // becomes `promotion` ("n", "b", "r" or "q") unless the promotion handler changes it.
    bool MakeMove(int oldSq, int newSq, char promotion);
    bool PlayMove(int oldSq, int newSq);
    void NewGame();
    bool GotoMove(int moveNo, bool whiteToMove);
    bool TakeBackMove();
    bool ReplayMove();
    bool IsThreefoldRepetition() const;
    // The history has no row for the position after black's 256th move, so that move is refused.
    bool HistoryFull() const {
        return FCurrentMove < 1 || FCurrentMove > LastHistoryMove || (!FWhiteToMove && FCurrentMove == LastHistoryMove);
    }

    int CurrentMove() const { return FCurrentMove; }
    int FirstMoveNumber() const { return FFirstMoveNumber; }
    bool FirstSideWhite() const { return FFirstSideWhite; }
    int LastMoveNumber() const { return FLastMoveNumber; }
    bool LastSideWhite() const { return FLastSideWhite; }
    bool GameOver() const { return FGameOver; }
    bool StopRequested() const { return FStopRequested; }
    static bool PromotionInProgress() { return FPromotionInProgress; }
    // A move has been accepted and is being carried out: its piece may still be sliding, or its
    // events are being raised. No other move is taken and no search may start meanwhile.
    bool MoveInProgress() const { return FActiveMove != 0; }

    const THistoryRecord& HistoryRecord(int moveNo, int column) const;
    void SetHistoryRecord(int moveNo, int column, const THistoryRecord& record);

    // Sets StopRequested and asks the engine to stop; every position-changing operation calls it.
    void StopThinking();

    // --- Game files and set-up positions ------------------------------------------------------------
    // The rules' part of a game file: the position, its game line and history, and the game's flags.
    void StoreGameFields(TBoardRecord& record) const;
    // Applies a record that DecodeGameRecord has checked. Every history record goes through
    // SetHistoryRecord, so the repetition count knows them; a line without moves takes the position
    // on the board as its only record, whatever the file held there.
    void LoadGameFields(const TBoardRecord& record);
    // The position on the board begins a game line of its own: no record of an earlier game shows in
    // the move list or counts for a repetition, and a line that starts with black to move says so.
    void StartLine();
    // The same, with the line's first move numbered `moveNumber` (held to the history's rows), as a
    // position taken from another program keeps its move number.
    void StartLineAt(int moveNumber);

    // --- Events (raised by MakeMove in this order) -------------------------------------------------
    TMoveEvent OnLegalMove;
    TCaptureEvent OnCapture;
    TPromotionEvent OnPromotion;
    TMoveEvent OnCastle;
    TMoveEvent OnCheck;
    TMoveEvent OnMate;
    TMoveEvent OnStaleMate;
    TNotifyEvent OnNoMatingMaterial;
    TNotifyEvent OnThreefoldPosition;
    TNotifyEvent OnDraw;
    TNotifyEvent OnPaint;
    TOneSquareEvent OnIllegalMove; // raised by move entry, not by the rules

protected:
    // Hooks for the board widget and its engine thread. The rules call them at the moments the
    // game needs them; without a widget they do nothing.
    virtual void StopEngineSearch() {}                 // from StopThinking
    virtual void StartEngine() {}                      // after PlayMove
    virtual void AbortEngineSearch() {}                // a game-ending move was made
    virtual void RepaintBoard() {}                     // the whole position changed
    virtual void RedrawSquare(Square) {}               // one square's content changed
    virtual void RedrawChangedSquares(std::string_view /*oldPosition*/) {}
    virtual void ShowMoveStart(Square /*oldSq*/, Square /*newSq*/) {} // clear the from-square, maybe animate
    virtual void MoveMade() {}                         // after every accepted move, its events raised
    virtual void MoveAbandoned() {}                    // the position was replaced while a move slid
    // The board calls this the moment the sliding piece arrives, and the move is carried out there
    // and then: a dialog opened during the slide runs its own event loop on top of the slide's, and
    // must not hold the move, the clocks' turn or the engine's next search until it is closed.
    void LandMove();

private:
    using Board = std::array<char, 66>; // [0] marker "_", [1..64] a8..h1, [65] terminator

    bool IsOwnPiece(int sq, int color) const { return PieceColorAt(sq) == color; }
    bool MoveRuleHolds(char piece, int oldSq, int newSq) const;
    bool SlideReaches(int oldSq, int newSq, const int (*directions)[2], int count) const;
    bool CastlingMoveOk(int oldSq, int newSq) const;
    bool IsLegalForColor(int oldSq, int newSq, int color) const;
    bool KingAttackedAfter(bool white, int oldSq, int newSq) const;
    bool AnyLegalTargetFrom(int oldSq, int color) const;
    // Whether the side to move has a move by the rules of chess alone: mate and stalemate are judged
    // by it, so a repetition, which blocks every move, ends a game as a draw and never as a mate.
    bool HasMoveByChessRules() const;
    bool MatingMaterialMissing() const;
    void LoadPlacement(std::string_view value);
    void AbandonMove();
    bool SlideAndMakeMove(int oldSq, int newSq, char promotion, bool resumesEngine);
    void ResumeEngine();
    void CarryOutMove(Square oldSq, Square newSq, char promotion);

    THistoryRecord& Record(int moveNo, bool whiteToMove);
    void StorePosition(THistoryRecord& record);
    void StoreNewPosition();
    void IndexRecord(int moveNo, int column);
    void InvalidateRepetition() { FRepetitionKnown = false; }
    bool CountRepetitions() const;

    // The move's steps after the piece has landed, in the order the events are raised.
    void PromoteIfOnLastRank(Square oldSq, Square newSq, char chosen, bool& givesCheck);
    Square EnPassantVictim(char pawn, int newSq) const;
    void CaptureEnPassant(Square oldSq, Square newSq);
    void MoveCastlingRook(Square oldSq, Square newSq);
    void UpdateCastlingRights(Square oldSq);

    Board FBoard{};
    bool FWhiteToMove = true;
    CastleSet FCastlingAllowed = AllCastlingRights;
    Square FEnPassant = None;
    char FPromotionPiece = 'q';

    int FCurrentMove = 1;
    int FFirstMoveNumber = 1;
    bool FFirstSideWhite = true;
    int FLastMoveNumber = 1;
    bool FLastSideWhite = true;
    bool FGameOver = false;
    bool FStopRequested = false;
    static inline bool FPromotionInProgress = false;
    int FActiveMove = 0; // serial number of the move being carried out, 0 when none
    int FMoveSerial = 0;
    // The accepted move whose piece is still sliding. `Landed` points into the frame of the
    // SlideAndMakeMove that waits for it, which may only learn after the slide that it has landed.
    struct TMoveUnderWay {
        Square From = None;
        Square To = None;
        char Promotion = '\0';
        bool ResumesEngine = false; // a move played by hand hands the turn back to the engine
        bool* Landed = nullptr;
    };
    TMoveUnderWay FMoveUnderWay;
    // Lives exactly as long as the rules: a move that let the event loop run tells by it whether the
    // board still exists before it touches anything.
    std::shared_ptr<const bool> FLife = std::make_shared<const bool>(true);

    std::vector<THistoryRecord> FHistory;        // HistoryRows x HistoryColumns, row-major
    // Position hash of each played record (row-major, 0 = none) and the records per hash, so a
    // repetition is found without walking the whole game.
    std::vector<std::uint64_t> FHistoryHash;
    std::unordered_map<std::uint64_t, std::vector<int>> FRecordsByHash;
    mutable bool FRepetitionKnown = false;
    mutable bool FRepetition = false;
};
