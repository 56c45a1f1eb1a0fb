// The listing: what a directory (or the drive view) becomes, in which
// order, with which icons and flags, directories of more than the old 999
// items, long paths, and the title and scroll ranges that follow each
// listing.
#include <algorithm>
#include <cstring>
#include <set>

#include "BrowseTestSupport.h"
#include "codec/JpegName.h"
#include "platform/DriveTable.h"

namespace {

const char kUp[] = ".. (Up Directory)";

class ListingTest : public BrowseTest {
protected:
    // Lists `path` in a created (hidden) browser.
    void List(const char* path)
    {
        Create(path);
        m_browse->ListDirectory();
    }
    uint32_t FlagsAt(int p) const { return m_browse->m_items[m_browse->m_order[p].slot].m_nFlags; }
    const CRgbImage& ItemAt(int p) const { return m_browse->m_items[m_browse->m_order[p].slot]; }
};

TEST_F(ListingTest, DriveRootListsWayUpThenSubDirectoriesThenJpegFiles)
{
    MakeDir("Photos");
    MakeDir("Beta");
    MakeDir("dir.jpg");
    for (const char* f : { "b.jpg", "a.JPG", "c.Jpg", "d.jpeg", "e.jpg.bak", "jpg", "x.txt" })
        Touch(f);
    List("C:/");
    const std::vector<std::string> expected = { kUp, "Beta", "Photos", "dir.jpg", "C:/a.JPG", "C:/b.jpg" };
    EXPECT_EQ(Shown(), expected);
    EXPECT_EQ(m_browse->m_dirCount, 4);
    EXPECT_EQ(m_browse->m_count, 6);
    EXPECT_EQ(m_browse->GetWindowText(), "C:/");
    for (int p = 0; p < 4; ++p) {
        EXPECT_EQ(FlagsAt(p), (uint32_t)BROWSE_DIR) << p;
        EXPECT_EQ(ItemAt(p).GetWidth(), 80);
        EXPECT_EQ(ItemAt(p).GetHeight(), 80);
    }
    for (int p = 4; p < 6; ++p) {
        EXPECT_EQ(FlagsAt(p), 0u) << p;
        EXPECT_EQ(ItemAt(p).GetHeight(), 0) << "files have no picture until painted";
    }
    // The directory group fills the first slots, the files the following ones.
    for (int p = 0; p < 6; ++p)
        EXPECT_EQ(m_browse->m_order[p].slot < 4, p < 4);
}

TEST_F(ListingTest, JpegNameEndings)
{
    EXPECT_TRUE(IsJpegName("a.JPG"));
    EXPECT_TRUE(IsJpegName("b.jpg"));
    EXPECT_TRUE(IsJpegName(".jpg"));
    for (const char* no : { "c.Jpg", "d.jpeg", "e.jpg.bak", "jpg", "", "a.jPG" })
        EXPECT_FALSE(IsJpegName(no)) << no;
}

// Names compare as unsigned bytes: upper case first, bytes above 127 last.
TEST_F(ListingTest, SortIsByteWiseUnsignedInBothGroups)
{
    MakeDir("Photos");
    MakeDir("Photos/-old");
    MakeDir("Photos/(2001)");
    MakeDir("Photos/zeta");
    for (const char* f : { "apple.jpg", "Zebra.jpg", "\xc3\xa9t\xc3\xa9.jpg", "zz.jpg", "10.jpg", "9.jpg" })
        Touch(std::string("Photos/") + f);
    List("C:/Photos/");
    const std::vector<std::string> expected = {
        "(2001)", "-old", kUp, "zeta",
        "C:/Photos/10.jpg", "C:/Photos/9.jpg", "C:/Photos/Zebra.jpg", "C:/Photos/apple.jpg",
        "C:/Photos/zz.jpg", "C:/Photos/\xc3\xa9t\xc3\xa9.jpg",
    };
    EXPECT_EQ(Shown(), expected);
    EXPECT_EQ(FlagsAt(2), (uint32_t)BROWSE_DIR);
    EXPECT_EQ(m_browse->GetWindowText(), "C:/Photos/");
}

TEST_F(ListingTest, DriveViewListsEachDriveWithTheDriveIconAndNoFiles)
{
    Touch("a.jpg");
    const std::string d = Native("D");
    MakeDir("D");
    CDriveTable::Instance().SetDrive('D', d);
    CDriveTable::Instance().SetDrive('A', d);
    List("");
    const std::vector<std::string> expected = { "A:", "C:", "D:" };
    EXPECT_EQ(Shown(), expected);
    EXPECT_EQ(m_browse->m_dirCount, 3);
    EXPECT_EQ(m_browse->GetWindowText(), "");
    CRgbImage& drive = m_browse->m_items[m_browse->m_order[1].slot];
    EXPECT_EQ(drive.m_nFlags, (uint32_t)BROWSE_DIR);
    ASSERT_EQ(drive.GetWidth(), 80);
    unsigned char* rgb = drive.ExportRgb();
    ASSERT_NE(rgb, nullptr);
    auto at = [&](int row, int col) {
        const unsigned char* p = rgb + 3 * (row * 80 + col);
        return std::array<int, 3>{ p[0], p[1], p[2] };
    };
    EXPECT_EQ(at(40, 40), (std::array<int, 3>{ 0, 128, 0 }));
    EXPECT_EQ(at(2, 2), (std::array<int, 3>{ 192, 192, 192 }));
    free(rgb);
}

TEST_F(ListingTest, EmptyDriveViewHasOneRow)
{
    CDriveTable::Instance().Clear();
    List("");
    EXPECT_EQ(m_browse->m_count, 0);
    EXPECT_EQ(m_browse->m_rows, 1);
}

TEST_F(ListingTest, UnreadableDirectoryShowsTheDrivesWithAnEmptyTitle)
{
    List("C:/missing/");
    EXPECT_STREQ(m_browse->m_path, "");
    const std::vector<std::string> expected = { "C:" };
    EXPECT_EQ(Shown(), expected);
    EXPECT_EQ(m_browse->GetWindowText(), "");
}

TEST_F(ListingTest, UnreadableDriveRootShowsWayUpThenTheDrives)
{
    CDriveTable::Instance().SetDrive('D', Native("no-such-medium"));
    List("D:/");
    const std::vector<std::string> expected = { kUp, "C:", "D:" };
    EXPECT_EQ(Shown(), expected);
    EXPECT_STREQ(m_browse->m_path, "");
}

// Every file is listed, whatever the search order: a listing that stopped
// at a fixed number of items would lose a different part of the directory
// depending on the order in which the platform returns its entries.
TEST_F(ListingTest, ThreeSubDirectoriesAnd1200FilesAreAllListed)
{
    MakeDir("Big");
    for (const char* d : { "Big/s1", "Big/s2", "Big/s3" })
        MakeDir(d);
    std::vector<std::string> names;
    for (int i = 0; i < 1200; ++i) {
        char name[32];
        snprintf(name, sizeof name, "f%04d.jpg", (i * 7919) % 10000);
        Touch(std::string("Big/") + name);
        names.push_back(std::string("C:/Big/") + name);
    }
    std::sort(names.begin(), names.end());

    List("C:/Big/");
    EXPECT_EQ(m_browse->m_count, 1204);
    EXPECT_EQ(m_browse->m_dirCount, 4);
    const std::vector<std::string> shown = Shown();
    const std::vector<std::string> dirs(shown.begin(), shown.begin() + 4);
    EXPECT_EQ(dirs, (std::vector<std::string>{ kUp, "s1", "s2", "s3" }));
    EXPECT_EQ(std::vector<std::string>(shown.begin() + 4, shown.end()), names);
    EXPECT_EQ(m_browse->m_rows, 1204 / 7 + 1);
    int lo = -1, hi = -1;
    m_browse->GetScrollRange(SB_VERT, &lo, &hi);
    EXPECT_EQ(hi, 110 * (1204 / 7 + 1) + 10);

    // A smaller directory afterwards: the table shrinks to it.
    MakeDir("Big/s1/x");
    m_browse->SetPath("C:/Big/s1/");
    m_browse->ListDirectory();
    EXPECT_EQ(Shown(), (std::vector<std::string>{ kUp, "x" }));
    EXPECT_EQ(m_browse->m_items.size(), 2u);
    EXPECT_EQ(m_browse->m_order.size(), 2u);
}

TEST_F(ListingTest, RowsAndScrollRangesFollowTheList)
{
    MakeDir("P");
    for (int i = 0; i < 13; ++i)
        Touch("P/" + std::to_string(i) + ".jpg");
    List("C:/P/");
    ASSERT_EQ(m_browse->m_count, 14);  // the way up and 13 files
    EXPECT_EQ(m_browse->m_rows, 3);
    int lo = -1, hi = -1;
    m_browse->GetScrollRange(SB_VERT, &lo, &hi);
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 110 * 3 + 10);
    m_browse->GetScrollRange(SB_HORZ, &lo, &hi);
    EXPECT_EQ(hi, 125 * 7 + 10);
}

// Paths near the 999-character limit: what would not fit is left out and
// nothing overruns the 1000-byte buffers.
TEST_F(ListingTest, EntriesWhosePathsWouldPass999CharactersAreLeftOut)
{
    std::string rel;
    std::string drivePath = "C:/";
    for (int i = 0; i < 4; ++i) {
        const std::string part(240, (char)('a' + i));
        rel += (i ? "/" : "") + part;
        drivePath += part + "/";
        MakeDir(rel);
    }
    ASSERT_EQ(drivePath.size(), 967u);
    MakeDir(rel + "/" + std::string(30, 'k'));   // 967 + 30 + 1 = 998: listed
    MakeDir(rel + "/" + std::string(40, 'x'));   // 1008: left out
    Touch(rel + "/" + std::string(28, 'f') + ".jpg");  // 999: listed
    Touch(rel + "/" + std::string(29, 'g') + ".jpg");  // 1000: left out
    List(drivePath.c_str());
    const std::vector<std::string> expected = {
        kUp, std::string(30, 'k'), drivePath + std::string(28, 'f') + ".jpg",
    };
    EXPECT_EQ(Shown(), expected);

    // The listed sub-directory can be entered: its path is 998 characters.
    m_browse->EnterItem(m_browse->m_order[1].slot);
    EXPECT_EQ(strlen(m_browse->m_path), 998u);
    EXPECT_EQ(m_browse->m_count, 0);
}

TEST_F(ListingTest, SetPathLongerThan999CharactersGivesTheDriveView)
{
    Create("C:/");
    EXPECT_STREQ(m_browse->m_path, "C:/");
    const std::string tooLong = "C:/" + std::string(997, 'q') + "/";
    m_browse->SetPath(tooLong.c_str());
    EXPECT_STREQ(m_browse->m_path, "");
    m_browse->ListDirectory();
    EXPECT_EQ(Shown(), (std::vector<std::string>{ "C:" }));
}

TEST_F(ListingTest, StartValuesAreGivenBeforeTheWindowExists)
{
    Create("");
    EXPECT_EQ(m_browse->m_cellWidth, 115);
    EXPECT_EQ(m_browse->m_cellHeight, 100);
    EXPECT_EQ(m_browse->m_labelHeight, 20);
    EXPECT_EQ(m_browse->m_margin, 10);
    EXPECT_EQ(m_browse->m_rows, 4);
    EXPECT_EQ(m_browse->m_columns, 7);
    EXPECT_EQ(m_browse->m_barHeight, 50);
    EXPECT_EQ(m_browse->m_count, 0);
    EXPECT_EQ(m_browse->m_multiSelect, 0);
    EXPECT_EQ(m_browse->m_chooseOnClick, 0);
    EXPECT_EQ(m_browse->m_cacheFile, nullptr);
    EXPECT_STREQ(m_browse->m_cachePath, "C:/ThumbNails.bin");
    EXPECT_EQ(m_browse->m_font.GetPointSizeTenths(), 100);
    EXPECT_STREQ(m_browse->m_font.GetFaceName(), "Arial");
}

}  // namespace
