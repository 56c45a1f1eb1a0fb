#pragma once
// The browser's directory paths: buffers of BROWSE_PATH_SIZE bytes holding
// at most BROWSE_PATH_SIZE - 1 characters. A directory path ends with '/' or
// '\\'; the empty path is the drive view; a path of three characters (C:/)
// is the root of a drive. Nothing here ever writes past a buffer: what
// would not fit is refused and the buffer is left as it was.

#include <cstddef>

enum { BROWSE_PATH_SIZE = 1000 };

namespace BrowsePath {

// True for "C:/"-like paths of exactly three characters.
bool IsDriveRoot(const char* path);

// The way up, in place: a drive root becomes the drive view (""); any other
// path is cut after the separator before its last one (C:/Photos/2001/
// becomes C:/Photos/). Without such a separator the path is unchanged.
void GoUp(char* path);

// Appends name and "/" to the directory path (a buffer of BROWSE_PATH_SIZE).
// -1, path unchanged, when the result would not fit.
int EnterDirectory(char* path, const char* name);

// Writes directory followed by name into out (BROWSE_PATH_SIZE bytes).
// -1, out empty, when the result would not fit.
int Join(char* out, const char* directory, const char* name);

// Copies path into out (BROWSE_PATH_SIZE bytes); a null or too long path
// gives the empty path (the drive view) and -1.
int Copy(char* out, const char* path);

}  // namespace BrowsePath
