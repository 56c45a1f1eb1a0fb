#pragma once
// Maps drive-letter paths ("C:/Photos/a.jpg", "C:\\x") onto native
// directories. The defaults are C: = the user's home directory and Z: = "/".
// Paths without a drive letter (native paths from the command line or the
// file dialog) pass through unchanged.
//
// The process-wide table is set up from the defaults, then the environment
// variable PIXMOOR_DRIVES ("C=/tmp/home;D=/media/usb"), and the application
// may add the settings section "Drives" on top with SetDrive().

#include <string>

class CDriveTable {
public:
    CDriveTable();

    // Empties the table (no drives at all).
    void Clear();
    // Maps a letter ('A'..'Z', either case) to a native directory. An empty
    // directory removes the drive. Returns 0, or -1 for a bad letter.
    int SetDrive(char letter, const std::string& nativeDir);
    // Native directory of a drive, or "" when the drive is absent.
    std::string GetDrive(char letter) const;
    // Bit mask of the drives present, bit 0 for A.
    unsigned int GetMask() const;

    // Applies "C=/dir;D=/other" (as in PIXMOOR_DRIVES). Entries without a
    // letter and '=' are ignored.
    void Apply(const char* spec);

    // The native path for a drive-letter or native path. Returns "" when
    // the path names a drive that is not in the table.
    std::string ToNative(const char* path) const;

    // The process-wide table.
    static CDriveTable& Instance();

private:
    std::string m_dirs[26];
};

// The native path for `path` through the process-wide table; "" also when
// memory runs out (it never throws). The thumbnail cache's drive path
// "C:/ThumbNails.bin" is the one exception: it names the file in the user's
// cache directory (UserCacheFile.h), not in drive C:.
std::string NativePath(const char* path);

// The user's home directory: $HOME, else the password database's, else "/".
std::string PlatformHomeDirectory();
