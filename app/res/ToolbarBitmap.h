#pragma once
// The toolbar bitmap of IDR_MAINFRAME as XPM data.

extern const char* const g_toolbarXpm[];
