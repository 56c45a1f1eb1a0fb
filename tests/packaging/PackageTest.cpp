// The Debian package, built with cpack from this build tree into a
// temporary folder and unpacked there (never installed): its files, the
// dependencies computed from the program, the desktop and AppStream
// metadata, the manual page and lintian's verdict. Skipped when cpack or the
// Debian package tools are missing.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tools/ChildProcess.h"

namespace {

const char kDesktopEntry[] = "/usr/share/applications/com.QuillonWorks.pixmoor.desktop";
const char kMetainfo[] = "/usr/share/metainfo/com.quillonworks.pixmoor.metainfo.xml";

struct Shell {
    bool ok;  // exit status 0
    std::string output;  // standard output and error
};

Shell Sh(const std::string& command, int timeoutSeconds = 300)
{
    ChildRun run = RunChild("/bin/sh", {"-c", "LC_ALL=C.UTF-8; export LC_ALL; " + command + " 2>&1"},
                            timeoutSeconds);
    return Shell{run.exited, run.output};
}

bool Have(const char* tool)
{
    return Sh(std::string("command -v ") + tool + " >/dev/null").ok;
}

std::string Quoted(const std::string& s)
{
    return "'" + s + "'";
}

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
            if (!Have(tool)) {
                s_missing = std::string(tool) + " is not installed (scripts/install-deps installs it)";
                return;
            }
        char dir[] = "/tmp/pixmoor-package-XXXXXX";
        ASSERT_NE(mkdtemp(dir), nullptr);
        s_dir = dir;
        Shell built = Sh(std::string("cd ") + Quoted(PIXMOOR_BUILD_DIR) + " && " + PIXMOOR_CPACK +
                          " -G DEB -B " + Quoted(s_dir));
        ASSERT_TRUE(built.ok) << built.output;
        Shell found = Sh("ls " + Quoted(s_dir) + "/pixmoor_" PIXMOOR_VERSION "_*.deb");
        ASSERT_TRUE(found.ok) << built.output;
        s_deb = Lines(found.output).front();
        Shell unpacked = Sh("dpkg-deb -x " + Quoted(s_deb) + " " + Quoted(s_dir + "/root"));
        ASSERT_TRUE(unpacked.ok) << unpacked.output;
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
        ASSERT_FALSE(s_dir.empty());
    }
    static std::string Unpacked(const std::string& path) { return s_dir + "/root" + path; }
    static std::string Field(const char* name)
    {
        Shell field = Sh("dpkg-deb -f " + Quoted(s_deb) + " " + name);
        EXPECT_TRUE(field.ok) << field.output;
        return field.output.substr(0, field.output.find_last_not_of('\n') + 1);
    }
    static void ExpectTool(const char* tool)
    {
        ASSERT_TRUE(Have(tool)) << tool << " is not installed (scripts/install-deps installs it)";
    }

    static std::string s_missing;
    static std::string s_dir;
    static std::string s_deb;
};

std::string PackageTest::s_missing;
std::string PackageTest::s_dir;
std::string PackageTest::s_deb;

// Catches an install rule that is missing, lands outside /usr, installs a
// build-time tool or a test, or leaves the program writable by others.
TEST_F(PackageTest, HoldsTheProgramItsDesktopFilesAndDocumentsAndNothingElse)
{
    const std::set<std::string> expected = {
        "-rwxr-xr-x ./usr/bin/pixmoor",
        "-rw-r--r-- ./usr/share/applications/com.QuillonWorks.pixmoor.desktop",
        "-rw-r--r-- ./usr/share/dbus-1/services/com.QuillonWorks.pixmoor.service",
        "-rw-r--r-- ./usr/share/doc/pixmoor/changelog.gz",
        "-rw-r--r-- ./usr/share/doc/pixmoor/copyright",
        "-rw-r--r-- ./usr/share/icons/hicolor/16x16/apps/pixmoor.png",
        "-rw-r--r-- ./usr/share/icons/hicolor/32x32/apps/pixmoor.png",
        "-rw-r--r-- ./usr/share/icons/hicolor/48x48/apps/pixmoor.png",
        "-rw-r--r-- ./usr/share/icons/hicolor/64x64/apps/pixmoor.png",
        "-rw-r--r-- ./usr/share/icons/hicolor/128x128/apps/pixmoor.png",
        "-rw-r--r-- ./usr/share/icons/hicolor/256x256/apps/pixmoor.png",
        "-rw-r--r-- ./usr/share/man/man1/pixmoor.1.gz",
        "-rw-r--r-- ./usr/share/metainfo/com.quillonworks.pixmoor.metainfo.xml",
    };
    Shell listing = Sh("dpkg-deb -c " + Quoted(s_deb));
    ASSERT_TRUE(listing.ok) << listing.output;
    std::set<std::string> files;
    for (const std::string& line : Lines(listing.output)) {
        // "-rw-r--r-- root/root  270 2026-12-09 10:20 ./usr/share/..."
        std::istringstream fields(line);
        std::string mode, owner, size, date, time, path;
        fields >> mode >> owner >> size >> date >> time >> path;
        EXPECT_EQ(owner, "root/root") << line;
        if (mode[0] == 'd') {
            EXPECT_EQ(mode, "drwxr-xr-x") << line;
        } else {
            files.insert(mode + " " + path);
        }
    }
    EXPECT_EQ(files, expected);
}

// Catches dependencies written by hand or missing: every library the
// program links (NEEDED) must be owned by a package in Depends, with the
// version dpkg-shlibdeps computes; JPEG and Qt by name.
TEST_F(PackageTest, DependsOnThePackagesOfTheLibrariesTheProgramLinks)
{
    const std::string depends = Field("Depends");
    for (const char* package : {"libjpeg62-turbo", "libqt6core6", "libqt6gui6", "libqt6widgets6",
                                "libqt6printsupport6", "libqt6dbus6", "libc6", "libstdc++6"})
        EXPECT_NE(depends.find(std::string(package) + " (>= "), std::string::npos)
            << package << " with a version in: " << depends;

    Shell needed = Sh("readelf -d " + Quoted(Unpacked("/usr/bin/pixmoor")) +
                      " | sed -n 's/.*Shared library: \\[\\(.*\\)\\]/\\1/p'");
    ASSERT_TRUE(needed.ok) << needed.output;
    const std::vector<std::string> sonames = Lines(needed.output);
    ASSERT_GE(sonames.size(), 6u) << needed.output;
    std::string patterns;
    for (const std::string& soname : sonames)
        patterns += " " + Quoted("*/" + soname);
    // "libjpeg62-turbo:amd64: /usr/lib/x86_64-linux-gnu/libjpeg.so.62"
    Shell owners = Sh("dpkg -S" + patterns);
    std::istringstream list(", " + depends);
    std::set<std::string> dependedOn;
    for (std::string item; std::getline(list, item, ',');) {
        std::istringstream words(item);
        std::string name;
        words >> name;
        dependedOn.insert(name);
    }
    for (const std::string& soname : sonames) {
        bool found = false;
        for (const std::string& line : Lines(owners.output)) {
            const size_t at = line.size() - std::min(line.size(), soname.size() + 1);
            const bool owns = line.compare(at, std::string::npos, "/" + soname) == 0;
            found = found || (owns && dependedOn.count(line.substr(0, line.find_first_of(":,"))));
        }
        EXPECT_TRUE(found) << soname << " belongs to no package of Depends: " << depends << "\n"
                           << owners.output;
    }
}

// Catches the service file naming the staging folder or /usr/local instead
// of the installed program, and a desktop entry changed on the way.
TEST_F(PackageTest, DesktopEntryAndServiceFileStartTheInstalledProgram)
{
    EXPECT_EQ(ReadText(Unpacked("/usr/share/dbus-1/services/com.QuillonWorks.pixmoor.service")),
              "[D-BUS Service]\nName=com.QuillonWorks.pixmoor\nExec='/usr/bin/pixmoor' /dde\n");
    EXPECT_EQ(ReadText(Unpacked(kDesktopEntry)),
              ReadText(PIXMOOR_SOURCE_DIR "/app/res/com.QuillonWorks.pixmoor.desktop"));
}

// Catches metadata a software centre or a desktop would refuse: the whole
// unpacked tree through AppStream's validator (the metainfo file, its name,
// its launchable desktop entry) and the entry through desktop-file-validate.
TEST_F(PackageTest, AppStreamAndDesktopValidatorsAcceptTheMetadata)
{
    ExpectTool("appstreamcli");
    ExpectTool("desktop-file-validate");
    const std::string metainfo = Unpacked(kMetainfo);
    for (const std::string& command :
         {"appstreamcli validate --no-net " + Quoted(metainfo),
          "appstreamcli validate-tree --no-net " + Quoted(s_dir + "/root"),
          "desktop-file-validate " + Quoted(Unpacked(kDesktopEntry))}) {
        Shell check = Sh(command);
        EXPECT_TRUE(check.ok) << command << "\n" << check.output;
        EXPECT_EQ(check.output.find("W:"), std::string::npos) << command << "\n" << check.output;
    }
    const std::string text = ReadText(metainfo);
    for (const char* part : {"<launchable type=\"desktop-id\">com.QuillonWorks.pixmoor.desktop</launchable>",
                             "<mediatype>image/jpeg</mediatype>", "<content_rating type=\"oars-1.1\"/>",
                             "<summary>", "<description>", "<releases>"})
        EXPECT_NE(text.find(part), std::string::npos) << part;
}

// Catches a manual page that groff warns about or that lacks a section the
// user looks for.
TEST_F(PackageTest, ManualPageRendersWithEverySection)
{
    ExpectTool("man");
    const std::string page = Quoted(Unpacked("/usr/share/man/man1/pixmoor.1.gz"));
    Shell shown = Sh("MANWIDTH=80 man -l " + page);
    ASSERT_TRUE(shown.ok) << shown.output;
    for (const char* part : {"NAME", "SYNOPSIS", "DESCRIPTION", "OPTIONS", "KEYS", "ENVIRONMENT", "FILES",
                             "--open file...", "--print file...", "/dde", "Ctrl+O", "PIXMOOR_DRIVES",
                             "XDG_CACHE_HOME", "DBUS_SESSION_BUS_ADDRESS",
                             "$XDG_CACHE_HOME/pixmoor/ThumbNails.bin"})
        EXPECT_NE(shown.output.find(part), std::string::npos) << part << " is not on the page";
    Shell warnings = Sh("MANWIDTH=80 man --warnings -l " + page + " 2>&1 >/dev/null");
    EXPECT_EQ(warnings.output, "");
}

// Catches a release made in one place and not the others: the package, the
// program, its AppStream release and its manual page name one version.
TEST_F(PackageTest, PackageProgramMetadataAndManualPageNameOneVersion)
{
    EXPECT_EQ(Field("Version"), PIXMOOR_VERSION);
    // The unpacked program runs with the system's libraries.
    Shell version = Sh(Quoted(Unpacked("/usr/bin/pixmoor")) + " --version");
    EXPECT_TRUE(version.ok) << version.output;
    EXPECT_EQ(version.output, "pixmoor Version " PIXMOOR_VERSION "\n");
    const std::string metainfo = ReadText(Unpacked(kMetainfo));
    EXPECT_NE(metainfo.find("<release version=\"" PIXMOOR_VERSION "\""), std::string::npos);
    Shell manual = Sh("zcat " + Quoted(Unpacked("/usr/share/man/man1/pixmoor.1.gz")) + " | head -n 1");
    EXPECT_NE(manual.output.find("\"pixmoor " PIXMOOR_VERSION "\""), std::string::npos) << manual.output;
}

// Catches what Debian's policy checker objects to: no error and no warning
// (its informational notes are printed for the record).
TEST_F(PackageTest, LintianFindsNoErrorOrWarning)
{
    ExpectTool("lintian");
    Shell lint = Sh("lintian --display-info " + Quoted(s_deb));
    printf("%s", lint.output.c_str());
    EXPECT_TRUE(lint.ok) << lint.output;
    for (const std::string& line : Lines(lint.output)) {
        EXPECT_NE(line.rfind("E:", 0), 0u) << line;
        EXPECT_NE(line.rfind("W:", 0), 0u) << line;
    }
}

}  // namespace
