#include "fuzz/CacheFuzzSupport.h"

#include <cstring>

#include "thumbcache/CacheFormat.h"

const char* const kFuzzPaths[kFuzzPathCount] = {"C:/a.jpg", "C:/b.jpg", "C:/photos/c.jpg",
                                                 "C:/d.JPG"};
const char* const kFuzzFileNames[kFuzzPathCount] = {"a.jpg", "b.jpg", "photos/c.jpg", "d.JPG"};

namespace {

bool NumberAt(const uint8_t* bytes, size_t size, uint64_t offset, int32_t* out)
{
    if (offset + 4 > size)
        return false;
    *out = GetCacheNumber(bytes + offset);
    return true;
}

}  // namespace

int32_t FuzzTimeForPath(const uint8_t* cache, size_t size, const char* path, int which)
{
    int32_t entryCount = 0;
    int32_t entryListOffset = 0;
    int32_t dataOffset = 0;
    int32_t blockSize = 0;
    if (NumberAt(cache, size, 16, &entryCount) && NumberAt(cache, size, 20, &entryListOffset) &&
        NumberAt(cache, size, 24, &dataOffset) && NumberAt(cache, size, 4, &blockSize) &&
        entryListOffset >= 0 && dataOffset >= 0 && blockSize > 0) {
        const size_t nameLength = strlen(path) + 1;
        for (int32_t i = 0; i < entryCount && i < 64; ++i) {
            int32_t block = 0;
            if (!NumberAt(cache, size, 28 + (uint64_t)entryListOffset + 4 * (uint64_t)i, &block) ||
                block < 0)
                break;
            uint64_t record = 28 + (uint64_t)dataOffset + (uint64_t)block * (uint64_t)blockSize;
            int32_t fileTime = 0;
            if (!NumberAt(cache, size, record + 4, &fileTime))
                continue;
            uint64_t name = record + kCacheRecordBytes;
            if (name + nameLength <= size && memcmp(cache + name, path, nameLength) == 0)
                return fileTime;
        }
    }
    int32_t tail = 0;
    if (size >= 4 * (size_t)(which + 1))
        tail = GetCacheNumber(cache + size - 4 * (size_t)(which + 1));
    return tail;
}
