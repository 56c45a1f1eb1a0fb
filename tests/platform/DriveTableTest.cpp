#include <gtest/gtest.h>

#include "platform/DriveTable.h"

TEST(DriveTable, DefaultsAreHomeAndRoot)
{
    CDriveTable table;
    EXPECT_FALSE(table.GetDrive('C').empty());
    EXPECT_EQ(table.GetDrive('Z'), "/");
    EXPECT_EQ(table.GetMask(), (1u << 2) | (1u << 25));
}

TEST(DriveTable, MapsDrivePathsAndPassesNativeOnes)
{
    CDriveTable table;
    table.SetDrive('C', "/tmp/home/");
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"C:/ThumbNails.bin", "/tmp/home/ThumbNails.bin"},
        {"c:/a/b.jpg", "/tmp/home/a/b.jpg"},
        {"C:\\photos\\a.jpg", "/tmp/home/photos/a.jpg"},
        {"C:/", "/tmp/home/"},
        {"C:", "/tmp/home/"},
        {"Z:/etc/x", "/etc/x"},
        {"Z:/", "/"},
        {"/usr/share/a.jpg", "/usr/share/a.jpg"},
        {"relative.jpg", "relative.jpg"},
        {"C:relative", "C:relative"},  // not a drive path: drive letters need a separator
        {"D:/missing", ""},            // drive not in the table
    };
    for (const Case& c : cases)
        EXPECT_EQ(table.ToNative(c.in), c.out) << c.in;
}

TEST(DriveTable, AppliesEnvironmentStyleSpec)
{
    CDriveTable table;
    table.Clear();
    EXPECT_EQ(table.GetMask(), 0u);
    table.Apply("C=/tmp/c;D=/media/d;bogus;1=/x;Q=");
    EXPECT_EQ(table.GetDrive('C'), "/tmp/c");
    EXPECT_EQ(table.GetDrive('D'), "/media/d");
    EXPECT_EQ(table.GetMask(), (1u << 2) | (1u << 3));
    EXPECT_EQ(table.SetDrive('!', "/x"), -1);
}
