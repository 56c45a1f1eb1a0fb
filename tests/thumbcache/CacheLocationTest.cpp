// Where the cache file lives and who may read it: "C:/ThumbNails.bin" is the
// file in $XDG_CACHE_HOME/pixmoor, made 0700 / 0600; a wider file is
// narrowed; a file earlier versions left in drive C: is moved there once,
// also by processes starting at once and across file systems; a directory
// that cannot be made or written leaves the cache closed without a message.

#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <functional>
#include <set>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "CacheTestSupport.h"

namespace {

int ModeOf(const std::string& native)
{
    struct stat st;
    return stat(native.c_str(), &st) == 0 ? (int)(st.st_mode & 07777) : -1;
}

// The names in a directory: a temporary file left behind shows here.
std::set<std::string> NamesIn(const std::string& dir)
{
    std::set<std::string> names;
    DIR* d = opendir(dir.c_str());
    while (struct dirent* e = d ? readdir(d) : nullptr)
        if (e->d_name[0] != '.')
            names.insert(e->d_name);
    if (d)
        closedir(d);
    return names;
}

// The exit status of `check` run in a forked process; under root the
// process first becomes "nobody", for whom file modes count.
int InChild(const std::function<int()>& check, bool unprivileged = false)
{
    const pid_t pid = fork();
    if (pid == 0)
        _exit(unprivileged && geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0) ? 90 : check());
    int status = -1;
    return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class LocationTest : public CacheTest {
protected:
    // A cache file with `entries` entries ("C:/photoN.jpg") at `native`, mode 0644.
    std::vector<unsigned char> MakeCacheFile(const std::string& native, int entries)
    {
        {
            CBrowseCache maker;
            strcpy(maker.m_cachePath, "C:/maker.bin");
            for (int i = 0; i < entries; ++i) {
                const std::string key = "C:/photo" + std::to_string(i) + ".jpg";
                EXPECT_EQ(CBrowseCacheTestAccess::StoreBytes(maker, key.c_str(), MakeBytes(1500, i)), 0);
            }
        }
        EXPECT_EQ(rename(Native("maker.bin").c_str(), native.c_str()), 0) << native;
        EXPECT_EQ(chmod(native.c_str(), 0644), 0);
        return ReadWholeFile(native);
    }
    void Reset(const std::string& cacheHome)
    {
        ASSERT_EQ(system(("rm -rf '" + cacheHome + "' '" + EarlierCacheNative() + "'").c_str()), 0);
        m_environment.Set("XDG_CACHE_HOME", cacheHome);
    }
};

// Catches a cache made in the home directory or readable by others, a
// relative XDG_CACHE_HOME taken, an old file lost or preferred over the new.
TEST_F(LocationTest, PlacesAndModesOfTheCacheFile)
{
    const struct Case {
        const char* what;
        const char* cacheHome;  // below drive C:
        const char* cacheDir;   // where the file must be
        int earlier;            // entries of a file in drive C:, -1 for none
        int present;            // entries of a file in place (0644), -1 for none
    } cases[] = {
        {"nothing there", "cache", "cache/pixmoor", -1, -1},
        {"a relative XDG_CACHE_HOME is ignored", "rel", ".cache/pixmoor", -1, -1},
        {"a 0644 file is narrowed", "cache", "cache/pixmoor", -1, 2},
        {"an earlier file is moved", "cache", "cache/pixmoor", 3, -1},
        {"both: the new one wins, the old is left alone", "cache", "cache/pixmoor", 3, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Reset(Native(c.cacheHome));
        if (strcmp(c.cacheHome, "rel") == 0)
            m_environment.Set("XDG_CACHE_HOME", "relative/cache");
        const std::string dir = Native(c.cacheDir);
        std::vector<unsigned char> earlier, present;
        if (c.earlier >= 0)
            earlier = MakeCacheFile(EarlierCacheNative(), c.earlier);
        if (c.present >= 0) {
            ASSERT_EQ(system(("mkdir -p -m 0700 '" + dir + "'").c_str()), 0);
            present = MakeCacheFile(dir + "/ThumbNails.bin", c.present);
        }
        CBrowseCache cache;
        ASSERT_EQ(cache.OpenThumbnailCache(cache.m_cachePath), 0);
        EXPECT_EQ(ModeOf(dir), 0700);
        EXPECT_EQ(ModeOf(dir + "/ThumbNails.bin"), 0600);
        EXPECT_EQ(NamesIn(dir), std::set<std::string>{"ThumbNails.bin"});
        EXPECT_EQ(cache.m_cacheCount, c.present >= 0 ? c.present : std::max(c.earlier, 0));
        const bool moved = c.earlier >= 0 && c.present < 0;
        if (moved || c.present >= 0) {
            EXPECT_EQ(ReadWholeFile(dir + "/ThumbNails.bin"), moved ? earlier : present);
        }
        EXPECT_EQ(ReadWholeFile(EarlierCacheNative()), moved ? std::vector<unsigned char>() : earlier);
        EXPECT_TRUE(g_messages.empty());
    }
    // A cache path named explicitly keeps its place, and is private too.
    CBrowseCache other;
    strcpy(other.m_cachePath, "C:/other.bin");
    ASSERT_EQ(other.OpenThumbnailCache(other.m_cachePath), 0);
    EXPECT_EQ(ModeOf(Native("other.bin")), 0600);
    EXPECT_EQ(NamesIn(Native("cache/pixmoor")), std::set<std::string>{"ThumbNails.bin"});
    EXPECT_TRUE(g_messages.empty());
}

// Catches a message box, or a failure other than a closed cache, when the
// cache directory cannot be made (a file is in the way) or written.
TEST_F(LocationTest, ADirectoryThatCannotBeMadeOrWrittenLeavesTheCacheClosedQuietly)
{
    WritePhoto(Native("a.jpg"), 300, 150);
    ASSERT_EQ(chmod(m_dir.c_str(), 0755), 0);  // the unprivileged child reads the photo
    const auto closedQuietly = [] {
        CBrowseCache cache;
        int w = 0, h = 0;
        const bool closed = cache.OpenThumbnailCache(cache.m_cachePath) == -1;
        unsigned char* thumb = cache.GetThumbnail("C:/a.jpg", &w, &h);
        const bool made = thumb && w == 150 && h == 75;
        free(thumb);
        return closed && made && !cache.m_cacheFile && g_messages.empty() ? 0 : 1;
    };
    for (bool blockedByFile : {true, false}) {
        SCOPED_TRACE(blockedByFile ? "a file where the directory would be" : "a directory it may not write");
        ASSERT_EQ(system(("rm -rf '" + m_dir + "/cache'").c_str()), 0);
        if (blockedByFile) {
            WriteWholeFile(m_dir + "/cache", {1, 2, 3});
        } else {
            ASSERT_EQ(system(("mkdir -p -m 0555 '" + m_dir + "/cache/pixmoor'").c_str()), 0);
        }
        EXPECT_EQ(InChild(closedQuietly, !blockedByFile), 0);
        EXPECT_FALSE(FileExists(CacheNative()));
    }
}

// Catches viewers starting at once that both move the earlier file (one
// putting its copy over the other's, which has thumbnails stored already)
// or lose it: four processes open the cache and store one entry each, on
// one file system (a rename) and across two (a copy, then a removal).
TEST_F(LocationTest, ProcessesStartingAtOnceMoveTheEarlierFileOnce)
{
    char other[] = "/tmp/pixmoor-cache-home-XXXXXX";
    ASSERT_NE(mkdtemp(other), nullptr);
    struct stat drive, elsewhere;
    ASSERT_EQ(stat(m_dir.c_str(), &drive), 0);
    ASSERT_EQ(stat(other, &elsewhere), 0);
    const bool across = drive.st_dev != elsewhere.st_dev;
    const std::string homes[] = {Native("cache"), std::string(other) + "/cache"};
    for (const std::string& home : homes) {
        if (home == homes[1] && !across)
            continue;
        SCOPED_TRACE(home);
        for (int round = 0; round < 8; ++round) {
            Reset(home);
            MakeCacheFile(EarlierCacheNative(), 3);
            int gate[2];
            ASSERT_EQ(pipe(gate), 0);
            std::vector<pid_t> racers;
            for (int i = 0; i < 4; ++i) {
                const pid_t pid = fork();
                if (pid == 0) {
                    char c;
                    close(gate[1]);
                    if (read(gate[0], &c, 1) != 0)  // until the parent closes the pipe
                        _exit(9);
                    // Retried, so a lock a loaded machine holds past its wait does not count.
                    CBrowseCache cache;
                    int opened = -1, stored = -1;
                    for (int k = 0; k < 50 && opened != 0; ++k)
                        opened = cache.OpenThumbnailCache(cache.m_cachePath);
                    const std::string key = "C:/racer" + std::to_string(i) + ".jpg";
                    for (int k = 0; k < 50 && opened == 0 && stored != 0; ++k)
                        stored = CBrowseCacheTestAccess::StoreBytes(cache, key.c_str(), MakeBytes(1200, i));
                    _exit(cache.m_cacheCount >= 3 && stored == 0 && g_messages.empty() ? 0 : 1);
                }
                racers.push_back(pid);
            }
            close(gate[0]);
            close(gate[1]);
            for (pid_t pid : racers) {
                int status = -1;
                EXPECT_TRUE(waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0);
            }
            CBrowseCache cache;
            ASSERT_EQ(cache.OpenThumbnailCache(cache.m_cachePath), 0);
            std::set<std::string> keys;
            for (int i = 0; i < cache.m_cacheCount; ++i)
                keys.insert(cache.m_cacheIndex[i].name);
            EXPECT_EQ(keys, (std::set<std::string>{"C:/photo0.jpg", "C:/photo1.jpg", "C:/photo2.jpg",
                                                   "C:/racer0.jpg", "C:/racer1.jpg", "C:/racer2.jpg",
                                                   "C:/racer3.jpg"}));
            EXPECT_EQ(NamesIn(home + "/pixmoor"), std::set<std::string>{"ThumbNails.bin"});
            EXPECT_EQ(ModeOf(home + "/pixmoor/ThumbNails.bin"), 0600);
            EXPECT_FALSE(FileExists(EarlierCacheNative()));
        }
    }
    EXPECT_EQ(system(("rm -rf '" + std::string(other) + "'").c_str()), 0);
    if (!across)
        GTEST_SKIP() << "only on one file system: drive C: and /tmp are one here";
}

}  // namespace
