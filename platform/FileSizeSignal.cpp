#include "platform/FileSizeSignal.h"

#include <csignal>

void IgnoreFileSizeSignal()
{
    signal(SIGXFSZ, SIG_IGN);
}
