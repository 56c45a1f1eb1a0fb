#pragma once
// Files that only their owner may read: the thumbnail cache holds small
// copies of every photo browsed. New files are made 0600 (less what the
// umask takes), and a file found readable by others is narrowed to 0600.
// Paths go through the drive table.

#include <cstdio>

// Creates `path` for writing ("wb"), mode 0600. Fails when anything is there
// already, so it never writes through a name that someone else put there.
FILE* PlatformCreatePrivateFile(const char* path);

// Takes group and other permissions from an open file (0600). 0 when the
// file is private, -1 when it could not be made so (another user's file).
int PlatformMakeFilePrivate(FILE* file);
