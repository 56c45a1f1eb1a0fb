// Arbitrary bytes through the Exif orientation reader, from a block of the
// input's exact size so that ASan sees any read past it. The answer must be
// a valid orientation.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "codec/ExifOrientation.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    unsigned char* exact = (unsigned char*)malloc(size ? size : 1);
    if (!exact)
        return 0;
    if (size)
        memcpy(exact, data, size);
    const int orientation = ReadExifOrientation(exact, size);
    free(exact);
    if (orientation < 1 || orientation > 8)
        abort();
    return 0;
}
