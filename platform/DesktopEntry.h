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
};

// "image/jpeg" for ".jpg" / ".jpeg" (any case); "" for anything else.
std::string MimeTypeOfExtension(const char* ext);

// The text of the entry; Exec= runs the executable with the file (%f).
std::string DesktopEntryText(const DesktopEntry& entry);

// Writes the entry unless an identical one is there, through a temporary
// file renamed into place. 0 on success, -1 on failure.
int WriteDesktopEntry(const DesktopEntry& entry);

// The applications folder used, "" when neither XDG_DATA_HOME nor HOME is set.
std::string DesktopEntryDirectory();
