#include "AllocationCampaign.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

#include "AllocationHook.h"
#include "tests/thumbcache/CacheTestSupport.h"

namespace {

// Library messages about the failed allocations would flood the log.
class QuietStderr {
public:
    QuietStderr()
    {
        fflush(stderr);
        m_saved = dup(2);
        int null = open("/dev/null", O_WRONLY);
        dup2(null, 2);
        close(null);
    }
    ~QuietStderr()
    {
        fflush(stderr);
        dup2(m_saved, 2);
        close(m_saved);
    }

private:
    int m_saved;
};

}  // namespace

long RunCampaign(const char* name, const Campaign& c)
{
    c.setup();
    c.op();
    c.cleanup();
    long k = 1;
    for (;; ++k) {
        long before = LiveAllocations();
        c.setup();
        bool threw = false;
        {
            QuietStderr quiet;
            FailAllocationAfter(k);
            try {
                c.op();
            } catch (...) {
                threw = true;
            }
        }
        bool hit = DisarmAllocationFailure();
        EXPECT_FALSE(threw) << name << ": an exception escaped when allocation " << k << " failed";
        c.check(hit, k);
        c.cleanup();
        EXPECT_EQ(LiveAllocations(), before) << name << ": blocks leaked when allocation " << k
                                             << " failed";
        if (!hit || ::testing::Test::HasFailure() || k > 100000)
            break;
    }
    printf("[ campaign ] %s: %ld allocations failed in turn\n", name, k - 1);
    return k - 1;
}

std::vector<unsigned char> Pixels(int width, int height)
{
    return MakePicture(width, height, 3);
}
