// Directory paths: the way up, entering, joining, and the 999-character
// limit that keeps every path inside its buffer.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "browser/BrowsePath.h"

namespace {

TEST(BrowsePathTest, GoingUpTable)
{
    struct Case {
        const char* from;
        const char* to;
    } cases[] = {
        { "C:/Photos/2001/", "C:/Photos/" },
        { "C:/Photos/", "C:/" },
        { "C:/", "" },
        { "C:\\Photos\\2001\\", "C:\\Photos\\" },
        { "C:/Photos\\2001/", "C:/Photos\\" },
        { "", "" },             // the drive view has nowhere to go
        { "ab", "ab" },         // no separator before the last character
        { "abcd/", "abcd/" },
    };
    for (const Case& c : cases) {
        char path[BROWSE_PATH_SIZE];
        std::strcpy(path, c.from);
        BrowsePath::GoUp(path);
        EXPECT_STREQ(path, c.to) << c.from;
    }
}

TEST(BrowsePathTest, EnteringAppendsNameAndSlash)
{
    char path[BROWSE_PATH_SIZE] = "";
    ASSERT_EQ(BrowsePath::EnterDirectory(path, "C:"), 0);
    EXPECT_STREQ(path, "C:/");
    ASSERT_EQ(BrowsePath::EnterDirectory(path, "2001"), 0);
    EXPECT_STREQ(path, "C:/2001/");
}

// Overrunning the 1000-byte path buffer would corrupt the browser object.
TEST(BrowsePathTest, EnteringBeyond999CharactersIsRefusedAndLeavesThePath)
{
    char path[BROWSE_PATH_SIZE + 16];
    std::memset(path, 0x55, sizeof path);
    std::string start = "C:/" + std::string(990, 'a') + "/";  // 994 characters
    std::strcpy(path, start.c_str());
    EXPECT_EQ(BrowsePath::EnterDirectory(path, "abcd"), 0);  // 999: fits exactly
    EXPECT_EQ(std::strlen(path), 999u);
    const std::string full = path;
    EXPECT_EQ(BrowsePath::EnterDirectory(path, "x"), -1);
    EXPECT_EQ(full, path);
    for (size_t i = BROWSE_PATH_SIZE; i < sizeof path; ++i)
        EXPECT_EQ((unsigned char)path[i], 0x55);
}

TEST(BrowsePathTest, JoinRefusesWhatWouldNotFit)
{
    char out[BROWSE_PATH_SIZE];
    const std::string dir = "C:/" + std::string(900, 'd') + "/";
    EXPECT_EQ(BrowsePath::Join(out, dir.c_str(), std::string(95, 'f').c_str()), 0);  // 999
    EXPECT_EQ(std::strlen(out), 999u);
    EXPECT_EQ(BrowsePath::Join(out, dir.c_str(), std::string(96, 'f').c_str()), -1);
    EXPECT_STREQ(out, "");
}

TEST(BrowsePathTest, CopyOfATooLongPathGivesTheDriveView)
{
    char out[BROWSE_PATH_SIZE];
    EXPECT_EQ(BrowsePath::Copy(out, "C:/Photos/"), 0);
    EXPECT_STREQ(out, "C:/Photos/");
    const std::string longest(999, 'p');
    EXPECT_EQ(BrowsePath::Copy(out, longest.c_str()), 0);
    EXPECT_EQ(longest, out);
    const std::string tooLong(1000, 'p');
    EXPECT_EQ(BrowsePath::Copy(out, tooLong.c_str()), -1);
    EXPECT_STREQ(out, "");
    EXPECT_EQ(BrowsePath::Copy(out, nullptr), -1);
    EXPECT_STREQ(out, "");
}

TEST(BrowsePathTest, DriveRootIsExactlyThreeCharacters)
{
    EXPECT_TRUE(BrowsePath::IsDriveRoot("C:/"));
    EXPECT_TRUE(BrowsePath::IsDriveRoot("D:\\"));
    EXPECT_FALSE(BrowsePath::IsDriveRoot("C:/a/"));
    EXPECT_FALSE(BrowsePath::IsDriveRoot(""));
}

}  // namespace
