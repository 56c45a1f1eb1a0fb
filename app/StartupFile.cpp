#include "app/StartupFile.h"

#include <cstring>

char g_szStartupFile[2000] = "";

int SetStartupFile(const char* name)
{
    g_szStartupFile[0] = '\0';
    if (!name)
        return 0;
    const size_t length = strlen(name);
    if (length >= sizeof g_szStartupFile)
        return -1;
    memcpy(g_szStartupFile, name, length + 1);
    return 0;
}
