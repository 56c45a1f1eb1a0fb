#pragma once
// The desktop entry through which Linux desktops offer a program for a file
// type (the shell registration of this platform). It goes to
// $XDG_DATA_HOME/applications (default ~/.local/share/applications) as
// <id>.desktop. It only lists the MIME type the program opens; it never
// makes the program the default for it, so an association the user chose
// stays as it is.

#include <string>

struct DesktopEntry {
    std::string id;          // file name without .desktop
    std::string name;        // Name=
    std::string comment;     // Comment=
    std::string icon;        // Icon= (an icon-theme name)
    std::string mimeType;    // MimeType= (without the trailing ';')
    std::string executable;  // absolute path, quoted for Exec= as needed
    // DBusActivatable=true: launchers that can send the desktop's requests
    // over the session bus to the bus name `id`, starting the program through
    // its D-Bus service file when none runs. The others run Exec=.
    bool dbusActivatable = false;
};

// "image/jpeg" for ".jpg" / ".jpeg" (any case); "" for anything else.
std::string MimeTypeOfExtension(const char* ext);

// The text of the entry. Exec= runs the executable with "--open" and the
// files (%F), and the action "Print" with "--print" and the files: both
// are requests that a running viewer serves (ShellRequest.h).
std::string DesktopEntryText(const DesktopEntry& entry);

// The D-Bus service file that starts the program for its bus name `id`
// with the switch "/dde", which shows an empty main window until the bus
// delivers the request.
std::string DesktopServiceText(const DesktopEntry& entry);

// Writes the entry unless an identical one is there, through a temporary
// file renamed into place; for an activatable entry the service file too,
// in $XDG_DATA_HOME/dbus-1/services. An entry that earlier versions wrote
// under `legacyId` is rewritten to hand its files to this one and is no
// longer listed (NoDisplay), so a default the user chose for it keeps
// working. 0 on success, -1 on failure.
int WriteDesktopEntry(const DesktopEntry& entry, const std::string& legacyId = std::string());

// The applications folder used, "" when neither XDG_DATA_HOME nor HOME is set.
std::string DesktopEntryDirectory();
// The session bus's per-user service folder, "" likewise.
std::string DesktopServiceDirectory();
