#pragma once
// What the cache fuzzer and its seed generator share: the photo paths the
// fuzzer looks up and how their modification times are derived.

#include <cstddef>
#include <cstdint>

// Paths on drive C: that the fuzzer looks up; seeds store entries under them.
constexpr int kFuzzPathCount = 4;
extern const char* const kFuzzPaths[kFuzzPathCount];
// The file names of kFuzzPaths inside drive C:'s directory.
extern const char* const kFuzzFileNames[kFuzzPathCount];

// The record time stored in `cache` (a cache file's bytes) for the first
// entry named `path`, found by following the file's own numbers; else a
// value taken from the file's last bytes, so every input gives some time.
int32_t FuzzTimeForPath(const uint8_t* cache, size_t size, const char* path, int which);
