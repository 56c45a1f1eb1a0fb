#include "platform/ShellRequest.h"

#include <cctype>
#include <cstring>
#include <strings.h>

ShellRequest TakeShellRequest(int* argc, char** argv)
{
    ShellRequest request;
    for (int i = 1; i < *argc; ++i) {
        const bool open = strcmp(argv[i], "--open") == 0;
        if (!open && strcmp(argv[i], "--print") != 0)
            continue;
        for (int k = i + 1; k < *argc; ++k)
            request.files.push_back(argv[k]);
        request.kind = open ? ShellRequest::kOpen : ShellRequest::kPrint;
        if (open && request.files.empty())
            request.kind = ShellRequest::kActivate;
        *argc = i;
        argv[i] = nullptr;
        break;
    }
    return request;
}

// Bus name elements hold only [A-Za-z0-9_-] and do not start with a digit.
static std::string BusElement(const std::string& text)
{
    std::string out;
    for (unsigned char c : text)
        if (isalnum(c) || c == '_' || c == '-')
            out += (char)c;
    if (out.empty() || isdigit((unsigned char)out[0]))
        out.insert(0, "_");
    return out;
}

std::string ShellBusName(const std::string& company, const std::string& application)
{
    return "com." + BusElement(company) + "." + BusElement(application);
}

std::string ShellObjectPath(const std::string& busName)
{
    std::string path = "/" + busName;
    for (char& c : path) {
        if (c == '.')
            c = '/';
        else if (c == '-')
            c = '_';  // '-' may not appear in object paths
    }
    return path;
}

static int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = (char)tolower((unsigned char)c);
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

std::string ShellRequestPath(const std::string& file)
{
    const char kScheme[] = "file://";
    if (strncasecmp(file.c_str(), kScheme, sizeof kScheme - 1) != 0)
        return file.find("://") == std::string::npos ? file : std::string();
    // file:///path or file://localhost/path
    std::string rest = file.substr(sizeof kScheme - 1);
    if (strncasecmp(rest.c_str(), "localhost/", 10) == 0)
        rest.erase(0, 9);
    if (rest.empty() || rest[0] != '/')
        return std::string();
    std::string path;
    for (size_t i = 0; i < rest.size(); ++i) {
        int hi, lo;
        if (rest[i] == '%' && i + 2 < rest.size() && (hi = HexValue(rest[i + 1])) >= 0 &&
            (lo = HexValue(rest[i + 2])) >= 0) {
            path += (char)(hi * 16 + lo);
            i += 2;
        } else {
            path += rest[i];
        }
    }
    return path.find('\0') == std::string::npos ? path : std::string();
}

bool IsShellPrintAction(const std::string& action)
{
    return strcasecmp(action.c_str(), "print") == 0;
}
