#pragma once
// Game data with every field set to a value of its own, for tests that need a filled-in record.

#include "UnitClasses.h"

inline void FillSamplePartieDaten(TPartieDaten& data, int result = TPartieDaten::ResultDraw) {
    data.SetPlayer1Name("Anna");
    data.SetPlayer1Elo(1850);
    data.SetPlayer2Name("Bert");
    data.SetPlayer2Elo(2010);
    data.SetEvent("Vereinsmeisterschaft");
    data.SetSite("Hamburg");
    data.SetComments("Eine lange Partie");
    data.SetYear(1999);
    data.SetMonth(12);
    data.SetDay(31);
    data.SetRound(7);
    data.SetECO("C42");
    data.SetResult(result);
}
