#pragma once
// Exif blocks for test streams: an APP1 segment holding a TIFF header and an
// IFD0 with an Orientation entry, put right after a stream's SOI marker.
// Shared by the tests, the benchmarks and the fuzzers' seeds.

#include <cstdint>
#include <vector>

// The TIFF block ("II"/"MM", 42, IFD0 at 8) with `entries` entries, the
// Orientation (0x0112, SHORT, count 1) among them with `orientation`; the
// other entries are harmless tags before and after it.
std::vector<unsigned char> ExifTiffBlock(int orientation, bool bigEndian, int entries = 3);

// The APP1 segment (marker, length, "Exif\0\0", then `tiff`).
std::vector<unsigned char> ExifSegment(const std::vector<unsigned char>& tiff);

// `jpeg` with `segment` inserted after its first two bytes (SOI).
std::vector<unsigned char> InsertAfterSoi(const std::vector<unsigned char>& jpeg,
                                          const std::vector<unsigned char>& segment);

// Shorthand: `jpeg` tagged with an Orientation.
std::vector<unsigned char> WithExifOrientation(const std::vector<unsigned char>& jpeg,
                                               int orientation, bool bigEndian = false);
