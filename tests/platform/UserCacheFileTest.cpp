// The cache file's drive path resolves to the user's cache directory, from
// the environment of the moment; every other path keeps its meaning.

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/DriveTable.h"
#include "platform/UserCacheFile.h"

namespace {

// Catches the cache path left in drive C:, a relative XDG_CACHE_HOME taken,
// or a near name (another file, drive or case) sent to the cache directory.
TEST(UserCacheFile, TheCacheDrivePathNamesTheFileInTheCacheDirectory)
{
    const std::string savedHome = getenv("HOME") ? getenv("HOME") : "";
    const char* savedCache = getenv("XDG_CACHE_HOME");
    const std::string savedCacheValue = savedCache ? savedCache : "";
    CDriveTable::Instance().SetDrive('C', "/drive/c");
    const struct Case {
        const char* cacheHome;  // null: unset
        const char* path;
        const char* native;
    } cases[] = {
        {"/x/cache", "C:/ThumbNails.bin", "/x/cache/pixmoor/ThumbNails.bin"},
        {"/x/cache", "C:\\ThumbNails.bin", "/x/cache/pixmoor/ThumbNails.bin"},
        {"/x/cache", "c:/ThumbNails.bin", "/x/cache/pixmoor/ThumbNails.bin"},
        {nullptr, "C:/ThumbNails.bin", "/home/u/.cache/pixmoor/ThumbNails.bin"},
        {"", "C:/ThumbNails.bin", "/home/u/.cache/pixmoor/ThumbNails.bin"},
        {"relative/cache", "C:/ThumbNails.bin", "/home/u/.cache/pixmoor/ThumbNails.bin"},
        {"/x/cache", "C:/other.bin", "/drive/c/other.bin"},
        {"/x/cache", "C:/thumbnails.bin", "/drive/c/thumbnails.bin"},
        {"/x/cache", "C:/ThumbNails.bin.new.7", "/drive/c/ThumbNails.bin.new.7"},
        {"/x/cache", "C:/dir/ThumbNails.bin", "/drive/c/dir/ThumbNails.bin"},
        {"/x/cache", "Z:/ThumbNails.bin", "/ThumbNails.bin"},
        {"/x/cache", "/drive/c/ThumbNails.bin", "/drive/c/ThumbNails.bin"},
    };
    setenv("HOME", "/home/u", 1);
    for (const Case& c : cases) {
        if (c.cacheHome)
            setenv("XDG_CACHE_HOME", c.cacheHome, 1);
        else
            unsetenv("XDG_CACHE_HOME");
        EXPECT_EQ(NativePath(c.path), c.native)
            << c.path << " with XDG_CACHE_HOME=" << (c.cacheHome ? c.cacheHome : "(unset)");
        const bool inCacheDirectory = strstr(c.native, "/pixmoor/") != nullptr;
        EXPECT_EQ(IsUserCacheFilePath(c.path), inCacheDirectory) << c.path;
    }
    setenv("HOME", savedHome.c_str(), 1);
    if (savedCache)
        setenv("XDG_CACHE_HOME", savedCacheValue.c_str(), 1);
    else
        unsetenv("XDG_CACHE_HOME");
}

}  // namespace
