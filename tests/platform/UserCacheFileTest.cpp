// The cache file's drive path resolves to the user's cache directory, from
// the environment of the moment; every other path keeps its meaning.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/DriveTable.h"
#include "platform/UserCacheFile.h"

// Catches the cache left in drive C:, an empty or relative XDG_CACHE_HOME
// taken, or a near name (another file, folder or drive) sent to the cache.
TEST(UserCacheFile, TheCacheDrivePathNamesTheFileInTheCacheDirectory)
{
    const std::string home = getenv("HOME") ? getenv("HOME") : "/";
    const bool hadCacheHome = getenv("XDG_CACHE_HOME") != nullptr;
    const std::string cacheHome = hadCacheHome ? getenv("XDG_CACHE_HOME") : "";
    CDriveTable::Instance().SetDrive('C', "/drive/c");
    setenv("HOME", "/home/u", 1);
    const struct Case {
        const char* cacheHome;  // null: unset
        const char* path;
        const char* native;
    } cases[] = {
        {"/x", "C:/ThumbNails.bin", "/x/pixmoor/ThumbNails.bin"},
        {"/x", "C:\\ThumbNails.bin", "/x/pixmoor/ThumbNails.bin"},
        {"/x", "c:/ThumbNails.bin", "/x/pixmoor/ThumbNails.bin"},
        {nullptr, "C:/ThumbNails.bin", "/home/u/.cache/pixmoor/ThumbNails.bin"},
        {"", "C:/ThumbNails.bin", "/home/u/.cache/pixmoor/ThumbNails.bin"},
        {"x", "C:/ThumbNails.bin", "/home/u/.cache/pixmoor/ThumbNails.bin"},
        {"/x", "C:/thumbnails.bin", "/drive/c/thumbnails.bin"},
        {"/x", "C:/other.bin", "/drive/c/other.bin"},
        {"/x", "C:/ThumbNails.bin.new.7", "/drive/c/ThumbNails.bin.new.7"},
        {"/x", "C:/dir/ThumbNails.bin", "/drive/c/dir/ThumbNails.bin"},
        {"/x", "Z:/ThumbNails.bin", "/ThumbNails.bin"},
        {"/x", "/drive/c/ThumbNails.bin", "/drive/c/ThumbNails.bin"},
    };
    for (const Case& c : cases) {
        if (c.cacheHome)
            setenv("XDG_CACHE_HOME", c.cacheHome, 1);
        else
            unsetenv("XDG_CACHE_HOME");
        EXPECT_EQ(NativePath(c.path), c.native) << c.path << " with " << (c.cacheHome ? c.cacheHome : "unset");
        EXPECT_EQ(IsUserCacheFilePath(c.path), std::string(c.native).find("/pixmoor/") != std::string::npos);
    }
    setenv("HOME", home.c_str(), 1);
    if (hadCacheHome)
        setenv("XDG_CACHE_HOME", cacheHome.c_str(), 1);
    else
        unsetenv("XDG_CACHE_HOME");
}
