// Where the cache file lives and who may read it: "C:/ThumbNails.bin" is the
// file in $XDG_CACHE_HOME/pixmoor, made 0700 / 0600; a wider file is
// narrowed; a file earlier versions left in drive C: is moved there once,
// also by processes starting at once and across file systems; a directory
// that cannot be made or written leaves the cache closed without a message.

#include <dirent.h>
#include <fcntl.h>
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

std::set<std::string> NamesIn(const std::string& dir)
{
    std::set<std::string> names;
    if (DIR* d = opendir(dir.c_str())) {
        while (struct dirent* e = readdir(d))
            if (strcmp(e->d_name, ".") != 0 && strcmp(e->d_name, "..") != 0)
                names.insert(e->d_name);
        closedir(d);
    }
    return names;
}

// Runs `check` in a forked process and returns its exit status (0 when it
// held). Under root the process first becomes "nobody", for whom file modes
// still count.
int InChildProcess(int (*check)(), bool unprivileged)
{
    const pid_t pid = fork();
    if (pid == 0) {
        if (unprivileged && geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(90);
        _exit(check());
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

class LocationTest : public CacheTest {
protected:
    std::string CacheDir() const { return m_dir + "/cache/pixmoor"; }

    // A cache file with `entries` entries at `native`, with `mode`; its bytes.
    std::vector<unsigned char> MakeCacheFile(const std::string& native, int entries, int mode)
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
        EXPECT_EQ(chmod(native.c_str(), (mode_t)mode), 0);
        return ReadWholeFile(native);
    }
};

// Catches a cache made in the home directory or readable by others, an old
// file lost, copied twice or preferred over the new one.
TEST_F(LocationTest, PlacesAndModesOfTheCacheFile)
{
    const struct Case {
        const char* what;
        int earlierEntries;  // -1: no file in drive C:
        int cacheEntries;    // -1: no file in the cache directory
        bool earlierMoved;
    } cases[] = {
        {"nothing there: directory and file made private", -1, -1, false},
        {"a file of mode 0644 in place is narrowed", -1, 2, false},
        {"a file of earlier versions is moved, nothing lost", 3, -1, true},
        {"both there: the new one wins, the old one is left alone", 3, 2, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(system(("rm -rf '" + m_dir + "/cache' '" + EarlierCacheNative() + "'").c_str()), 0);
        std::vector<unsigned char> earlier, present;
        if (c.earlierEntries >= 0)
            earlier = MakeCacheFile(EarlierCacheNative(), c.earlierEntries, 0644);
        if (c.cacheEntries >= 0) {
            ASSERT_EQ(mkdir((m_dir + "/cache").c_str(), 0755), 0);
            ASSERT_EQ(mkdir(CacheDir().c_str(), 0700), 0);
            present = MakeCacheFile(CacheNative(), c.cacheEntries, 0644);
        }

        CBrowseCache cache;
        ASSERT_EQ(cache.OpenThumbnailCache(cache.m_cachePath), 0);
        EXPECT_EQ(ModeOf(CacheDir()), 0700);
        EXPECT_EQ(ModeOf(CacheNative()), 0600);
        EXPECT_EQ(NamesIn(CacheDir()), std::set<std::string>{"ThumbNails.bin"});
        const int expected = c.cacheEntries >= 0 ? c.cacheEntries : std::max(c.earlierEntries, 0);
        EXPECT_EQ(cache.m_cacheCount, expected);
        if (c.earlierMoved) {
            EXPECT_EQ(ReadWholeFile(CacheNative()), earlier);
            EXPECT_FALSE(FileExists(EarlierCacheNative()));
        } else if (c.earlierEntries >= 0) {
            EXPECT_EQ(ReadWholeFile(EarlierCacheNative()), earlier);
        }
        if (c.cacheEntries >= 0) {
            EXPECT_EQ(ReadWholeFile(CacheNative()), present);
        }
        if (c.earlierEntries < 0) {
            EXPECT_FALSE(FileExists(EarlierCacheNative()));
        }
        EXPECT_TRUE(g_messages.empty());
    }
}

// Catches the cache directory made where the XDG variable is relative, and
// a named cache path other than the default moved into the cache directory.
TEST_F(LocationTest, ARelativeCacheHomeIsIgnoredAndOtherPathsKeepTheirPlace)
{
    m_environment.Set("XDG_CACHE_HOME", "relative/cache");
    CBrowseCache cache;
    ASSERT_EQ(cache.OpenThumbnailCache(cache.m_cachePath), 0);
    EXPECT_EQ(ModeOf(m_dir + "/.cache/pixmoor/ThumbNails.bin"), 0600);

    CBrowseCache other;
    strcpy(other.m_cachePath, "C:/other.bin");
    ASSERT_EQ(other.OpenThumbnailCache(other.m_cachePath), 0);
    EXPECT_EQ(ModeOf(Native("other.bin")), 0600);
    EXPECT_EQ(NamesIn(m_dir + "/.cache/pixmoor"), std::set<std::string>{"ThumbNails.bin"});
    EXPECT_TRUE(g_messages.empty());
}

// What a child process checks: the cache stays closed, no message is shown,
// and thumbnails are still made. An exit status, 0 when all held.
int CacheStaysClosedQuietly()
{
    CBrowseCache cache;
    if (cache.OpenThumbnailCache(cache.m_cachePath) != -1 || cache.m_cacheFile)
        return 1;
    int w = 0, h = 0;
    unsigned char* thumb = cache.GetThumbnail("C:/a.jpg", &w, &h);
    const bool made = thumb && w == 150 && h == 75;
    free(thumb);
    if (!made || cache.m_cacheFile)
        return 2;
    return g_messages.empty() ? 0 : 3;
}

// Catches a message box, or a failure other than a closed cache, when the
// cache directory cannot be made or written.
TEST_F(LocationTest, ADirectoryThatCannotBeMadeOrWrittenLeavesTheCacheClosedQuietly)
{
    WritePhoto(Native("a.jpg"), 300, 150);
    ASSERT_EQ(chmod(m_dir.c_str(), 0755), 0);  // the unprivileged child reads the photo
    const struct Case {
        const char* what;
        bool blockedByFile;  // a file where the cache home would be
    } cases[] = {
        {"a file where the directory would be", true},
        {"a directory the user may not write", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(system(("rm -rf '" + m_dir + "/cache'").c_str()), 0);
        if (c.blockedByFile) {
            WriteWholeFile(m_dir + "/cache", {1, 2, 3});
        } else {
            ASSERT_EQ(mkdir((m_dir + "/cache").c_str(), 0755), 0);
            ASSERT_EQ(mkdir(CacheDir().c_str(), 0555), 0);
        }
        EXPECT_EQ(InChildProcess(CacheStaysClosedQuietly, !c.blockedByFile), 0);
        EXPECT_FALSE(FileExists(CacheNative()));
    }
}

// What each racing process does: opens the cache, where `entries` entries
// must be, and stores one of its own. Retried, so a lock that a loaded
// machine keeps past its wait does not count. An exit status, 0 when all held.
int OpenAndStore(int child, int entries)
{
    CBrowseCache cache;
    int opened = -1;
    for (int attempt = 0; attempt < 50 && opened != 0; ++attempt)
        opened = cache.OpenThumbnailCache(cache.m_cachePath);
    if (opened != 0 || cache.m_cacheCount < entries)
        return 1;
    const std::string key = "C:/child" + std::to_string(child) + ".jpg";
    int stored = -1;
    for (int attempt = 0; attempt < 50 && stored != 0; ++attempt)
        stored = CBrowseCacheTestAccess::StoreBytes(cache, key.c_str(), MakeBytes(1200, 100 + child));
    if (stored != 0)
        return 2;
    return g_messages.empty() ? 0 : 3;
}

// Processes open the cache at the same moment while a file of earlier
// versions with `entries` entries waits in drive C:. The file must be moved
// once: every entry, old or stored by a racer, is in the one file at the
// end, and no temporary file is left.
void RaceToMoveTheEarlierFile(const std::string& cacheDir, int entries)
{
    constexpr int kChildren = 4;
    int gate[2];
    ASSERT_EQ(pipe(gate), 0);
    std::vector<pid_t> pids;
    for (int i = 0; i < kChildren; ++i) {
        const pid_t pid = fork();
        if (pid == 0) {
            close(gate[1]);
            char c;
            if (read(gate[0], &c, 1) != 0)  // until the parent closes the pipe
                _exit(9);
            _exit(OpenAndStore(i, entries));
        }
        ASSERT_GT(pid, 0);
        pids.push_back(pid);
    }
    close(gate[0]);
    close(gate[1]);
    for (pid_t pid : pids) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    }
    EXPECT_EQ(ModeOf(cacheDir + "/ThumbNails.bin"), 0600);
    EXPECT_EQ(NamesIn(cacheDir), std::set<std::string>{"ThumbNails.bin"});
    CBrowseCache cache;
    ASSERT_EQ(cache.OpenThumbnailCache(cache.m_cachePath), 0);
    std::set<std::string> keys, expected;
    for (int i = 0; i < cache.m_cacheCount; ++i)
        keys.insert(cache.m_cacheIndex[i].name);
    for (int i = 0; i < entries; ++i)
        expected.insert("C:/photo" + std::to_string(i) + ".jpg");
    for (int i = 0; i < kChildren; ++i)
        expected.insert("C:/child" + std::to_string(i) + ".jpg");
    EXPECT_EQ(keys, expected);
}

class RaceTest : public LocationTest {
protected:
    void RaceRounds(const std::string& cacheHome)
    {
        m_environment.Set("XDG_CACHE_HOME", cacheHome);
        for (int round = 0; round < 8; ++round) {
            SCOPED_TRACE(round);
            ASSERT_EQ(system(("rm -rf '" + cacheHome + "/pixmoor'").c_str()), 0);
            MakeCacheFile(EarlierCacheNative(), 3, 0644);
            RaceToMoveTheEarlierFile(cacheHome + "/pixmoor", 3);
            EXPECT_FALSE(FileExists(EarlierCacheNative()));
        }
        EXPECT_TRUE(g_messages.empty());
    }
};

// Catches two starting viewers that both move the file (one putting its copy
// over the other's, which has thumbnails stored already) or lose it: on one
// file system, a rename.
TEST_F(RaceTest, ProcessesStartingAtOnceMoveTheEarlierFileOnce)
{
    RaceRounds(m_dir + "/cache");
}

// The same across two file systems: a copy put in place, then a removal.
TEST_F(RaceTest, ProcessesStartingAtOnceCopyTheEarlierFileOnceAcrossFileSystems)
{
    char other[] = "/tmp/pixmoor-cache-home-XXXXXX";
    ASSERT_NE(mkdtemp(other), nullptr);
    struct stat home, cacheHome;
    ASSERT_EQ(stat(m_dir.c_str(), &home), 0);
    ASSERT_EQ(stat(other, &cacheHome), 0);
    if (home.st_dev != cacheHome.st_dev)
        RaceRounds(other);
    ASSERT_EQ(system((std::string("rm -rf '") + other + "'").c_str()), 0);
    if (home.st_dev == cacheHome.st_dev)
        GTEST_SKIP() << "drive C: (" << m_dir << ") and /tmp are one file system here";
}

}  // namespace
