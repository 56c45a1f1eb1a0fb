#pragma once
// The parsed command line: one file name and the shell command asked for.
//
// Switches start with '/' or '-' (p, pt, dde, Automation, Embedding,
// Unregister, Unregserver, in any case). Any other argument is a file name;
// so an absolute path such as /home/me/a.jpg is a file, not a switch.

#include <string>

#include "platform/Win32Types.h"

class CCommandLineInfo {
public:
    enum { FileNew, FileOpen, FilePrint, FilePrintTo, FileDDE, AppUnregister, FileNothing = -1 } m_nShellCommand = FileNew;

    virtual ~CCommandLineInfo() = default;
    // One argument; bFlag when it was a switch (its text then without the
    // leading '/' or '-').
    virtual void ParseParam(const char* pszParam, BOOL bFlag, BOOL bLast);

    // True when the argument is one of the known switches.
    static bool IsSwitch(const char* arg);

    BOOL m_bRunEmbedded = FALSE;
    BOOL m_bRunAutomated = FALSE;
    std::string m_strFileName;
    std::string m_strPrinterName;
    std::string m_strDriverName;
    std::string m_strPortName;

private:
    int m_nPrintToArgs = 0;  // printer, driver, port still expected after /pt
};
