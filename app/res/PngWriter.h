#pragma once
// Writes an RGBA PNG with stored (uncompressed) deflate blocks: enough for
// the build-time icons, with no library needed.

#include <cstdint>

// argb: width x height pixels 0xAARRGGBB, rows top to bottom. 0 or -1.
int WritePng(const char* path, const uint32_t* argb, int width, int height);
