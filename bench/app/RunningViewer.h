#pragma once
// The real application object run in this process on the offscreen
// platform, as a user runs it: an empty window first, then photos opened
// and stepped through. Needs a QApplication.

#include <string>

#include "platform/Win32Types.h"

class CPixmoorApp;

class CRunningViewer {
public:
    CRunningViewer() = default;
    CRunningViewer(const CRunningViewer&) = delete;
    CRunningViewer& operator=(const CRunningViewer&) = delete;
    // Closes the window as the program does.
    ~CRunningViewer();

    // Starts the viewer without a photo and waits for its window; false
    // when it cannot be started.
    bool Start();

    // Milliseconds from opening `path` as File Open does once its dialog is
    // answered (the document road) to the first painted frame with a
    // picture; -1 when none came.
    double OpenMs(const std::string& path);
    // The same for a command of the main window (Next Picture, ...).
    double CommandMs(UINT id);

private:
    // Runs the event loop until a paint has drawn a picture after the
    // `before`th; milliseconds from `start` (seconds, BenchClock), or -1.
    double UntilPictureDrawn(long before, double start);

    CPixmoorApp* m_app = nullptr;
};
