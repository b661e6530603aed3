#pragma once
// The fixed benchmark of the engine: a suite of positions searched to fixed depths by the engine and
// by the plain reference transcription, so that both speeds are measured on the same work and the
// results are checked to be the same.

// Runs the suite with both engines and prints their figures; the last line reads
// "nps=<engine> oracle_nps=<reference> ratio=<engine/reference> nodes_equal=<yes|no>".
// Returns 0, or 1 when the two engines disagree.
int RunBench();

// Runs the suite with the engine alone, every position to `depth`, and prints the time each takes.
int RunBenchAtDepth(int depth);
