#pragma once
// What the engine tests share: positions written as FEN, the engine and the reference transcription
// started from them, and the engine board's state in a comparable form.

#include "EngineOracle.h"
#include "EngineSearch.h"
#include "Fen.h"

#include <QTest>

#include <memory>
#include <string>
#include <vector>

inline TPositionSnapshot PositionFromFen(const char* fen) {
    TPositionSnapshot position;
    std::string error;
    if (!ParseFen(fen, position, error)) qFatal("test FEN \"%s\" is malformed: %s", fen, error.c_str());
    return position;
}

// The reference, on the heap as it is large, with the position loaded.
inline std::unique_ptr<oracle::Engine> LoadedOracle(const TPositionSnapshot& position) {
    auto engine = std::make_unique<oracle::Engine>();
    engine->LoadPosition(position.Position, position.WhiteToMove, position.CastlingAllowed,
                         position.EnPassant);
    return engine;
}

inline void ThinkOracle(oracle::Engine& engine, const TPositionSnapshot& position, int depth) {
    engine.Think(position.Position, position.WhiteToMove, position.CastlingAllowed, position.EnPassant,
                 depth);
}

// An engine with the control it reports to; engines are large, so they live on the heap.
struct TEngineUnderTest {
    TEngineControl Control;
    std::unique_ptr<TEngine> Engine = std::make_unique<TEngine>(Control);
};

// Everything about an engine board that making and taking back a move must restore.
struct TBoardState {
    std::vector<int> Squares; // colour * 8 + piece per square
    int Side = 0;
    int Castle = 0;
    int Ep = 0;
    int Fifty = 0;
    int Ply = 0;

    static TBoardState Of(const TEngineBoard& board) {
        TBoardState state{{}, board.Side(), board.Castle(), board.Ep(), board.Fifty(), board.Ply()};
        for (int sq = 0; sq < EngineSquares; ++sq)
            state.Squares.push_back(board.Color(sq) * 8 + board.Piece(sq));
        return state;
    }
    static TBoardState Of(const oracle::Engine& engine) {
        TBoardState state{{}, engine.Side, engine.Castle, engine.Ep, engine.Fifty, engine.Ply};
        for (int sq = 0; sq < EngineSquares; ++sq)
            state.Squares.push_back(engine.Color[sq] * 8 + engine.Piece[sq]);
        return state;
    }
    friend bool operator==(const TBoardState&, const TBoardState&) = default;
};

// The position on an engine board in the form a search starts from.
inline TPositionSnapshot SnapshotOf(const TEngineBoard& board) {
    constexpr const char* Letters = "pnbrqk";
    TPositionSnapshot position;
    for (int sq = 0; sq < EngineSquares; ++sq) {
        const int piece = board.Piece(sq);
        const char letter = piece == EngineEmpty ? ' ' : Letters[piece];
        position.Position.push_back(board.Color(sq) == EngineWhite ? static_cast<char>(letter - 32) : letter);
    }
    position.WhiteToMove = board.Side() == EngineWhite;
    position.CastlingAllowed = static_cast<CastleSet>(board.Castle());
    position.EnPassant = static_cast<Square>(board.Ep() + 1);
    return position;
}

inline TEngineMove MoveOf(int from, int to, int bits, int promote = 0) {
    const auto byte = [](int value) { return static_cast<std::uint8_t>(value); };
    return {byte(from), byte(to), byte(promote), byte(bits)};
}
