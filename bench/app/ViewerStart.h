#pragma once
// The viewer started as a program of its own on the offscreen platform,
// timed from outside by the lines its paint probe writes
// (app/FirstPaintProbe.h): "view-paint" for its first paint, "first-paint"
// for its first paint with a picture.

// Milliseconds from the fork to the probe's line `mark` of the viewer
// started with `photo` on its command line (none when null), with its
// settings and data under `home` and no session bus; -1 when it never wrote
// that line. The viewer is killed once the line has come.
double MsToViewerMark(const char* program, const char* photo, const char* home, const char* mark);

// Milliseconds that CJpegConverter::LoadFile takes for `photo` in a process
// that does nothing else first (this program run again with --decode), so
// its memory is as fresh as the viewer's at start-up; -1 on failure.
double FreshProcessDecodeMs(const char* photo);

// The child's side of FreshProcessDecodeMs: decodes `photo` and prints the
// milliseconds. Returns the process's exit status.
int RunDecodeChild(const char* photo);
