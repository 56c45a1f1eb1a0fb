// The window-free parts of the framework: command routing through message
// maps with update states, the command line, the recent-file list and the
// desktop entry's text.
#include <gtest/gtest.h>

#include <string>

#include "platform/CmdTarget.h"
#include "platform/CmdUI.h"
#include "platform/CommandLineInfo.h"
#include "platform/DesktopEntry.h"
#include "platform/ShellRequest.h"
#include "platform/RecentFileList.h"

namespace {

class CTarget : public CCmdTarget {
public:
    void OnServed() { ++m_nServed; }
    void OnRange(UINT nID) { m_nLast = nID; }
    void OnUpdateChecked(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_bChecked ? 1 : 0); }
    void OnUpdateDisabled(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    int m_nServed = 0;
    UINT m_nLast = 0;
    bool m_bChecked = true;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTarget, CCmdTarget)
    ON_COMMAND(100, OnServed)
    ON_COMMAND_RANGE(200, 203, OnRange)
    ON_UPDATE_COMMAND_UI(100, OnUpdateChecked)
    ON_COMMAND(300, OnServed)
    ON_UPDATE_COMMAND_UI(300, OnUpdateDisabled)
END_MESSAGE_MAP()

class CDerivedTarget : public CTarget {
public:
    void OnOwn() { ++m_nOwn; }
    int m_nOwn = 0;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedTarget, CTarget)
    ON_COMMAND(400, OnOwn)
END_MESSAGE_MAP()

TEST(CmdRoutingTest, HandlersRunAndBaseMapsAreSearched)
{
    CDerivedTarget target;
    EXPECT_TRUE(target.OnCmdMsg(400, CN_COMMAND, nullptr, nullptr));
    EXPECT_TRUE(target.OnCmdMsg(100, CN_COMMAND, nullptr, nullptr));
    EXPECT_TRUE(target.OnCmdMsg(202, CN_COMMAND, nullptr, nullptr));
    EXPECT_FALSE(target.OnCmdMsg(204, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(target.m_nOwn, 1);
    EXPECT_EQ(target.m_nServed, 1);
    EXPECT_EQ(target.m_nLast, 202u);
}

TEST(CmdRoutingTest, AskingForAHandlerRunsNothing)
{
    CTarget target;
    AFX_CMDHANDLERINFO info = { nullptr };
    EXPECT_TRUE(target.OnCmdMsg(100, CN_COMMAND, nullptr, &info));
    EXPECT_EQ(info.pTarget, &target);
    EXPECT_EQ(target.m_nServed, 0);
}

struct UpdateCase {
    UINT id;
    BOOL enabled;
    int check;
    bool checkSet;
    const char* fault;
};

// A command without handler must come out disabled; an update handler's
// answer must win over the mere presence of a command handler.
const UpdateCase kUpdateCases[] = {
    { 100, TRUE, 1, true, "handled with check mark" },
    { 201, TRUE, 0, false, "range handler enables" },
    { 300, FALSE, 0, false, "update handler disables despite a command handler" },
    { 999, FALSE, 0, false, "no handler on the route: disabled" },
};

TEST(CmdRoutingTest, UpdateStates)
{
    CTarget target;
    for (const UpdateCase& c : kUpdateCases) {
        CCmdUI state(c.id);
        state.DoUpdate(&target, TRUE);
        EXPECT_EQ(state.m_bEnabled, c.enabled) << c.fault;
        EXPECT_EQ(state.m_bCheckChanged, c.checkSet) << c.fault;
        if (c.checkSet) {
            EXPECT_EQ(state.m_nCheck, c.check) << c.fault;
        }
    }
}

struct CommandLineCase {
    std::vector<std::string> args;
    std::string file;
    int command;
};

// An absolute path starts with '/', like a switch: it must stay a file.
TEST(CommandLineTest, SwitchesAndFileNames)
{
    const CommandLineCase cases[] = {
        { {}, "", CCommandLineInfo::FileNew },
        { { "/home/me/a.jpg" }, "/home/me/a.jpg", CCommandLineInfo::FileOpen },
        { { "/p", "/home/me/a.jpg" }, "/home/me/a.jpg", CCommandLineInfo::FilePrint },
        { { "-P", "a.jpg" }, "a.jpg", CCommandLineInfo::FilePrint },
        { { "/pt", "a.jpg", "printer", "driver", "port" }, "a.jpg", CCommandLineInfo::FilePrintTo },
        { { "/dde" }, "", CCommandLineInfo::FileDDE },
        { { "C:/Photos/a.jpg", "b.jpg" }, "C:/Photos/a.jpg", CCommandLineInfo::FileOpen },
        { { "/pictures" }, "/pictures", CCommandLineInfo::FileOpen },
    };
    for (const CommandLineCase& c : cases) {
        CCommandLineInfo info;
        for (size_t i = 0; i < c.args.size(); ++i) {
            const char* arg = c.args[i].c_str();
            const bool flag = CCommandLineInfo::IsSwitch(arg);
            info.ParseParam(flag ? arg + 1 : arg, flag, i + 1 == c.args.size());
        }
        EXPECT_EQ(info.m_strFileName, c.file);
        EXPECT_EQ((int)info.m_nShellCommand, c.command) << c.file;
    }
}

TEST(CommandLineTest, PrintToTakesPrinterDriverAndPort)
{
    CCommandLineInfo info;
    const char* args[] = { "/pt", "a.jpg", "printer", "driver", "port" };
    for (const char* arg : args) {
        const bool flag = CCommandLineInfo::IsSwitch(arg);
        info.ParseParam(flag ? arg + 1 : arg, flag, FALSE);
    }
    EXPECT_EQ(info.m_strPrinterName, "printer");
    EXPECT_EQ(info.m_strDriverName, "driver");
    EXPECT_EQ(info.m_strPortName, "port");
}

TEST(RecentFileListTest, NewestFirstNoDuplicatesCappedAtSize)
{
    CRecentFileList list(0, "Recent File List", "File%d", 4);
    for (const char* name : { "a", "b", "c", "d", "e" })
        list.Add(name);
    EXPECT_EQ(list.GetNames(), std::vector<std::string>({ "e", "d", "c", "b" }));
    list.Add("c");
    EXPECT_EQ(list.GetNames(), std::vector<std::string>({ "c", "e", "d", "b" }));
    list.Add("");
    list.Remove(1);
    EXPECT_EQ(list.GetNames(), std::vector<std::string>({ "c", "d", "b" }));
    list.Remove(7);
    EXPECT_EQ(list.GetNames().size(), 3u);
}

TEST(DesktopEntryTest, TextOffersJpegAndQuotesTheProgramPath)
{
    DesktopEntry entry;
    entry.id = "pixmoor";
    entry.name = "Pixmoor";
    entry.comment = "JPEG Document";
    entry.icon = "pixmoor";
    entry.mimeType = MimeTypeOfExtension(".jpg");
    entry.executable = "/opt/my apps/pix$moor";
    const std::string text = DesktopEntryText(entry);
    EXPECT_NE(text.find("\nMimeType=image/jpeg;\n"), std::string::npos);
    EXPECT_NE(text.find("\nIcon=pixmoor\n"), std::string::npos);
    // Quoted for the space, '$' escaped inside quotes, and the backslash of
    // that escape written twice by the file format.
    EXPECT_NE(text.find("\nExec=\"/opt/my apps/pix\\\\$moor\" --open %F\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("DBusActivatable"), std::string::npos);
    // The service file quotes for the bus's own splitting, which knows no
    // desktop-entry escapes.
    entry.id = "com.QuillonWorks.pixmoor";
    entry.executable = "/opt/it's/pixmoor";
    EXPECT_EQ(DesktopServiceText(entry),
              "[D-BUS Service]\nName=com.QuillonWorks.pixmoor\nExec='/opt/it'\\''s/pixmoor' /dde\n");
    entry.executable = "/usr/bin/pixmoor";
    entry.dbusActivatable = true;
    EXPECT_NE(DesktopEntryText(entry).find("\nExec=/usr/bin/pixmoor --open %F\n"), std::string::npos);
    EXPECT_NE(DesktopEntryText(entry).find("\nDBusActivatable=true\n"), std::string::npos);
    EXPECT_EQ(MimeTypeOfExtension(".JPG"), "image/jpeg");
    EXPECT_EQ(MimeTypeOfExtension(".png"), "");
}

// Catches a request option that stays in the command line (its files would
// become the start-up file), names the bus with characters it refuses, or
// opens a URI as another path.
TEST(ShellRequestTest, OptionsNamesAndUris)
{
    const struct {
        std::vector<std::string> args;
        ShellRequest::Kind kind;
        std::vector<std::string> files;
        int argcLeft;
    } lines[] = {
        {{"pixmoor", "a.jpg"}, ShellRequest::kNone, {}, 2},
        {{"pixmoor", "--open", "a.jpg", "/b c.jpg"}, ShellRequest::kOpen, {"a.jpg", "/b c.jpg"}, 1},
        {{"pixmoor", "/p", "--print", "file:///x.jpg"}, ShellRequest::kPrint, {"file:///x.jpg"}, 2},
        {{"pixmoor", "--open"}, ShellRequest::kActivate, {}, 1},
    };
    for (const auto& line : lines) {
        std::vector<std::string> copy = line.args;
        std::vector<char*> argv;
        for (std::string& a : copy)
            argv.push_back(&a[0]);
        argv.push_back(nullptr);
        int argc = (int)copy.size();
        const ShellRequest request = TakeShellRequest(&argc, argv.data());
        EXPECT_EQ(request.kind, line.kind) << line.args.size();
        EXPECT_EQ(request.files, line.files);
        EXPECT_EQ(argc, line.argcLeft);
        EXPECT_EQ(argv[(size_t)argc], nullptr);
    }
    EXPECT_EQ(ShellBusName("Quillon Works", "pixmoor"), "com.QuillonWorks.pixmoor");
    EXPECT_EQ(ShellBusName("4 Ever & Co.", "my-app"), "com._4EverCo.my-app");
    EXPECT_EQ(ShellObjectPath("com._4EverCo.my-app"), "/com/_4EverCo/my_app");
    const std::pair<const char*, const char*> uris[] = {
        {"file:///home/me/a%20b.jpg", "/home/me/a b.jpg"},
        {"FILE://localhost/x%2Fy.jpg", "/x/y.jpg"},
        {"file:///bad%zz.jpg", "/bad%zz.jpg"},
        {"file:///nul%00.jpg", ""},
        {"file://otherhost/a.jpg", ""},
        {"smb://server/a.jpg", ""},
        {"C:/Photos/a.jpg", "C:/Photos/a.jpg"},
        {"relative/a.jpg", "relative/a.jpg"},
    };
    for (const auto& uri : uris)
        EXPECT_EQ(ShellRequestPath(uri.first), uri.second) << uri.first;
}

}  // namespace
