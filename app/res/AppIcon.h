#pragma once
// The application icon, drawn at any size: a moor landscape (sky, sun,
// hills) in a photo frame. Fills size x size ARGB pixels (0xAARRGGBB),
// rows top to bottom. The document icon is the same picture on a page.

#include <cstdint>

void DrawAppIcon(int size, uint32_t* argb);
void DrawDocumentIcon(int size, uint32_t* argb);
