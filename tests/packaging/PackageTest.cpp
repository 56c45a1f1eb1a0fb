// The Debian package, built with cpack from this build tree into a
// temporary folder and unpacked there (never installed): its files, the
// dependencies computed from the program, the desktop and AppStream
// metadata, the manual page and lintian's verdict. Skipped when cpack or the
// Debian package tools are missing.

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tools/ChildProcess.h"

namespace {

const char kDesktopEntry[] = "/usr/share/applications/com.QuillonWorks.pixmoor.desktop";
const char kMetainfo[] = "/usr/share/metainfo/com.quillonworks.pixmoor.metainfo.xml";
const char kManual[] = "/usr/share/man/man1/pixmoor.1.gz";

// A shell command's standard output and error, and whether it exited with 0.
struct Shell {
    bool ok;
    std::string output;
};

Shell Sh(const std::string& command)
{
    const std::string script = "export LC_ALL=C.UTF-8 MANWIDTH=80; " + command + " 2>&1";
    ChildRun run = RunChild("/bin/sh", {"-c", script}, 300);
    return Shell{run.exited, run.output};
}

std::string Quoted(const std::string& s) { return "'" + s + "'"; }

std::string ReadText(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

class PackageTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        for (const char* tool : {PIXMOOR_CPACK, "dpkg-deb", "dpkg-shlibdeps"})
            if (!Sh(std::string("command -v ") + tool).ok)
                s_missing = std::string(tool) + " is not installed (scripts/install-deps installs it)";
        char dir[] = "/tmp/pixmoor-package-XXXXXX";
        if (!s_missing.empty() || !mkdtemp(dir))
            return;
        s_dir = dir;
        Shell built = Sh("cd " + Quoted(PIXMOOR_BUILD_DIR) + " && " PIXMOOR_CPACK " -G DEB -B " +
                         Quoted(s_dir) + " && dpkg-deb -x " + Quoted(s_dir) + "/pixmoor_" PIXMOOR_VERSION
                         "_*.deb " + Quoted(s_dir + "/root") + " && ls " + Quoted(s_dir) + "/*.deb");
        s_deb = built.ok ? Lines(built.output).back() : "";
        ASSERT_TRUE(built.ok) << built.output;
    }
    static void TearDownTestSuite()
    {
        if (!s_dir.empty())
            Sh("rm -rf " + Quoted(s_dir));
    }
    void SetUp() override
    {
        if (!s_missing.empty())
            GTEST_SKIP() << s_missing;
        ASSERT_FALSE(s_deb.empty()) << "the package was not built";
    }
    static std::string Unpacked(const std::string& path) { return s_dir + "/root" + path; }
    static std::string Field(const char* name)
    {
        const std::string value = Sh("dpkg-deb -f " + Quoted(s_deb) + " " + name).output;
        return value.substr(0, value.find_last_not_of('\n') + 1);
    }

    static std::string s_missing, s_dir, s_deb;
};

std::string PackageTest::s_missing, PackageTest::s_dir, PackageTest::s_deb;

// Catches an install rule that is missing, lands outside /usr, installs a
// build-time tool or a test, or leaves a file writable by others.
TEST_F(PackageTest, HoldsTheProgramItsDesktopFilesAndDocumentsAndNothingElse)
{
    std::set<std::string> expected = {"-rwxr-xr-x ./usr/bin/pixmoor"};
    for (const char* file : {kDesktopEntry, kMetainfo, kManual, "/usr/share/doc/pixmoor/changelog.gz",
                             "/usr/share/dbus-1/services/com.QuillonWorks.pixmoor.service",
                             "/usr/share/doc/pixmoor/copyright"})
        expected.insert(std::string("-rw-r--r-- .") + file);
    for (int size : {16, 32, 48, 64, 128, 256})
        expected.insert("-rw-r--r-- ./usr/share/icons/hicolor/" + std::to_string(size) + "x" +
                        std::to_string(size) + "/apps/pixmoor.png");
    std::set<std::string> files;
    for (const std::string& line : Lines(Sh("dpkg-deb -c " + Quoted(s_deb)).output)) {
        // "-rw-r--r-- root/root  270 2026-12-09 10:20 ./usr/share/..."
        std::istringstream fields(line);
        std::string mode, owner, size, date, time, path;
        fields >> mode >> owner >> size >> date >> time >> path;
        EXPECT_EQ(owner, "root/root") << line;
        EXPECT_TRUE(mode[0] != 'd' || mode == "drwxr-xr-x") << line;
        if (mode[0] != 'd')
            files.insert(mode + " " + path);
    }
    EXPECT_EQ(files, expected);
}

// Catches dependencies written by hand or missing: every library the
// program links (NEEDED) belongs to a package of Depends, and the C, C++,
// JPEG and Qt packages carry the versions dpkg-shlibdeps computes.
TEST_F(PackageTest, DependsOnThePackagesOfTheLibrariesTheProgramLinks)
{
    const std::string depends = Field("Depends");
    for (const char* package : {"libc6 (>= ", "libstdc++6 (>= ", "libjpeg62-turbo (>= ", "libqt6core6 (>= ", "libqt6gui6 (>= ",
                                "libqt6widgets6 (>= ", "libqt6printsupport6 (>= ", "libqt6dbus6 (>= "})
        EXPECT_NE(depends.find(package), std::string::npos) << package << " in " << depends;
    // "libjpeg.so.62 libjpeg62-turbo": each linked library and the packages
    // owning it (dpkg -S prints "libjpeg62-turbo:amd64: /usr/lib/.../libjpeg.so.62").
    Shell owners = Sh("for so in $(readelf -d " + Quoted(Unpacked("/usr/bin/pixmoor")) +
                      " | sed -n 's/.*Shared library: \\[\\(.*\\)\\]/\\1/p'); do"
                      "  echo $so $(dpkg -S \"*/$so\" 2>/dev/null |"
                      "    sed -n \"s|[:,].* /.*/$so\\$||p\"); done");
    ASSERT_TRUE(owners.ok) << owners.output;
    ASSERT_GE(Lines(owners.output).size(), 6u) << owners.output;
    for (const std::string& line : Lines(owners.output)) {
        std::istringstream words(line);
        std::string soname, owner;
        bool found = false;
        for (words >> soname; words >> owner;)
            found = found || (", " + depends + " ").find(", " + owner + " ") != std::string::npos;
        EXPECT_TRUE(found) << line << ": no owner in " << depends;
    }
}

// Catches a service file naming the staging folder or /usr/local instead
// of the installed program, and metadata a software centre or a desktop
// would refuse: the unpacked tree through AppStream's validator (the
// metainfo file, its name, its launchable entry), the entry through
// desktop-file-validate.
TEST_F(PackageTest, DesktopEntryServiceFileAndAppStreamMetadataAreValid)
{
    EXPECT_EQ(ReadText(Unpacked("/usr/share/dbus-1/services/com.QuillonWorks.pixmoor.service")),
              "[D-BUS Service]\nName=com.QuillonWorks.pixmoor\nExec='/usr/bin/pixmoor' /dde\n");
    EXPECT_EQ(ReadText(Unpacked(kDesktopEntry)),
              ReadText(PIXMOOR_SOURCE_DIR "/app/res/com.QuillonWorks.pixmoor.desktop"));
    for (const std::string& command : {"appstreamcli validate --no-net " + Quoted(Unpacked(kMetainfo)),
                                       "appstreamcli validate-tree --no-net " + Quoted(s_dir + "/root"),
                                       "desktop-file-validate " + Quoted(Unpacked(kDesktopEntry))}) {
        Shell check = Sh(command);
        EXPECT_TRUE(check.ok && check.output.find("W:") == std::string::npos)
            << command << "\n" << check.output;
    }
    const std::string metainfo = ReadText(Unpacked(kMetainfo));
    for (const char* part : {"<launchable type=\"desktop-id\">com.QuillonWorks.pixmoor.desktop</launchable>",
                             "<mediatype>image/jpeg</mediatype>", "<content_rating type=\"oars-1.1\"/>",
                             "<release version=\"" PIXMOOR_VERSION "\""})
        EXPECT_NE(metainfo.find(part), std::string::npos) << part;
}

// Catches a manual page that groff warns about, lacks a section the user
// looks for, or names another version than the package and the program.
TEST_F(PackageTest, ManualPageRendersEverySectionForThisVersion)
{
    Shell shown = Sh("man -l " + Quoted(Unpacked(kManual)));
    ASSERT_TRUE(shown.ok) << shown.output;
    for (const char* part : {"NAME", "SYNOPSIS", "DESCRIPTION", "OPTIONS", "KEYS", "ENVIRONMENT", "FILES",
                             "--open file...", "--print file...", "/dde", "Ctrl+O", "PIXMOOR_DRIVES",
                             "DBUS_SESSION_BUS_ADDRESS", "XDG_CACHE_HOME", "$XDG_CACHE_HOME/pixmoor/ThumbNails.bin",
                             "pixmoor " PIXMOOR_VERSION})
        EXPECT_NE(shown.output.find(part), std::string::npos) << part << " is not on the page";
    EXPECT_EQ(Sh("man --warnings -l " + Quoted(Unpacked(kManual)) + " 2>&1 >/dev/null").output, "");
    EXPECT_EQ(Field("Version"), PIXMOOR_VERSION);
    // The unpacked program runs with the system's libraries.
    EXPECT_EQ(Sh(Quoted(Unpacked("/usr/bin/pixmoor")) + " --version").output,
              "pixmoor Version " PIXMOOR_VERSION "\n");
}

// Catches what Debian's policy checker objects to: no error and no warning
// (its informational notes are printed for the record).
TEST_F(PackageTest, LintianFindsNoErrorOrWarning)
{
    Shell lint = Sh("lintian --display-info " + Quoted(s_deb));
    printf("%s", lint.output.c_str());
    EXPECT_TRUE(lint.ok);
    for (const std::string& line : Lines(lint.output))
        EXPECT_TRUE(line.rfind("E:", 0) != 0 && line.rfind("W:", 0) != 0) << line;
}

}  // namespace
