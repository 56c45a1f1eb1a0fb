#include "bench/app/ViewerStart.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "bench/common/BenchClock.h"
#include "codec/JpegConverter.h"
#include "tools/ChildProcess.h"

namespace {

// The child's side: the viewer with the probe on, offscreen, its files in
// `home`, its messages silenced.
[[noreturn]] void ExecViewer(const char* program, const char* photo, const char* home, int out)
{
    dup2(out, 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("PIXMOOR_BENCH_FIRST_PAINT", "1", 1);
    unsetenv("DBUS_SESSION_BUS_ADDRESS");
    setenv("XDG_CONFIG_HOME", (std::string(home) + "/config").c_str(), 1);
    setenv("XDG_DATA_HOME", (std::string(home) + "/data").c_str(), 1);
    if (!freopen("/dev/null", "w", stderr)) {
        // keep the inherited standard error
    }
    if (photo)
        execl(program, program, photo, (char*)nullptr);
    else
        execl(program, program, (char*)nullptr);
    _exit(127);
}

}  // namespace

double MsToViewerMark(const char* program, const char* photo, const char* home, const char* mark)
{
    int fds[2];
    if (pipe(fds) != 0)
        return -1;
    fflush(stdout);
    const double start = Now();
    const pid_t pid = fork();
    if (pid < 0)
        return -1;
    if (pid == 0) {
        close(fds[0]);
        ExecViewer(program, photo, home, fds[1]);
    }
    close(fds[1]);
    const std::string wanted = std::string(mark) + " ";
    std::string out;
    double ms = -1;
    char buf[256];
    ssize_t got;
    while (ms < 0 && (got = read(fds[0], buf, sizeof buf)) > 0) {
        out.append(buf, (size_t)got);
        for (size_t at = out.find(wanted); at != std::string::npos; at = out.find(wanted, at + 1)) {
            if ((at == 0 || out[at - 1] == '\n') && out.find('\n', at) != std::string::npos) {
                // The probe's clock is the monotonic one, as Now()'s steady clock.
                ms = atoll(out.c_str() + at + wanted.size()) / 1e6 - start * 1e3;
                break;
            }
        }
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    close(fds[0]);
    return ms;
}

double FreshProcessDecodeMs(const char* photo)
{
    const ChildRun run = RunChild("/proc/self/exe", { "--decode", photo }, 120);
    return run.exited ? atof(run.output.c_str()) : -1;
}

int RunDecodeChild(const char* photo)
{
    CJpegConverter converter;
    const double t0 = Now();
    unsigned char* pixels = converter.LoadFile(photo);
    const double ms = (Now() - t0) * 1e3;
    if (!pixels)
        return 1;
    free(pixels);
    printf("%.3f\n", ms);
    return 0;
}
