#pragma once
// The size a thumbnail is made at: the photograph's proportions fitted into
// 150 x 150, never a side of 0.

constexpr int kThumbnailSide = 150;

// r = height / width (1.0 for a width of 0); a tall picture gets height 150
// and width trunc(150 / r), a wide one width 150 and height trunc(r * 150).
void FitThumbnailSize(int width, int height, int* thumbWidth, int* thumbHeight);
