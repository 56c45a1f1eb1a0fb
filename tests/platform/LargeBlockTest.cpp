// AllocLargeBlock: an ordinary malloc block whose whole huge pages carry the
// kernel's huge-page advice. Catches advice given to a misaligned or
// out-of-block range (which madvise refuses or, worse, applies to memory
// beyond the block) and advice that never reaches the kernel.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "platform/LargeBlock.h"

namespace {

const uintptr_t kHugePage = (uintptr_t)2 << 20;

// The VmFlags line of the mapping in /proc/self/smaps that holds `address`,
// or "" when there is none.
std::string VmFlagsAt(uintptr_t address)
{
    std::ifstream smaps("/proc/self/smaps");
    std::string line;
    bool inside = false;
    while (std::getline(smaps, line)) {
        unsigned long lo = 0, hi = 0;
        if (std::sscanf(line.c_str(), "%lx-%lx ", &lo, &hi) == 2 && line.find('-') < 17)
            inside = address >= lo && address < hi;
        else if (inside && line.compare(0, 8, "VmFlags:") == 0)
            return line;
    }
    return "";
}

bool HugePagesOffered()
{
    std::ifstream f("/sys/kernel/mm/transparent_hugepage/enabled");
    std::string s;
    std::getline(f, s);
    return s.find("[never]") == std::string::npos && !s.empty();
}

TEST(LargeBlock, BlockIsWritableAndReleasedWithFree)
{
    const size_t sizes[] = {1, 4096, ((size_t)4 << 20) - 1, (size_t)4 << 20, (size_t)37 << 20};
    for (size_t n : sizes) {
        unsigned char* p = (unsigned char*)AllocLargeBlock(n);
        ASSERT_NE(p, nullptr) << n;
        std::memset(p, 0xA5, n);
        EXPECT_EQ(p[0], 0xA5);
        EXPECT_EQ(p[n - 1], 0xA5);
        std::free(p);
    }
}

TEST(LargeBlock, WholeHugePagesInsideABigBlockCarryTheAdvice)
{
    if (!HugePagesOffered())
        GTEST_SKIP() << "transparent huge pages are off on this machine";
    const size_t n = (size_t)36 << 20;
    unsigned char* p = (unsigned char*)AllocLargeBlock(n);
    ASSERT_NE(p, nullptr);
    const uintptr_t first = ((uintptr_t)p + kHugePage - 1) & ~(kHugePage - 1);
    const uintptr_t last = (((uintptr_t)p + n) & ~(kHugePage - 1)) - 1;
    EXPECT_NE(VmFlagsAt(first).find(" hg"), std::string::npos) << VmFlagsAt(first);
    EXPECT_NE(VmFlagsAt(last).find(" hg"), std::string::npos) << VmFlagsAt(last);
    std::free(p);
}

TEST(LargeBlock, SmallBlocksAreNotAdvised)
{
    // A small block lives in the ordinary heap; advising its page would
    // reach its neighbours too.
    unsigned char* p = (unsigned char*)AllocLargeBlock(1000);
    ASSERT_NE(p, nullptr);
    const std::string flags = VmFlagsAt((uintptr_t)p);
    ASSERT_FALSE(flags.empty());
    EXPECT_EQ(flags.find(" hg"), std::string::npos) << flags;
    std::free(p);
}

}  // namespace
