#include "platform/DesktopEntry.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

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

std::string DesktopEntryText(const DesktopEntry& entry)
{
    std::string text = "[Desktop Entry]\n";
    text += "Type=Application\n";
    text += "Name=" + EscapeValue(entry.name) + "\n";
    if (!entry.comment.empty())
        text += "Comment=" + EscapeValue(entry.comment) + " viewer\n";
    text += "Exec=" + EscapeValue(QuoteExecArgument(entry.executable)) + " %f\n";
    text += "Icon=" + EscapeValue(entry.icon) + "\n";
    if (!entry.mimeType.empty())
        text += "MimeType=" + entry.mimeType + ";\n";
    text += "Terminal=false\n";
    text += "Categories=Graphics;Viewer;\n";
    return text;
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
    for (size_t i = 1; i <= dir.size(); ++i) {
        if (i == dir.size() || dir[i] == '/') {
            const std::string part = dir.substr(0, i);
            if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST)
                return false;
        }
    }
    return true;
}

int WriteDesktopEntry(const DesktopEntry& entry)
{
    if (entry.id.empty() || entry.id.find('/') != std::string::npos || entry.executable.empty())
        return -1;
    const std::string dir = DesktopEntryDirectory();
    if (dir.empty() || !MakeDirs(dir))
        return -1;
    const std::string path = dir + "/" + entry.id + ".desktop";
    const std::string text = DesktopEntryText(entry);

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
