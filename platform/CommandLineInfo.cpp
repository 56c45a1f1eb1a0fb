#include "platform/CommandLineInfo.h"

#include <strings.h>

static const char* const kSwitches[] = { "p", "pt", "dde", "automation", "embedding", "unregister", "unregserver" };

bool CCommandLineInfo::IsSwitch(const char* arg)
{
    if (!arg || (arg[0] != '/' && arg[0] != '-'))
        return false;
    for (const char* name : kSwitches)
        if (strcasecmp(arg + 1, name) == 0)
            return true;
    return false;
}

void CCommandLineInfo::ParseParam(const char* pszParam, BOOL bFlag, BOOL)
{
    if (bFlag) {
        if (strcasecmp(pszParam, "pt") == 0) {
            m_nShellCommand = FilePrintTo;
            m_nPrintToArgs = 3;
        } else if (strcasecmp(pszParam, "p") == 0) {
            m_nShellCommand = FilePrint;
        } else if (strcasecmp(pszParam, "dde") == 0) {
            m_nShellCommand = FileDDE;
        } else if (strcasecmp(pszParam, "automation") == 0) {
            m_bRunAutomated = TRUE;
        } else if (strcasecmp(pszParam, "embedding") == 0) {
            m_bRunEmbedded = TRUE;
        } else if (strcasecmp(pszParam, "unregister") == 0 || strcasecmp(pszParam, "unregserver") == 0) {
            m_nShellCommand = AppUnregister;
        }
        return;
    }
    if (m_strFileName.empty()) {
        m_strFileName = pszParam;
        if (m_nShellCommand == FileNew)
            m_nShellCommand = FileOpen;
        return;
    }
    // After /pt the file name comes first, then printer, driver and port.
    if (m_nPrintToArgs == 3)
        m_strPrinterName = pszParam;
    else if (m_nPrintToArgs == 2)
        m_strDriverName = pszParam;
    else if (m_nPrintToArgs == 1)
        m_strPortName = pszParam;
    if (m_nPrintToArgs > 0)
        --m_nPrintToArgs;
}
