#include "EngineOracle.h"

namespace oracle {

namespace {

const int PawnTab[64] = {
    0, 0, 0, 0, 0, 0, 0, 0,
    5, 10, 15, 20, 20, 15, 10, 5,
    4, 8, 12, 16, 16, 12, 8, 4,
    3, 6, 9, 12, 12, 9, 6, 3,
    2, 4, 6, 8, 8, 6, 4, 2,
    1, 2, 3, 4, 4, 3, 2, 1,
    0, 0, 0, -20, -20, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0};
const int KingSideTab[64] = {
    0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 5, 5, 5,
    0, 0, 0, 0, 0, 10, 10, 10,
    0, 0, 0, 0, 0, 20, 20, 20,
    0, 0, 0, 0, 0, 0, 0, 0};
const int QueenSideTab[64] = {
    0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0,
    5, 5, 5, 0, 0, 0, 0, 0,
    10, 10, 10, 0, 0, 0, 0, 0,
    20, 20, 20, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0};
const int MinorTab[64] = {
    -10, -10, -10, -10, -10, -10, -10, -10,
    -10, 0, 0, 0, 0, 0, 0, -10,
    -10, 0, 5, 5, 5, 5, 0, -10,
    -10, 0, 5, 10, 10, 5, 0, -10,
    -10, 0, 5, 10, 10, 5, 0, -10,
    -10, 0, 5, 5, 5, 5, 0, -10,
    -10, 0, 0, 0, 0, 0, 0, -10,
    -20, -20, -20, -20, -20, -20, -20, -20};
const int KingMidTab[64] = {
    -40, -40, -40, -40, -40, -40, -40, -40,
    -40, -40, -40, -40, -40, -40, -40, -40,
    -40, -40, -40, -40, -40, -40, -40, -40,
    -40, -40, -40, -40, -40, -40, -40, -40,
    -40, -40, -40, -40, -40, -40, -40, -40,
    -40, -40, -40, -40, -40, -40, -40, -40,
    -20, -20, -20, -20, -20, -20, -20, -20,
    -10, 0, 10, -20, 0, -20, 10, 0};
const int KingEndTab[64] = {
    -5, -5, -5, -5, -5, -5, -5, -5,
    -5, 0, 0, 0, 0, 0, 0, -5,
    -5, 0, 5, 5, 5, 5, 0, -5,
    -5, 0, 5, 10, 10, 5, 0, -5,
    -5, 0, 5, 10, 10, 5, 0, -5,
    -5, 0, 5, 5, 5, 5, 0, -5,
    -5, 0, 0, 0, 0, 0, 0, -5,
    -5, -5, -5, -5, -5, -5, -5, -5};

int Flip(int sq) { return (7 - sq / 8) * 8 + sq % 8; }

// The board's colour of a character: 1 white, 0 black, -1 empty.
int PieceColorAt(char c) {
    int code = (unsigned char)c;
    if (code >= 98 && code <= 114) return 0;
    if (code < 66) return -1;
    if (code > 82) return -1;
    return 1;
}

const char* SquareNames[64] = {
    "A8", "B8", "C8", "D8", "E8", "F8", "G8", "H8", "A7", "B7", "C7", "D7", "E7", "F7", "G7", "H7",
    "A6", "B6", "C6", "D6", "E6", "F6", "G6", "H6", "A5", "B5", "C5", "D5", "E5", "F5", "G5", "H5",
    "A4", "B4", "C4", "D4", "E4", "F4", "G4", "H4", "A3", "B3", "C3", "D3", "E3", "F3", "G3", "H3",
    "A2", "B2", "C2", "D2", "E2", "F2", "G2", "H2", "A1", "B1", "C1", "D1", "E1", "F1", "G1", "H1"};

} // namespace

Engine::Engine() {
    for (int i = 0; i < 120; ++i) Mailbox[i] = -1;
    for (int row = 0; row < 8; ++row)
        for (int col = 0; col < 8; ++col) Mailbox[(row + 2) * 10 + (col + 1)] = row * 8 + col;
    for (int sq = 0; sq < 64; ++sq) Mailbox64[sq] = (sq / 8 + 2) * 10 + sq % 8 + 1;
    const bool slide[6] = {false, false, true, true, true, false};
    const int offsets[6] = {0, 8, 4, 4, 8, 8};
    const int offset[6][8] = {{0, 0, 0, 0, 0, 0, 0, 0},
                              {-21, -19, -12, -8, 8, 12, 19, 21},
                              {-11, -9, 9, 11, 0, 0, 0, 0},
                              {-10, -1, 1, 10, 0, 0, 0, 0},
                              {-11, -10, -9, -1, 1, 9, 10, 11},
                              {-11, -10, -9, -1, 1, 9, 10, 11}};
    for (int p = 0; p < 6; ++p) {
        Slide[p] = slide[p];
        Offsets[p] = offsets[p];
        for (int d = 0; d < 8; ++d) Offset[p][d] = offset[p][d];
    }
    for (int sq = 0; sq < 64; ++sq) CastleMask[sq] = 15;
    CastleMask[0] = 7;
    CastleMask[4] = 3;
    CastleMask[7] = 11;
    CastleMask[56] = 13;
    CastleMask[60] = 12;
    CastleMask[63] = 14;
    const int values[6] = {100, 300, 300, 500, 900, 10000};
    for (int p = 0; p < 6; ++p) PieceValue[p] = values[p];
    for (int sq = 0; sq < 64; ++sq) {
        Color[sq] = 6;
        Piece[sq] = 6;
    }
}

// ---------------------------------------------------------------------------------------------------
// Engine board

void Engine::Generate() { GenerateAll(false); }
void Engine::GenerateCaptures() { GenerateAll(true); }

void Engine::GenerateAll(bool capturesOnly) {
    GenFull = false;
    LastMove[Ply] = FirstMove[Ply];
    for (int i = 0; i < 64; ++i) {
        if (Color[i] != Side) continue;
        if (Piece[i] == 0) {
            if (Side == 0) {
                if (i < 8) continue; // a pawn on its last rank has no square ahead
                if (i % 8 != 0 && Color[i - 9] == 1) PushMove(i, i - 9, 17);
                if (i % 8 != 7 && Color[i - 7] == 1) PushMove(i, i - 7, 17);
                if (!capturesOnly) {
                    if (Color[i - 8] == 6) {
                        PushMove(i, i - 8, 16);
                        if (i >= 48 && Color[i - 16] == 6) PushMove(i, i - 16, 24);
                    }
                } else if (i <= 15 && Color[i - 8] == 6) {
                    PushMove(i, i - 8, 16);
                }
            } else {
                if (i > 55) continue;
                if (i % 8 != 0 && Color[i + 7] == 0) PushMove(i, i + 7, 17);
                if (i % 8 != 7 && Color[i + 9] == 0) PushMove(i, i + 9, 17);
                if (!capturesOnly) {
                    if (Color[i + 8] == 6) {
                        PushMove(i, i + 8, 16);
                        if (i <= 15 && Color[i + 16] == 6) PushMove(i, i + 16, 24);
                    }
                } else if (i >= 48 && Color[i + 8] == 6) {
                    PushMove(i, i + 8, 16);
                }
            }
        } else {
            int p = Piece[i];
            for (int j = 0; j < Offsets[p]; ++j) {
                int n = i;
                for (;;) {
                    n = Mailbox[Mailbox64[n] + Offset[p][j]];
                    if (n == -1) break;
                    if (Color[n] != 6) {
                        if (Color[n] == XSide) PushMove(i, n, 1);
                        break;
                    }
                    if (!capturesOnly) PushMove(i, n, 0);
                    if (!Slide[p]) break;
                }
            }
        }
    }
    if (!capturesOnly) {
        if (Side == 1) {
            if (Castle & 4) PushMove(4, 6, 2);
            if (Castle & 8) PushMove(4, 2, 2);
        } else {
            if (Castle & 1) PushMove(60, 62, 2);
            if (Castle & 2) PushMove(60, 58, 2);
        }
    }
    if (Ep != -1) {
        if (Side == 0) {
            if (Ep % 8 != 0 && Color[Ep + 7] == 0 && Piece[Ep + 7] == 0) PushMove(Ep + 7, Ep, 21);
            if (Ep % 8 != 7 && Color[Ep + 9] == 0 && Piece[Ep + 9] == 0) PushMove(Ep + 9, Ep, 21);
        } else {
            if (Ep % 8 != 0 && Color[Ep - 9] == 1 && Piece[Ep - 9] == 0) PushMove(Ep - 9, Ep, 21);
            if (Ep % 8 != 7 && Color[Ep - 7] == 1 && Piece[Ep - 7] == 0) PushMove(Ep - 7, Ep, 21);
        }
    }
    FirstMove[Ply + 1] = LastMove[Ply];
}

void Engine::PushMove(int from, int to, int bits) {
    if (bits & 16) {
        if (Side == 0 && to <= 7) {
            PushPromotions(from, to, bits);
            return;
        }
        if (Side == 1 && to >= 56) {
            PushPromotions(from, to, bits);
            return;
        }
    }
    if (LastMove[Ply] == 4096) {
        GenFull = true;
        return;
    }
    GenEntry& g = Gen[LastMove[Ply]++];
    g.Move.From = (std::uint8_t)from;
    g.Move.To = (std::uint8_t)to;
    g.Move.Promote = 0;
    g.Move.Bits = (std::uint8_t)bits;
    if (bits & 1)
        g.Score = 1000000 + 10 * Piece[to] - Piece[from];
    else
        g.Score = History[from][to];
}

void Engine::PushPromotions(int from, int to, int bits) {
    for (int p = 1; p <= 4; ++p) {
        if (LastMove[Ply] == 4096) {
            GenFull = true;
            return;
        }
        GenEntry& g = Gen[LastMove[Ply]++];
        g.Move.From = (std::uint8_t)from;
        g.Move.To = (std::uint8_t)to;
        g.Move.Promote = (std::uint8_t)p;
        g.Move.Bits = (std::uint8_t)(bits + 32);
        g.Score = 1000000 + 10 * p;
    }
}

bool Engine::EngineMakeMove(EngineMove m) {
    if (m.Bits & 2) {
        if (InCheck(Side)) return false;
        int from, to;
        switch (m.To) {
        case 62:
            if (Color[61] != 6 || Color[62] != 6) return false;
            if (Attacked(61, XSide) || Attacked(62, XSide)) return false;
            from = 63;
            to = 61;
            break;
        case 58:
            if (Color[57] != 6 || Color[58] != 6 || Color[59] != 6) return false;
            if (Attacked(58, XSide) || Attacked(59, XSide)) return false;
            from = 56;
            to = 59;
            break;
        case 6:
            if (Color[5] != 6 || Color[6] != 6) return false;
            if (Attacked(5, XSide) || Attacked(6, XSide)) return false;
            from = 7;
            to = 5;
            break;
        case 2:
            if (Color[1] != 6 || Color[2] != 6 || Color[3] != 6) return false;
            if (Attacked(2, XSide) || Attacked(3, XSide)) return false;
            from = 0;
            to = 3;
            break;
        default:
            return false;
        }
        Color[to] = Side;
        Piece[to] = 3;
        Color[from] = 6;
        Piece[from] = 6;
    }
    Undo[Ply].Move = m;
    Undo[Ply].Captured = Piece[m.To];
    Undo[Ply].Castle = Castle;
    Undo[Ply].Ep = Ep;
    Undo[Ply].Fifty = Fifty;
    ++Ply;
    Castle &= CastleMask[m.From] & CastleMask[m.To];
    if (m.Bits & 8) {
        if (Side == 0)
            Ep = m.To + 8;
        else
            Ep = m.To - 8;
    } else {
        Ep = -1;
    }
    if (m.Bits & 17)
        Fifty = 0;
    else
        ++Fifty;
    Color[m.To] = Side;
    if (m.Bits & 32)
        Piece[m.To] = m.Promote;
    else
        Piece[m.To] = Piece[m.From];
    Color[m.From] = 6;
    Piece[m.From] = 6;
    if (m.Bits & 4) {
        if (Side == 0) {
            Color[m.To + 8] = 6;
            Piece[m.To + 8] = 6;
        } else {
            Color[m.To - 8] = 6;
            Piece[m.To - 8] = 6;
        }
    }
    int t = Side;
    Side = XSide;
    XSide = t;
    if (InCheck(XSide)) {
        EngineTakeBack();
        return false;
    }
    return true;
}

void Engine::EngineTakeBack() {
    int t = Side;
    Side = XSide;
    XSide = t;
    --Ply;
    EngineMove m = Undo[Ply].Move;
    Castle = Undo[Ply].Castle;
    Ep = Undo[Ply].Ep;
    Fifty = Undo[Ply].Fifty;
    Color[m.From] = Side;
    if (m.Bits & 32)
        Piece[m.From] = 0;
    else
        Piece[m.From] = Piece[m.To];
    if (Undo[Ply].Captured == 6) {
        Color[m.To] = 6;
        Piece[m.To] = 6;
    } else {
        Color[m.To] = XSide;
        Piece[m.To] = Undo[Ply].Captured;
    }
    if (m.Bits & 2) {
        int from, to;
        switch (m.To) {
        case 62: from = 61; to = 63; break;
        case 58: from = 59; to = 56; break;
        case 6: from = 5; to = 7; break;
        default: from = 3; to = 0; break;
        }
        Color[to] = Side;
        Piece[to] = 3;
        Color[from] = 6;
        Piece[from] = 6;
    }
    if (m.Bits & 4) {
        if (Side == 1) {
            Color[m.To - 8] = XSide;
            Piece[m.To - 8] = 0;
        } else {
            Color[m.To + 8] = XSide;
            Piece[m.To + 8] = 0;
        }
    }
}

bool Engine::InCheck(int s) {
    for (int i = 0; i < 64; ++i)
        if (Color[i] == s && Piece[i] == 5) return Attacked(i, 1 - s);
    return false;
}

bool Engine::Attacked(int sq, int s) {
    for (int i = 0; i < 64; ++i) {
        if (Color[i] != s) continue;
        if (Piece[i] == 0) {
            if (s == 0) {
                if (i % 8 != 0 && i - 9 == sq) return true;
                if (i % 8 != 7 && i - 7 == sq) return true;
            } else {
                if (i % 8 != 0 && i + 7 == sq) return true;
                if (i % 8 != 7 && i + 9 == sq) return true;
            }
        } else {
            int p = Piece[i];
            for (int j = 0; j < Offsets[p]; ++j) {
                int n = i;
                for (;;) {
                    n = Mailbox[Mailbox64[n] + Offset[p][j]];
                    if (n == -1) break;
                    if (n == sq) return true;
                    if (Color[n] != 6) break;
                    if (!Slide[p]) break;
                }
            }
        }
    }
    return false;
}

// ---------------------------------------------------------------------------------------------------
// Evaluation

void Engine::InitEvalTables() {
    for (int c = 0; c < 2; ++c)
        for (int p = 0; p < 6; ++p)
            for (int sq = 0; sq < 64; ++sq) EvalTable[c][p][sq] = 0;
    for (int sq = 0; sq < 64; ++sq) {
        int fs = Flip(sq);
        EvalTable[0][0][sq] = PawnTab[sq] + 100;
        EvalTable[0][1][sq] = MinorTab[sq] + 300;
        EvalTable[0][2][sq] = MinorTab[sq] + 300;
        EvalTable[0][3][sq] = 500;
        EvalTable[0][4][sq] = 900;
        EvalTable[1][0][sq] = PawnTab[fs] + 100;
        EvalTable[1][1][sq] = MinorTab[fs] + 300;
        EvalTable[1][2][sq] = MinorTab[fs] + 300;
        EvalTable[1][3][sq] = 500;
        EvalTable[1][4][sq] = 900;
    }
    int material[2] = {0, 0};
    int king[2] = {-1, -1};
    for (int sq = 0; sq < 64; ++sq) {
        if (Color[sq] == 6) continue;
        if (Piece[sq] >= 1 && Piece[sq] <= 4) material[Color[sq]] += PieceValue[Piece[sq]];
        if (Piece[sq] == 5) king[Color[sq]] = sq;
    }
    // White against Black's material.
    if (material[1] > 1400) {
        for (int sq = 0; sq < 64; ++sq) EvalTable[0][5][sq] = KingMidTab[sq];
        if (king[0] != -1 && king[0] % 8 >= 5)
            for (int sq = 0; sq < 64; ++sq) EvalTable[0][0][sq] += KingSideTab[sq];
        if (king[0] != -1 && king[0] % 8 <= 2)
            for (int sq = 0; sq < 64; ++sq) EvalTable[0][0][sq] += QueenSideTab[sq];
    } else {
        for (int sq = 0; sq < 64; ++sq) EvalTable[0][5][sq] = KingEndTab[sq];
    }
    // Black against White's material, every table read at the flipped square.
    if (material[0] > 1400) {
        for (int sq = 0; sq < 64; ++sq) EvalTable[1][5][sq] = KingMidTab[Flip(sq)];
        if (king[1] != -1 && king[1] % 8 >= 5)
            for (int sq = 0; sq < 64; ++sq) EvalTable[1][0][sq] += KingSideTab[Flip(sq)];
        if (king[1] != -1 && king[1] % 8 <= 2)
            for (int sq = 0; sq < 64; ++sq) EvalTable[1][0][sq] += QueenSideTab[Flip(sq)];
    } else {
        for (int sq = 0; sq < 64; ++sq) EvalTable[1][5][sq] = KingEndTab[Flip(sq)];
    }
}

int Engine::Evaluate() {
    int score[2] = {0, 0};
    int pawns[2][10];
    for (int c = 0; c < 2; ++c)
        for (int f = 0; f < 10; ++f) pawns[c][f] = 0;
    for (int sq = 0; sq < 64; ++sq) {
        if (Color[sq] == 6) continue;
        score[Color[sq]] += EvalTable[Color[sq]][Piece[sq]][sq];
        if (Piece[sq] == 0) pawns[Color[sq]][sq % 8 + 1]++;
    }
    for (int sq = 0; sq < 64; ++sq) {
        if (Color[sq] == 6) continue;
        int c = Color[sq];
        int o = 1 - c;
        int f = sq % 8 + 1;
        if (Piece[sq] == 0) {
            if (pawns[c][f] > 1) score[c] -= 5;
            if (pawns[c][f - 1] == 0 && pawns[c][f + 1] == 0) {
                score[c] -= 20;
                if (pawns[o][f] == 0) score[c] -= 10;
            }
            if (pawns[o][f - 1] == 0 && pawns[o][f] == 0 && pawns[o][f + 1] == 0)
                score[c] += 2 * EvalTable[c][0][sq];
        }
        if (Piece[sq] == 3) {
            if (pawns[c][f] == 0) {
                score[c] += 10;
                if (pawns[o][f] == 0) score[c] += 5;
            }
        }
    }
    return score[Side] - score[XSide];
}

// ---------------------------------------------------------------------------------------------------
// Search

void Engine::LoadPosition(const std::string& position, bool whiteToMove, int castling, int enPassant) {
    for (int q = 1; q <= 64; ++q) {
        char c = q <= (int)position.size() ? position[q - 1] : ' ';
        int color = PieceColorAt(c);
        Color[q - 1] = color == 1 ? 0 : color == 0 ? 1 : 6;
        char lower = (c >= 'A' && c <= 'Z') ? (char)(c + 32) : c;
        switch (lower) {
        case 'p': Piece[q - 1] = 0; break;
        case 'n': Piece[q - 1] = 1; break;
        case 'b': Piece[q - 1] = 2; break;
        case 'r': Piece[q - 1] = 3; break;
        case 'q': Piece[q - 1] = 4; break;
        case 'k': Piece[q - 1] = 5; break;
        default: Piece[q - 1] = 6; break;
        }
        if (Piece[q - 1] == 6) Color[q - 1] = 6; // not a piece letter: an empty square
    }
    if (whiteToMove) {
        Side = 0;
        XSide = 1;
    } else {
        Side = 1;
        XSide = 0;
    }
    Castle = castling & 15;
    // A right whose king or rook is not at home is dropped.
    if (!(Color[60] == 0 && Piece[60] == 5 && Color[63] == 0 && Piece[63] == 3)) Castle &= ~1;
    if (!(Color[60] == 0 && Piece[60] == 5 && Color[56] == 0 && Piece[56] == 3)) Castle &= ~2;
    if (!(Color[4] == 1 && Piece[4] == 5 && Color[7] == 1 && Piece[7] == 3)) Castle &= ~4;
    if (!(Color[4] == 1 && Piece[4] == 5 && Color[0] == 1 && Piece[0] == 3)) Castle &= ~8;
    Ep = enPassant - 1;
    // Kept only behind a pawn of the other side that has just stepped two squares.
    if (Ep != -1) {
        bool fits;
        if (Side == 0)
            fits = Ep >= 16 && Ep <= 23 && Color[Ep] == 6 && Color[Ep + 8] == 1 && Piece[Ep + 8] == 0;
        else
            fits = Ep >= 40 && Ep <= 47 && Color[Ep] == 6 && Color[Ep - 8] == 0 && Piece[Ep - 8] == 0;
        if (!fits) Ep = -1;
    }
    Fifty = 0;
    Ply = 0;
    FirstMove[0] = 0;
    Nodes = 0;
    InitEvalTables();
    for (int i = 0; i < 64; ++i)
        for (int j = 0; j < 64; ++j) History[i][j] = 0;
}

void Engine::Think(const std::string& position, bool whiteToMove, int castling, int enPassant,
                   int searchDepth) {
    LoadPosition(position, whiteToMove, castling, enPassant);
    FollowPV = true;
    PlayBestMoveNow = false;
    EndCalculation = false;
    for (int depth = 1; depth <= searchDepth; ++depth) {
        if (!Abort) {
            FollowPV = true;
            CalcDepth = depth;
            CalcScore = Search(-10000, 10000, depth);
            CalcNodes = Nodes;
            if (OnIterationDone) OnIterationDone(depth);
        }
        if (PlayBestMoveNow || EndCalculation) break;
    }
}

// The table limits: a node at the last ply, or whose moves do not fit the move stack, is a leaf
// that stands on its evaluation.
int Engine::LeafScore(int alpha, int beta) {
    int x = Evaluate();
    if (x >= beta) return beta;
    if (x > alpha) return x;
    return alpha;
}

int Engine::Search(int alpha, int beta, int depth) {
    if (Abort || PlayBestMoveNow) return 0;
    if (depth == 0) return Quiesce(alpha, beta);
    ++Nodes;
    CalcNodes = Nodes;
    PVLength[Ply] = Ply;
    if (OnSearchNode) OnSearchNode();
    if (Ply >= 63) return LeafScore(alpha, beta);
    bool check = InCheck(Side);
    if (check) ++depth;
    Generate();
    if (GenFull) return LeafScore(alpha, beta);
    if (FollowPV) SortPrincipalVariation();
    bool legal = false;
    for (int i = FirstMove[Ply]; i < LastMove[Ply]; ++i) {
        if (Abort) break;
        PickBest(i);
        EngineMove m = Gen[i].Move;
        if (EngineMakeMove(m)) {
            legal = true;
            int x = -Search(-beta, -alpha, depth - 1);
            EngineTakeBack();
            if (x > alpha) {
                History[m.From][m.To] += depth;
                if (x >= beta) return beta;
                alpha = x;
                CalcScore = x;
                PV[Ply][Ply] = m;
                for (int j = Ply + 1; j < PVLength[Ply + 1]; ++j) PV[Ply][j] = PV[Ply + 1][j];
                PVLength[Ply] = PVLength[Ply + 1];
                BuildBestLine();
            }
        }
    }
    if (!legal) {
        if (check) return Ply - 10000;
        return 0;
    }
    if (Fifty > 100) return 0;
    return alpha;
}

int Engine::Quiesce(int alpha, int beta) {
    ++Nodes;
    CalcNodes = Nodes;
    PVLength[Ply] = Ply;
    if (Ply >= 63) return LeafScore(alpha, beta);
    bool check = InCheck(Side);
    if (check) {
        Generate();
    } else {
        int x = Evaluate();
        if (x >= beta) return beta;
        if (x > alpha) alpha = x;
        GenerateCaptures();
    }
    if (GenFull) return LeafScore(alpha, beta);
    if (FollowPV) SortPrincipalVariation();
    bool legal = false;
    for (int i = FirstMove[Ply]; i < LastMove[Ply]; ++i) {
        PickBest(i);
        EngineMove m = Gen[i].Move;
        if (EngineMakeMove(m)) {
            legal = true;
            int x = -Quiesce(-beta, -alpha);
            EngineTakeBack();
            if (x > alpha) {
                if (x >= beta) return beta;
                alpha = x;
                PV[Ply][Ply] = m;
                for (int j = Ply + 1; j < PVLength[Ply + 1]; ++j) PV[Ply][j] = PV[Ply + 1][j];
                PVLength[Ply] = PVLength[Ply + 1];
            }
        }
    }
    if (check && !legal) return Ply - 10000;
    return alpha;
}

void Engine::PickBest(int i) {
    int best = i;
    for (int j = i; j < LastMove[Ply]; ++j)
        if (Gen[j].Score > Gen[best].Score) best = j;
    GenEntry t = Gen[i];
    Gen[i] = Gen[best];
    Gen[best] = t;
}

void Engine::SortPrincipalVariation() {
    FollowPV = false;
    for (int i = FirstMove[Ply]; i < LastMove[Ply]; ++i) {
        if (Gen[i].Move.From == PV[0][Ply].From && Gen[i].Move.To == PV[0][Ply].To) {
            Gen[i].Score += 10000000;
            FollowPV = true;
            return;
        }
    }
}

// A row entry with From and To both 0 is the end of the line (a real move from a8 is not).
void Engine::BuildBestLine() {
    CalcBestLine = "";
    if (ShowOnlyFirstMove) {
        CalcBestLine = std::string(SquareNames[PV[0][0].From]) + "-" + SquareNames[PV[0][0].To] + " ";
        return;
    }
    for (int j = 0; j < 64; ++j) {
        if (PV[0][j].From == 0 && PV[0][j].To == 0) break;
        CalcBestLine += std::string(SquareNames[PV[0][j].From]) + "-" + SquareNames[PV[0][j].To] + " ";
    }
}

} // namespace oracle
