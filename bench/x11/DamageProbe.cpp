// Watches an X server for drawing while one program starts, as a user sees
// it: the time from the program's start to the first window it maps, to the
// first and to the last drawing on the screen. "Last" is the last damage
// before a quiet period in which nothing is drawn; the program is then ended
// (SIGTERM to its process group, SIGKILL after a second).
//
// Drawing is seen through the DAMAGE extension on the root window, which
// reports the drawing into every window on the screen (no compositor
// needed). Run it on a private server (Xvfb) where nothing else draws: every
// damage is the program's.
//
// usage: pixmoor_x11_probe [--quiet MS] [--timeout MS] [--trace] [--shot FILE.ppm]
//                          [--first-shot FILE.ppm] -- PROGRAM [ARGS...]
//   --quiet MS    nothing drawn for this long means the last frame was drawn (3000)
//   --timeout MS  give up when nothing has been drawn by then (30000)
//   --trace       every damage rectangle to standard error, with its time
//   --shot FILE   the screen after the last frame, as a binary PPM
//   --first-shot FILE  the screen at the first drawing (delays the times that
//                 follow by the time the copy takes: not for timing runs)
// Prints one line: "map MS first MS last MS events N" (milliseconds from the
// fork; -1 when it did not happen). Exit status 0, or 1 when nothing was drawn.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

struct Options {
    int quietMs = 3000;
    int timeoutMs = 30000;
    bool trace = false;
    const char* shot = nullptr;
    const char* firstShot = nullptr;
    char** command = nullptr;
};

struct Timeline {
    double mapMs = -1;
    double firstMs = -1;
    double lastMs = -1;
    long events = 0;
};

double NowMs()
{
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

int ParseOptions(int argc, char** argv, Options* options)
{
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--") == 0) {
            options->command = i + 1 < argc ? argv + i + 1 : nullptr;
            return options->command ? 0 : -1;
        }
        if (strcmp(argv[i], "--trace") == 0)
            options->trace = true;
        else if (strcmp(argv[i], "--quiet") == 0 && i + 1 < argc)
            options->quietMs = atoi(argv[++i]);
        else if (strcmp(argv[i], "--timeout") == 0 && i + 1 < argc)
            options->timeoutMs = atoi(argv[++i]);
        else if (strcmp(argv[i], "--shot") == 0 && i + 1 < argc)
            options->shot = argv[++i];
        else if (strcmp(argv[i], "--first-shot") == 0 && i + 1 < argc)
            options->firstShot = argv[++i];
        else
            return -1;
    }
    return -1;
}

pid_t StartProgram(char** command)
{
    const pid_t pid = fork();
    if (pid == 0) {
        // A group of its own, so that helpers it starts end with it.
        setpgid(0, 0);
        // Its output goes with the probe's messages, not into its result line.
        dup2(2, 1);
        execvp(command[0], command);
        fprintf(stderr, "pixmoor_x11_probe: cannot run %s\n", command[0]);
        _exit(127);
    }
    return pid;
}

void EndProgram(pid_t pid)
{
    kill(-pid, SIGTERM);
    for (int i = 0; i < 100; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return;
        usleep(10000);
    }
    kill(-pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

int WriteShot(Display* display, Window root, const char* path)
{
    XWindowAttributes attributes;
    XGetWindowAttributes(display, root, &attributes);
    XImage* image = XGetImage(display, root, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    if (!image)
        return -1;
    FILE* out = fopen(path, "wb");
    if (!out) {
        XDestroyImage(image);
        return -1;
    }
    fprintf(out, "P6\n%d %d\n255\n", image->width, image->height);
    for (int y = 0; y < image->height; ++y) {
        for (int x = 0; x < image->width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            const unsigned char rgb[3] = { (unsigned char)((pixel & image->red_mask) >> 16),
                                           (unsigned char)((pixel & image->green_mask) >> 8),
                                           (unsigned char)(pixel & image->blue_mask) };
            fwrite(rgb, 1, 3, out);
        }
    }
    XDestroyImage(image);
    return fclose(out) == 0 ? 0 : -1;
}

// Takes the events that have arrived.
void TakeEvents(Display* display, int damageEvent, double start, const Options& options, Timeline* timeline)
{
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        const double ms = NowMs() - start;
        if (event.type == MapNotify && timeline->mapMs < 0) {
            timeline->mapMs = ms;
        } else if (event.type == damageEvent + XDamageNotify) {
            const XDamageNotifyEvent& damage = reinterpret_cast<const XDamageNotifyEvent&>(event);
            if (timeline->firstMs < 0) {
                timeline->firstMs = ms;
                if (options.firstShot && WriteShot(display, DefaultRootWindow(display), options.firstShot) != 0)
                    fprintf(stderr, "pixmoor_x11_probe: cannot write %s\n", options.firstShot);
            }
            timeline->lastMs = ms;
            ++timeline->events;
            if (options.trace)
                fprintf(stderr, "%9.1f ms  damage %4d,%4d %4dx%4d\n", ms, damage.area.x, damage.area.y,
                        damage.area.width, damage.area.height);
        }
    }
}

// Waits until the screen has been quiet for options.quietMs after some
// drawing, or until the timeout when nothing is drawn.
void Watch(Display* display, int damageEvent, double start, const Options& options, Timeline* timeline)
{
    pollfd fd = { ConnectionNumber(display), POLLIN, 0 };
    for (;;) {
        TakeEvents(display, damageEvent, start, options, timeline);
        const double now = NowMs() - start;
        const double until = timeline->lastMs < 0 ? options.timeoutMs : timeline->lastMs + options.quietMs;
        if (now >= until)
            return;
        XFlush(display);
        if (poll(&fd, 1, (int)(until - now) + 1) < 0)
            return;
    }
}

}  // namespace

int main(int argc, char** argv)
{
    Options options;
    if (ParseOptions(argc, argv, &options) != 0) {
        fprintf(stderr, "usage: pixmoor_x11_probe [--quiet MS] [--timeout MS] [--trace] [--shot FILE.ppm] "
                        "[--first-shot FILE.ppm] -- PROGRAM [ARGS...]\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        fprintf(stderr, "pixmoor_x11_probe: cannot open the display\n");
        return 2;
    }
    int damageEvent = 0, damageError = 0;
    if (!XDamageQueryExtension(display, &damageEvent, &damageError)) {
        fprintf(stderr, "pixmoor_x11_probe: the X server has no DAMAGE extension\n");
        return 2;
    }
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    const Damage damage = XDamageCreate(display, root, XDamageReportRawRectangles);
    // A new damage object reports the whole screen once: that is not drawing.
    XSync(display, False);
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
    }

    const double start = NowMs();
    if (options.trace)
        fprintf(stderr, "start at %.3f ms on the monotonic clock\n", start);
    const pid_t pid = StartProgram(options.command);
    if (pid < 0)
        return 2;
    Timeline timeline;
    Watch(display, damageEvent, start, options, &timeline);
    if (options.shot && WriteShot(display, root, options.shot) != 0)
        fprintf(stderr, "pixmoor_x11_probe: cannot write %s\n", options.shot);
    EndProgram(pid);
    XDamageDestroy(display, damage);
    XCloseDisplay(display);
    printf("map %.1f first %.1f last %.1f events %ld\n", timeline.mapMs, timeline.firstMs, timeline.lastMs,
           timeline.events);
    return timeline.lastMs < 0 ? 1 : 0;
}
