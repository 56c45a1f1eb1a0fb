#pragma once
// Shared pieces of the browser benchmarks: photos made with the project's
// encoder, a browser window that counts its paint passes, opened at the
// start rectangle, and the event loop run until its passes stop.

#include <string>

#include "browser/Browse.h"

// A width x height photo with gradients and a pattern that depends on the
// seed, at the encoder's default quality; its size in bytes, or -1.
long long WriteBenchPhoto(const std::string& path, int width, int height, int seed);

// A message-box handler that prints the text and answers OK.
int PrintMessage(const char* text, unsigned int type);

class CCountingBrowse : public CBrowse {
public:
    void OnPaint() override
    {
        CBrowse::OnPaint();
        ++m_passes;
    }
    int m_passes = 0;
};

// A shown browser at the start rectangle that lists `path` at its first
// paint; null when the window cannot be created.
CCountingBrowse* OpenBrowser(const char* path);

// Runs the event loop until the paint passes stop: every cell near the view
// has its picture.
void RunUntilFilled(CCountingBrowse* b);

// Listed items holding a picture.
int PicturesListed(const CBrowse& b);
