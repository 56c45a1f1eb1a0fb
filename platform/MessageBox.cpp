#include "MessageBox.h"

#include <cstdio>

static MessageBoxHandler g_messageBoxHandler = nullptr;

int AfxMessageBox(const char* text, UINT type, UINT /*helpId*/)
{
    if (g_messageBoxHandler)
        return g_messageBoxHandler(text ? text : "", type);
    fprintf(stderr, "pixmoor: %s\n", text ? text : "");
    return IDOK;
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler)
{
    MessageBoxHandler old = g_messageBoxHandler;
    g_messageBoxHandler = handler;
    return old;
}
