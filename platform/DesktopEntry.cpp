#include "platform/DesktopEntry.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>
#include <unistd.h>

#include "platform/FileSystem.h"

std::string MimeTypeOfExtension(const char* ext)
{
    if (ext && (strcasecmp(ext, ".jpg") == 0 || strcasecmp(ext, ".jpeg") == 0))
        return "image/jpeg";
    return std::string();
}

// An Exec= argument: quoted when it holds a reserved character, with the
// characters that are special inside quotes escaped.
static std::string QuoteExecArgument(const std::string& arg)
{
    static const char kReserved[] = " \t\n\"'\\><~|&;$*?#()`";
    std::string out;
    const bool quote = arg.find_first_of(kReserved) != std::string::npos;
    if (quote)
        out += '"';
    for (char c : arg) {
        if (quote && (c == '"' || c == '`' || c == '$' || c == '\\'))
            out += '\\';
        if (c == '%')
            out += '%';  // a literal percent sign is written twice
        out += c;
    }
    if (quote)
        out += '"';
    return out;
}

// Value escaping of the desktop-entry format itself.
static std::string EscapeValue(const std::string& value)
{
    std::string out;
    for (char c : value) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
    return out;
}

static std::string ExecLine(const DesktopEntry& entry, const char* option)
{
    return "Exec=" + EscapeValue(QuoteExecArgument(entry.executable)) + " " + option + " %F\n";
}

// The main group without the activation key: what the entry and the
// retired entry of earlier versions share.
static std::string MainGroupText(const DesktopEntry& entry)
{
    std::string text = "[Desktop Entry]\n";
    text += "Type=Application\n";
    text += "Name=" + EscapeValue(entry.name) + "\n";
    if (!entry.comment.empty())
        text += "Comment=" + EscapeValue(entry.comment) + " viewer\n";
    text += ExecLine(entry, "--open");
    text += "Icon=" + EscapeValue(entry.icon) + "\n";
    if (!entry.mimeType.empty())
        text += "MimeType=" + entry.mimeType + ";\n";
    text += "Terminal=false\n";
    text += "Categories=Graphics;Viewer;\n";
    return text;
}

static std::string PrintActionText(const DesktopEntry& entry)
{
    return "\n[Desktop Action Print]\nName=Print\n" + ExecLine(entry, "--print");
}

std::string DesktopEntryText(const DesktopEntry& entry)
{
    std::string text = MainGroupText(entry);
    if (entry.dbusActivatable)
        text += "DBusActivatable=true\n";
    text += "Actions=Print;\n";
    return text + PrintActionText(entry);
}

std::string DesktopServiceText(const DesktopEntry& entry)
{
    // The bus splits Exec= as a shell would; single quotes keep any path.
    std::string quoted = "'";
    for (char c : entry.executable)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    quoted += "'";
    return "[D-BUS Service]\nName=" + entry.id + "\nExec=" + quoted + " /dde\n";
}

std::string DesktopEntryDirectory()
{
    const char* data = getenv("XDG_DATA_HOME");
    if (data && *data == '/')
        return std::string(data) + "/applications";
    const char* home = getenv("HOME");
    if (home && *home)
        return std::string(home) + "/.local/share/applications";
    return std::string();
}

// Creates dir and its missing parents.
static bool MakeDirs(const std::string& dir)
{
    return PlatformMakeDirectories(dir, 0755) == 0;
}

std::string DesktopServiceDirectory()
{
    const std::string applications = DesktopEntryDirectory();
    if (applications.empty())
        return std::string();
    return applications.substr(0, applications.size() - strlen("applications")) + "dbus-1/services";
}

// Writes `text` to `path` unless it holds exactly that, through a temporary
// file renamed into place. 0 on success, -1 on failure.
static int WriteTextFile(const std::string& path, const std::string& text)
{
    if (FILE* old = fopen(path.c_str(), "rb")) {
        std::string current(text.size() + 1, '\0');
        const size_t n = fread(&current[0], 1, current.size(), old);
        fclose(old);
        if (n == text.size() && current.compare(0, n, text) == 0)
            return 0;
    }
    const std::string temp = path + ".tmp." + std::to_string((long)getpid());
    FILE* out = fopen(temp.c_str(), "wb");
    if (!out)
        return -1;
    const bool written = fwrite(text.data(), 1, text.size(), out) == text.size();
    const bool closed = fclose(out) == 0;
    if (!written || !closed || rename(temp.c_str(), path.c_str()) != 0) {
        remove(temp.c_str());
        return -1;
    }
    return 0;
}

// An entry of an earlier version of this program: its own first lines, icon
// and categories.
static bool IsOurEarlierEntry(const std::string& path, const DesktopEntry& entry)
{
    FILE* file = fopen(path.c_str(), "rb");
    if (!file)
        return false;
    char buffer[4096];
    const size_t n = fread(buffer, 1, sizeof buffer - 1, file);
    fclose(file);
    const std::string text(buffer, n);
    const std::string head = "[Desktop Entry]\nType=Application\nName=" + EscapeValue(entry.name) + "\n";
    return text.compare(0, head.size(), head) == 0 &&
           text.find("\nIcon=" + EscapeValue(entry.icon) + "\n") != std::string::npos &&
           text.find("\nCategories=Graphics;Viewer;\n") != std::string::npos &&
           text.find("\nNoDisplay=") == std::string::npos;
}

int WriteDesktopEntry(const DesktopEntry& entry, const std::string& legacyId)
{
    if (entry.id.empty() || entry.id.find('/') != std::string::npos || entry.executable.empty())
        return -1;
    const std::string dir = DesktopEntryDirectory();
    if (dir.empty() || !MakeDirs(dir))
        return -1;
    // The service file first: an entry that names a bus name must find it.
    // Without one the entry is written for Exec= alone.
    DesktopEntry written = entry;
    if (entry.dbusActivatable) {
        const std::string services = DesktopServiceDirectory();
        written.dbusActivatable = !services.empty() && MakeDirs(services) &&
                                  WriteTextFile(services + "/" + entry.id + ".service",
                                                DesktopServiceText(entry)) == 0;
    }
    const int result = WriteTextFile(dir + "/" + entry.id + ".desktop", DesktopEntryText(written));
    if (!legacyId.empty() && legacyId != entry.id && legacyId.find('/') == std::string::npos) {
        const std::string legacy = dir + "/" + legacyId + ".desktop";
        if (IsOurEarlierEntry(legacy, entry))
            WriteTextFile(legacy, MainGroupText(entry) + "NoDisplay=true\n");
    }
    return result;
}
