#pragma once
// A plain, slow transcription of the engine exactly as the game defines it: the engine board with
// its move generation, the evaluation and the search. Attack tests walk every piece of the attacking
// side, generation and evaluation scan all 64 squares. It is the reference that the fast engine is
// compared with, never product code. Where the engine had to choose (the table limits, positions the
// board accepts that the moves would corrupt, the end of the best line) it follows the same choices.

#include <cstdint>
#include <functional>
#include <string>

namespace oracle {

struct EngineMove {
    std::uint8_t From = 0;
    std::uint8_t To = 0;
    std::uint8_t Promote = 0;
    std::uint8_t Bits = 0;
};

struct GenEntry {
    EngineMove Move;
    int Score = 0;
};

struct UndoEntry {
    EngineMove Move;
    int Captured = 6;
    int Castle = 0;
    int Ep = -1;
    int Fifty = 0;
};

class Engine {
public:
    Engine();

    // --- Engine board ---
    int Color[64];
    int Piece[64];
    int Side = 0;
    int XSide = 1;
    int Castle = 0;
    int Ep = -1;
    int Fifty = 0;
    int Ply = 0;

    int Mailbox[120];
    int Mailbox64[64];
    bool Slide[6];
    int Offsets[6];
    int Offset[6][8];
    int CastleMask[64];

    GenEntry Gen[4096];
    int FirstMove[64] = {};
    int LastMove[64] = {};
    int History[64][64] = {};
    UndoEntry Undo[64];
    bool GenFull = false; // the last generation did not fit the move stack

    void Generate();
    void GenerateCaptures();
    void PushMove(int from, int to, int bits);
    void PushPromotions(int from, int to, int bits);
    bool EngineMakeMove(EngineMove move);
    void EngineTakeBack();
    bool InCheck(int s);
    bool Attacked(int sq, int s);

    // --- Evaluation ---
    int PieceValue[6];
    int EvalTable[2][6][64];
    void InitEvalTables();
    int Evaluate();

    // --- Search ---
    EngineMove PV[64][64] = {};
    int PVLength[64] = {};
    bool FollowPV = false;
    std::int64_t Nodes = 0;
    int CalcDepth = 0;
    std::int64_t CalcNodes = 0;
    int CalcScore = 0;
    std::string CalcBestLine;
    bool PlayBestMoveNow = false;
    bool EndCalculation = false;
    bool ShowOnlyFirstMove = false;
    bool Abort = false;
    std::function<void()> OnSearchNode;
    std::function<void(int)> OnIterationDone;

    // position: 64 characters a8..h1; castling: bits 1, 2, 4, 8; enPassant: board square 1..64 or 0.
    void LoadPosition(const std::string& position, bool whiteToMove, int castling, int enPassant);
    void Think(const std::string& position, bool whiteToMove, int castling, int enPassant, int searchDepth);
    int Search(int alpha, int beta, int depth);
    int Quiesce(int alpha, int beta);
    void PickBest(int i);
    void SortPrincipalVariation();

private:
    void GenerateAll(bool capturesOnly);
    int LeafScore(int alpha, int beta);
    void BuildBestLine();
};

} // namespace oracle
