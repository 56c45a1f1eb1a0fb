#pragma once
// For the start-up benchmark: when PIXMOOR_BENCH_FIRST_PAINT is set, the
// first paint that draws a picture writes "first-paint <ns>" (monotonic
// clock) to standard output. Otherwise nothing happens.

void NoteFirstPaint();
