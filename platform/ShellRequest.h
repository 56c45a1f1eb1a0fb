#pragma once
// The desktop's requests to the viewer: open these files, or open and print
// them. On this platform they travel over the session bus (the desktop
// entry is D-Bus activatable, interface org.freedesktop.Application), and a
// launcher that runs the entry's Exec line instead passes them as
// "--open FILE..." or "--print FILE...", which that process forwards to the
// running viewer (ShellService.h). This file holds the parts without the bus.

#include <string>
#include <vector>

struct ShellRequest {
    enum Kind { kNone, kActivate, kOpen, kPrint } kind = kNone;
    std::vector<std::string> files;  // as given: paths or file:// URIs
};

// Takes "--open [FILE...]" or "--print [FILE...]" out of the arguments,
// from the option to the end, so that the rest is an ordinary command line.
// "--open" without files is a plain activation. kNone when neither is there.
ShellRequest TakeShellRequest(int* argc, char** argv);

// The bus name of an application: "com." + the company without its spaces
// and other characters a bus name cannot hold + "." + the application name,
// e.g. "com.QuillonWorks.pixmoor". The desktop entry is named after it.
std::string ShellBusName(const std::string& company, const std::string& application);

// The object path that org.freedesktop.Application is served on:
// "/com/QuillonWorks/pixmoor" for the name above.
std::string ShellObjectPath(const std::string& busName);

// A request's file as a path: "file://" URIs of this host are decoded,
// anything else (a native or drive path) is returned as it is; "" for a URI
// of another scheme or host.
std::string ShellRequestPath(const std::string& file);

// The name of a desktop action that prints: "Print" (any case).
bool IsShellPrintAction(const std::string& action);
