// A process with a file-size limit (ulimit -f): with SIGXFSZ ignored, as the
// program does at start-up, a store that runs past the limit is a short
// write, and the cache discards its file instead of the process being ended.

#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "CacheTestSupport.h"
#include "platform/FileSizeSignal.h"

namespace {

using FileSizeLimitTest = CacheTest;

TEST_F(FileSizeLimitTest, StorePastTheLimitDiscardsTheCacheInsteadOfEndingTheProcess)
{
    const std::vector<unsigned char> thumb = MakePicture(150, 100, 4);
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        // The empty cache file takes 160028 bytes; each thumbnail a few blocks.
        IgnoreFileSizeSignal();
        struct rlimit limit = {200000, 200000};
        setrlimit(RLIMIT_FSIZE, &limit);
        CBrowseCache cache;
        int stored = 0;
        while (stored < 100) {
            std::string path = "C:/photo" + std::to_string(stored) + ".jpg";
            if (cache.StoreThumbnail(path.c_str(), thumb.data(), 150, 100) != 0)
                break;
            stored++;
        }
        const bool discarded = g_messages.size() == 1 &&
                               g_messages[0] == "Thumbnail image cache is corrupt or out of memory" &&
                               !FileExists(CacheNative());
        _exit(stored > 0 && stored < 100 && discarded ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_FALSE(WIFSIGNALED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "the store past the limit was not a discard after some stores";
}

}  // namespace
