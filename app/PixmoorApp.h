#pragma once
// CPixmoorApp: the application object. Start-up sets up the settings
// store, the recent-file list and the document template, registers the
// desktop entry, keeps the command line's file for the view's first paint
// and shows the main window.

#include "platform/WinApp.h"

class CPixmoorApp : public CWinApp {
public:
    CPixmoorApp();

    BOOL InitInstance() override;

protected:
    void OnAppAbout();

    DECLARE_MESSAGE_MAP()
};

// Texts of --help and --version.
extern const char* const kPixmoorVersionText;
extern const char* const kPixmoorHelpText;
