// The viewer's entry point.
#include <cstdio>
#include <cstring>

#include "app/PixmoorApp.h"
#include "platform/FileSizeSignal.h"

// The one application object.
static CPixmoorApp theApp;

int main(int argc, char** argv)
{
    IgnoreFileSizeSignal();
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--help") == 0) {
            fputs(kPixmoorHelpText, stdout);
            return 0;
        }
        if (strcmp(argv[i], "--version") == 0) {
            fputs(kPixmoorVersionText, stdout);
            return 0;
        }
    }
    return AfxWinMain(argc, argv);
}
