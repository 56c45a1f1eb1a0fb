#pragma once
// For the benchmarks. When PIXMOOR_BENCH_FIRST_PAINT is set, the view's
// first paint on the screen writes "view-paint <ns>", and the first paint
// that draws a picture writes "first-paint <ns>" (monotonic clock), each on
// a line of standard output. Otherwise nothing is written.

// Called by every paint of the view on the screen; drewPicture when it drew one.
void NoteViewPaint(bool drewPicture);

// The number of paints on the screen that drew a picture, for a benchmark
// that drives the viewer in its own process.
long PicturePaintCount();
