#pragma once
// Crafted JPEG streams for the hostile-file tests and benchmarks: a small
// real picture encoded by libjpeg, its frame header patched to declare
// another size, and the stream cut a given number of bytes after the start
// of its first scan's data (no EOI), as a hostile file that promises a large
// picture over a few bytes does.

#include <cstddef>
#include <vector>

enum class CraftedCoding { kBaseline, kProgressive, kArithmetic };

const char* CraftedCodingName(CraftedCoding coding);

// The stream as described above; `scanBytes` beyond what the small picture
// has keeps all of its scan data (still without EOI). Empty on failure.
std::vector<unsigned char> MakeCraftedHeader(CraftedCoding coding, int width, int height,
                                             size_t scanBytes);
