#pragma once
// Sharing one file between processes, over POSIX: advisory whole-file locks
// (flock) on an open stream, a check that a path still names the file a
// stream has open, and putting a newly written file in place only when no
// file is there yet. Paths go through the drive table.
//
// flock locks belong to the open file description, so two streams opened
// separately (in one process or in two) exclude each other.

#include <cstdio>

// Takes a shared or exclusive lock on `file`, trying for up to `waitMs`
// milliseconds. 0 when held, -1 when it could not be had in time.
int PlatformLockFile(FILE* file, bool exclusive, int waitMs);
void PlatformUnlockFile(FILE* file);

// True when `path` names the very file that `file` has open (same device and
// inode); false when the path is gone or now names another file.
bool PlatformIsSameFile(FILE* file, const char* path);

// Gives the finished file `tempPath` the name `path` unless something is
// already there, in one step, so no other process ever sees it half written.
// The temporary name is removed in every case. 0 when placed, 1 when `path`
// already existed, -1 on any other failure.
int PlatformPlaceNewFile(const char* tempPath, const char* path);
