#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <set>
#include <string>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/DriveTable.h"
#include "platform/FileSystem.h"

// Points drive Q: at a fresh temporary directory for each test.
class FileSystemTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char tmpl[] = "/tmp/pixmoor-fs-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        m_dir = tmpl;
        CDriveTable::Instance().SetDrive('Q', m_dir);
    }
    void TearDown() override
    {
        CDriveTable::Instance().SetDrive('Q', "");
        std::string cmd = "rm -rf '" + m_dir + "'";
        ASSERT_EQ(system(cmd.c_str()), 0);
    }
    void Touch(const std::string& name) { std::ofstream(m_dir + "/" + name) << "x"; }
    std::string m_dir;
};

TEST_F(FileSystemTest, SearchYieldsEveryEntryWithDirectoryAttribute)
{
    Touch("a.jpg");
    Touch("b.txt");
    ASSERT_EQ(mkdir((m_dir + "/sub").c_str(), 0755), 0);
    ASSERT_EQ(symlink((m_dir + "/sub").c_str(), (m_dir + "/link").c_str()), 0);

    std::set<std::string> dirs, files;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA("Q:/*", &fd);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    do {
        (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? dirs : files).insert(fd.cFileName);
    } while (FindNextFileA(h, &fd));
    EXPECT_TRUE(FindClose(h));
    EXPECT_EQ(dirs, (std::set<std::string>{".", "..", "sub", "link"}));
    EXPECT_EQ(files, (std::set<std::string>{"a.jpg", "b.txt"}));
}

TEST_F(FileSystemTest, SearchFailsForMissingDirectoryOrDrive)
{
    WIN32_FIND_DATAA fd;
    EXPECT_EQ(FindFirstFileA("Q:/nope/*", &fd), INVALID_HANDLE_VALUE);
    EXPECT_EQ(FindFirstFileA("Y:/*", &fd), INVALID_HANDLE_VALUE);
    EXPECT_EQ(FindFirstFileA("Q:/", &fd), INVALID_HANDLE_VALUE);  // pattern must end in '*'
    EXPECT_NE(GetLogicalDrives() & (1u << ('Q' - 'A')), 0u);
}

TEST_F(FileSystemTest, StatusGivesModificationTimeInSeconds)
{
    Touch("p.jpg");
    struct timespec times[2] = {{1000000000, 0}, {1234567890, 999999999}};
    ASSERT_EQ(utimensat(AT_FDCWD, (m_dir + "/p.jpg").c_str(), times, 0), 0);
    CFileStatus st;
    ASSERT_TRUE(CFile::GetStatus("Q:/p.jpg", st));
    EXPECT_EQ(st.m_mtime, 1234567890);
    EXPECT_FALSE(CFile::GetStatus("Q:/missing.jpg", st));
}

TEST_F(FileSystemTest, OpenAndRemoveGoThroughTheTable)
{
    FILE* f = PlatformOpenFile("Q:/ThumbNails.bin", "wb");
    ASSERT_NE(f, nullptr);
    fclose(f);
    EXPECT_EQ(access((m_dir + "/ThumbNails.bin").c_str(), F_OK), 0);
    EXPECT_EQ(PlatformRemoveFile("Q:\\ThumbNails.bin"), 0);
    EXPECT_NE(access((m_dir + "/ThumbNails.bin").c_str(), F_OK), 0);
    EXPECT_EQ(PlatformOpenFile("Y:/x", "rb"), nullptr);
}
