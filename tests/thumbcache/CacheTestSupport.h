#pragma once
// Shared pieces of the thumbnail cache tests: a fixture that points drive C:,
// the home and the cache directory at a fresh temporary directory and
// records message boxes, byte-level
// access to the cache file, an independent parser of the file, and photos
// made with the project's encoder.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "thumbcache/BrowseCache.h"

// Reaches the byte-level store of CBrowseCache (a private helper).
class CBrowseCacheTestAccess {
public:
    static int StoreBytes(CBrowseCache& cache, const char* path, const std::vector<unsigned char>& bytes,
                          int width = 1, int height = 1)
    {
        static const unsigned char none = 0;
        const unsigned char* data = bytes.empty() ? &none : bytes.data();
        return cache.StoreThumbnailBytes(path, data, (int)bytes.size(), width, height);
    }
};

// The file's contents read with plain stdio, independent of the code under test.
struct ParsedEntry {
    uint32_t recordBlock = 0;
    int32_t record[9] = {};  // reserved, fileTime, nameLength, nameOffset, count, listBlock, size, w, h
    std::string name;
    std::vector<uint32_t> dataBlocks;
    std::vector<unsigned char> data;
};
struct ParsedCache {
    int32_t header[7] = {};
    std::vector<uint32_t> freeList;
    std::vector<ParsedEntry> entries;
};

extern std::vector<std::string> g_messages;
int RecordMessage(const char* text, unsigned int type);

// Sets environment variables for a while and puts the old values back.
class EnvironmentOverride {
public:
    ~EnvironmentOverride() { Restore(); }
    void Set(const char* name, const std::string& value);
    void Restore();

private:
    struct Saved {
        std::string name;
        bool wasSet;
        std::string value;
    };
    std::vector<Saved> m_saved;
};

// Drive C: and the home directory are a fresh temporary directory, and the
// user's cache directory ($XDG_CACHE_HOME) is its folder "cache", so no test
// touches the user's own files.
class CacheTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Native path of a file in drive C:.
    std::string Native(const std::string& name) const { return m_dir + "/" + name; }
    // The file "C:/ThumbNails.bin" names: in the cache directory.
    std::string CacheNative() const { return m_dir + "/cache/pixmoor/ThumbNails.bin"; }
    // Where earlier versions kept it: drive C: itself.
    std::string EarlierCacheNative() const { return Native("ThumbNails.bin"); }

    std::string m_dir;
    EnvironmentOverride m_environment;
};

// Pseudo-random bytes, different for each seed.
std::vector<unsigned char> MakeBytes(size_t size, uint32_t seed);

std::vector<unsigned char> ReadWholeFile(const std::string& native);
// Writes the whole file; fails the calling test when it cannot.
void WriteWholeFile(const std::string& native, const std::vector<unsigned char>& bytes);
bool FileExists(const std::string& native);
long FileSize(const std::string& native);
int32_t ReadNumberAt(const std::string& native, long offset);
void WriteNumberAt(const std::string& native, long offset, int32_t value);
void TruncateFile(const std::string& native, long size);
void SetModifiedTime(const std::string& native, long long seconds);

// Parses the whole file; `withData` also reads every entry's stream. Fails
// the calling test (ADD_FAILURE) when the file cannot be read.
ParsedCache ParseCacheFile(const std::string& native, bool withData);

// A smooth test picture in exchange layout, and a JPEG photo file of it.
std::vector<unsigned char> MakePicture(int width, int height, int seed);
void WritePhoto(const std::string& native, int width, int height, int quality = 90, int seed = 0);
