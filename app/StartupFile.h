#pragma once
// The file named on the command line, shown by the view's first paint.

// Empty at start; start-up copies the command line's file name into it and
// the view's first paint takes it and empties it.
extern char g_szStartupFile[2000];

// Copies the name into g_szStartupFile. A name of 2000 characters or more
// does not fit: nothing is copied (a cut name would name another file) and
// -1 is returned; 0 otherwise.
int SetStartupFile(const char* name);
