#pragma once
// Where the thumbnail cache file lives. Its drive path "C:/ThumbNails.bin"
// names $XDG_CACHE_HOME/pixmoor/ThumbNails.bin (default ~/.cache/pixmoor),
// where the desktop keeps per-user caches, in a directory that only the user
// may enter; NativePath (DriveTable.h) resolves it so. Earlier versions kept
// the file in drive C: itself (by default the home directory); such a file
// is moved into the cache directory on first use.

#include <string>

// True for the cache file's drive path: "C:/ThumbNails.bin" or
// "C:\ThumbNails.bin", the drive letter in either case.
bool IsUserCacheFilePath(const char* path);

// "$XDG_CACHE_HOME/pixmoor", or "$HOME/.cache/pixmoor" when XDG_CACHE_HOME
// is unset or relative (a relative one is ignored, as the desktop's base
// directory convention asks). Read from the environment at every call.
std::string UserCacheDirectory();

// The native path of the cache file in UserCacheDirectory().
std::string UserCacheFileNative();

// Makes the cache directory where it is missing (0700, and so any missing
// parent), then, while it holds no cache file yet, moves the file that
// earlier versions left at drive C:'s ThumbNails.bin into it. When both
// exist the new one wins and the old one is left alone. Of processes moving
// at once exactly one moves the file; the others find it in place.
// 0 when the directory is there; -1 when it cannot be made, or the old file
// cannot be moved yet (the cache then stays closed and the next use tries
// again). Never throws.
int PrepareUserCacheFile();
