// Every byte of a 50-entry cache file's header, lists and entry records, and
// a sample of its data blocks, damaged one at a time; the file cut short at
// every block boundary of its used area and at other points. Each damaged
// file is opened, all 50 photos are looked up and one thumbnail is stored.
// Nothing may crash or seek outside the largest possible file; every lookup
// gives the stored thumbnail's exact pixels or null; a damaged file that is
// dropped is reported with the discard message; and the file left behind
// opens cleanly afterwards.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/DriveTable.h"
#include "platform/MessageBox.h"
#include "tests/thumbcache/CacheTestSupport.h"
#include "thumbcache/BrowseCache.h"
#include "thumbcache/CacheFileIo.h"
#include "thumbcache/CacheFormat.h"

namespace {

constexpr int kEntries = 50;
constexpr long kLargestFile = kCacheDataStart + (long)kCacheBlockCount * kCacheBlockSize;
const char kDiscardMessage[] = "Thumbnail image cache is corrupt or out of memory";

struct Photo {
    std::string path;     // drive path, the cache key
    std::string native;
    std::vector<unsigned char> thumb;  // the stored thumbnail, decoded
    int width = 0;
    int height = 0;
};

// Seeks and transfers must stay inside the largest file the format allows.
long g_wildAccesses = 0;
int CheckAccess(FILE*, CacheIoOp, long offset, const void*, size_t size)
{
    if (offset < 0 || offset + (long)size > kLargestFile)
        ++g_wildAccesses;
    return 0;
}

class CacheCorruptionCampaign : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override
    {
        CDriveTable::Instance().SetDrive('C', s_dir);
        SetMessageBoxHandler(RecordMessage);
        SetCacheIoHook(CheckAccess);
        g_wildAccesses = 0;
        m_failures = 0;
        m_runs = 0;
        m_served = 0;
        m_discards = 0;
        m_checkedNewFile = false;
    }
    void TearDown() override
    {
        SetCacheIoHook(nullptr);
        SetMessageBoxHandler(nullptr);
        EXPECT_EQ(g_wildAccesses, 0) << "seeks or transfers outside the largest possible file";
        printf("[ campaign ] %ld damaged files, %ld discarded, %ld lookups served\n", m_runs,
               m_discards, m_served);
    }

    // Opens the damaged bytes as the cache, looks every photo up, stores one
    // thumbnail, and checks the outcome. `what` names the damage.
    void Run(const std::vector<unsigned char>& bytes, const std::string& what);
    void Fail(const std::string& what, const std::string& why)
    {
        if (++m_failures <= 20)
            ADD_FAILURE() << what << ": " << why;
    }
    // Flips every byte in [begin, end), `step` apart: with 0xFF, and with
    // 0x01 too where `second` is set.
    void FlipRange(size_t begin, size_t end, const char* region, size_t step = 1,
                   bool second = true);
    static std::string CacheNative() { return s_dir + "/cache/pixmoor/ThumbNails.bin"; }

    static std::string s_dir;
    static EnvironmentOverride s_environment;
    static std::vector<Photo> s_photos;
    static std::vector<unsigned char> s_pristine;
    static ParsedCache s_layout;

    long m_failures = 0;
    long m_runs = 0;
    long m_served = 0;
    long m_discards = 0;
    bool m_checkedNewFile = false;
};

std::string CacheCorruptionCampaign::s_dir;
EnvironmentOverride CacheCorruptionCampaign::s_environment;
std::vector<Photo> CacheCorruptionCampaign::s_photos;
std::vector<unsigned char> CacheCorruptionCampaign::s_pristine;
ParsedCache CacheCorruptionCampaign::s_layout;

void CacheCorruptionCampaign::SetUpTestSuite()
{
    const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    std::string templ = std::string(base) + "/pixmoor-campaign-XXXXXX";
    ASSERT_NE(mkdtemp(&templ[0]), nullptr);
    s_dir = templ;
    ASSERT_EQ(mkdir((s_dir + "/p").c_str(), 0700), 0);
    CDriveTable::Instance().SetDrive('C', s_dir);
    s_environment.Set("XDG_CACHE_HOME", s_dir + "/cache");
    g_messages.clear();
    SetMessageBoxHandler(RecordMessage);

    // Small photos, mostly wide strips, so the 50 lookups of each run decode
    // small thumbnails; a few taller ones give entries of several blocks.
    CBrowseCache cache;
    for (int i = 0; i < kEntries; ++i) {
        Photo p;
        char name[64];
        snprintf(name, sizeof name, "p/photo-%02d.jpg", i);
        p.path = std::string("C:/") + name;
        p.native = s_dir + "/" + name;
        int w = 160 + 9 * i;
        int h = (i % 10 == 0) ? 120 : 6 + (i % 7) * 4;
        WritePhoto(p.native, w, h, 90, i);
        SetModifiedTime(p.native, 1500000000LL + 1000LL * i);
        int tw = 0, th = 0;
        unsigned char* made = cache.GetThumbnail(p.path.c_str(), &tw, &th);
        ASSERT_NE(made, nullptr) << p.path;
        free(made);
        s_photos.push_back(p);
    }
    ASSERT_EQ(cache.m_cacheCount, kEntries);
    // The stored thumbnails, as a lookup gives them back.
    for (Photo& p : s_photos) {
        unsigned char* px = cache.FindThumbnail(p.path.c_str(), &p.width, &p.height);
        ASSERT_NE(px, nullptr) << p.path;
        p.thumb.assign(px, px + (size_t)p.width * p.height * 3);
        free(px);
    }
    ASSERT_TRUE(g_messages.empty());
    s_pristine = ReadWholeFile(CacheNative());
    s_layout = ParseCacheFile(CacheNative(), false);
    ASSERT_EQ((int)s_layout.entries.size(), kEntries);
    SetMessageBoxHandler(nullptr);
}

void CacheCorruptionCampaign::TearDownTestSuite()
{
    s_environment.Restore();
    std::string cmd = "rm -rf '" + s_dir + "'";
    if (system(cmd.c_str()) != 0)
        fprintf(stderr, "could not remove %s\n", s_dir.c_str());
}

void CacheCorruptionCampaign::Run(const std::vector<unsigned char>& bytes, const std::string& what)
{
    ++m_runs;
    {
        FILE* f = fopen(CacheNative().c_str(), "wb");
        ASSERT_NE(f, nullptr);
        if (!bytes.empty()) {
            ASSERT_EQ(fwrite(bytes.data(), 1, bytes.size(), f), bytes.size());
        }
        ASSERT_EQ(fclose(f), 0);
    }
    g_messages.clear();
    size_t shown = 0;
    auto discardShown = [&]() {
        bool found = false;
        for (size_t i = shown; i < g_messages.size(); ++i)
            found = found || g_messages[i] == kDiscardMessage;
        shown = g_messages.size();
        return found;
    };
    bool rejectedAtOpen = false;
    {
        CBrowseCache cache;
        if (cache.OpenThumbnailCache(cache.m_cachePath) != 0) {
            rejectedAtOpen = true;
            ++m_discards;
            if (!discardShown())
                Fail(what, "open failed without the discard message");
            if (FileExists(CacheNative()))
                Fail(what, "a discarded file was not deleted");
        }
        for (const Photo& p : s_photos) {
            bool wasOpen = cache.m_cacheFile != nullptr;
            int w = -1, h = -1;
            unsigned char* px = cache.FindThumbnail(p.path.c_str(), &w, &h);
            if (px) {
                ++m_served;
                if (w != p.width || h != p.height ||
                    memcmp(px, p.thumb.data(), p.thumb.size()) != 0)
                    Fail(what, "lookup of " + p.path + " served other pixels");
                free(px);
            } else if (w != 0 || h != 0) {
                Fail(what, "a failed lookup left a size");
            }
            if (wasOpen && !cache.m_cacheFile) {
                ++m_discards;
                if (!discardShown())
                    Fail(what, "lookup of " + p.path + " dropped the file without the message");
            }
        }
        static const unsigned char pixels[12 * 8 * 3] = {};
        int stored = cache.StoreThumbnail("C:/p/new.jpg", pixels, 12, 8);
        if (stored != 0 && stored != -1)
            Fail(what, "store returned " + std::to_string(stored));
        if (stored == 0 && !cache.m_cacheFile)
            Fail(what, "store reported success with the cache closed");
    }
    // What the run leaves behind is a file that opens without complaint. A
    // file rejected at open was replaced by a new one holding only the
    // store, the same in every such run: checked once per region.
    if (FileExists(CacheNative()) && (!rejectedAtOpen || !m_checkedNewFile)) {
        m_checkedNewFile = m_checkedNewFile || rejectedAtOpen;
        g_messages.clear();
        CBrowseCache again;
        if (again.OpenThumbnailCache(again.m_cachePath) != 0 || !g_messages.empty())
            Fail(what, "the file left behind does not open cleanly");
    }
}

void CacheCorruptionCampaign::FlipRange(size_t begin, size_t end, const char* region, size_t step,
                                        bool second)
{
    static const unsigned char kPatterns[] = {0xFF, 0x01};
    std::vector<unsigned char> bytes = s_pristine;
    for (size_t at = begin; at < end && at < bytes.size(); at += step) {
        for (unsigned char pattern : kPatterns) {
            if (pattern != kPatterns[0] && !second)
                continue;
            bytes[at] ^= pattern;
            Run(bytes, std::string(region) + " byte " + std::to_string(at) + " ^ " +
                           std::to_string(pattern));
            bytes[at] = s_pristine[at];
        }
    }
}

TEST_F(CacheCorruptionCampaign, PristineFileServesEveryEntry)
{
    Run(s_pristine, "pristine file");
    EXPECT_EQ(m_served, kEntries);
    EXPECT_EQ(m_discards, 0);
}

TEST_F(CacheCorruptionCampaign, HeaderBytes)
{
    FlipRange(0, kCacheHeaderBytes, "header");
}

// Every used byte inverted; the low-bit flip on every 16th number (a free
// list of nearly 20000 numbers would otherwise take most of the run time,
// and every damaged number ends the same way: the block check drops it).
TEST_F(CacheCorruptionCampaign, UsedFreeList)
{
    const size_t used = 4 * (size_t)s_layout.header[2];
    const size_t begin = CacheFreeSlotOffset(0);
    FlipRange(begin, begin + used, "free list", 1, false);
    for (size_t number = 0; 4 * number < used; number += 16)
        FlipRange(begin + 4 * number, begin + 4 * number + 4, "free list");
}

TEST_F(CacheCorruptionCampaign, UnusedFreeListSample)
{
    const size_t used = 4 * (size_t)s_layout.header[2];
    FlipRange(CacheFreeSlotOffset(0) + used, CacheEntrySlotOffset(0), "unused free list", 7);
}

TEST_F(CacheCorruptionCampaign, EntryList)
{
    const size_t used = 4 * (size_t)s_layout.header[4];
    FlipRange(CacheEntrySlotOffset(0), CacheEntrySlotOffset(0) + used, "entry list");
    FlipRange(CacheEntrySlotOffset(0) + used, kCacheDataStart, "unused entry list", 509);
}

// Record, name and block list of every entry.
TEST_F(CacheCorruptionCampaign, RecordsNamesAndBlockLists)
{
    for (const ParsedEntry& e : s_layout.entries) {
        size_t record = (size_t)CacheBlockOffset(e.recordBlock);
        FlipRange(record, record + kCacheRecordBytes + (size_t)e.record[2], "record");
        size_t list = (size_t)CacheBlockOffset((uint32_t)e.record[5]);
        FlipRange(list, list + 4 * (size_t)e.record[4], "block list");
    }
}

TEST_F(CacheCorruptionCampaign, DataBlockSample)
{
    for (const ParsedEntry& e : s_layout.entries)
        for (uint32_t block : e.dataBlocks) {
            size_t start = (size_t)CacheBlockOffset(block);
            FlipRange(start, start + kCacheBlockSize, "data", 97);
        }
}

TEST_F(CacheCorruptionCampaign, Truncation)
{
    std::vector<long> cuts;
    for (long at = 0; at < (long)s_pristine.size(); at += 1024)
        cuts.push_back(at);
    // Inside the header, inside list numbers, inside records and names.
    for (long at : {1L, 4L, 27L, 29L, 31L, 80027L, 80030L, 160027L, 160029L, 160063L, 160070L})
        cuts.push_back(at);
    for (long at = 517; at < (long)s_pristine.size(); at += 7919)
        cuts.push_back(at);
    cuts.push_back((long)s_pristine.size() - 1);
    for (long at : cuts) {
        std::vector<unsigned char> bytes(s_pristine.begin(), s_pristine.begin() + at);
        Run(bytes, "cut at " + std::to_string(at));
    }
}

}  // namespace
