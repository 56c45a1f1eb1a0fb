#pragma once
// The image fuzzer's steps on the display made part by part: sizing it,
// copying regions, visiting tiles, exporting. Each checks the image against
// the reference and the models in the state.

#include "fuzz/ImageFuzzState.h"

void DoSetDisplaySize(ImageFuzzState& s, FuzzInput& in);
void DoCopyRegion(ImageFuzzState& s, FuzzInput& in);
void DoVisitTiles(ImageFuzzState& s, FuzzInput& in);
void DoExport(ImageFuzzState& s, FuzzInput& in);
