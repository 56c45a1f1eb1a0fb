// Time from process start to the first painted frame of a photo named on
// the command line, against the plain decode time of the same file measured
// in this program: in this process (warm: freed memory is reused) and in a
// fresh child (cold, as the viewer's own decode is). The viewer runs offscreen as a child process and writes
// "first-paint <ns>" (monotonic clock) when its first paint has drawn the
// picture (PIXMOOR_BENCH_FIRST_PAINT); it is then stopped.
//
// usage: bench_app_first_paint [photo.jpg] [runs]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <signal.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "codec/JpegConverter.h"

namespace {

long long NowNs()
{
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (long long)t.tv_sec * 1000000000LL + t.tv_nsec;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Nanoseconds from fork to the child's first painted picture, or -1.
long long TimeToFirstPaint(const char* program, const char* photo, const char* home)
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return -1;
    const long long start = NowNs();
    const pid_t pid = fork();
    if (pid < 0)
        return -1;
    if (pid == 0) {
        dup2(pipeFds[1], 1);
        close(pipeFds[0]);
        close(pipeFds[1]);
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        setenv("PIXMOOR_BENCH_FIRST_PAINT", "1", 1);
        const std::string config = std::string(home) + "/config";
        const std::string data = std::string(home) + "/data";
        setenv("XDG_CONFIG_HOME", config.c_str(), 1);
        setenv("XDG_DATA_HOME", data.c_str(), 1);
        if (freopen("/dev/null", "w", stderr) == nullptr) {
            // keep the inherited stderr
        }
        execl(program, program, photo, (char*)nullptr);
        _exit(127);
    }
    close(pipeFds[1]);
    std::string out;
    char buf[256];
    long long painted = -1;
    for (;;) {
        const ssize_t n = read(pipeFds[0], buf, sizeof buf);
        if (n <= 0)
            break;
        out.append(buf, (size_t)n);
        const size_t at = out.find("first-paint ");
        if (at != std::string::npos && out.find('\n', at) != std::string::npos) {
            painted = atoll(out.c_str() + at + 12);
            break;
        }
    }
    kill(pid, SIGKILL);
    int status;
    waitpid(pid, &status, 0);
    close(pipeFds[0]);
    return painted < 0 ? -1 : painted - start;
}

// Decode time in a fresh child process, whose memory is as cold as the
// viewer's at start-up (no freed pages to reuse), in milliseconds; -1 on failure.
double ColdDecodeMs(const char* photo)
{
    int fds[2];
    if (pipe(fds) != 0)
        return -1;
    const pid_t pid = fork();
    if (pid < 0)
        return -1;
    if (pid == 0) {
        close(fds[0]);
        CJpegConverter converter;
        const long long t0 = NowNs();
        unsigned char* pixels = converter.LoadFile(photo);
        const double ms = pixels ? (NowNs() - t0) / 1e6 : -1;
        free(pixels);
        if (write(fds[1], &ms, sizeof ms) != (ssize_t)sizeof ms)
            _exit(1);
        _exit(0);
    }
    close(fds[1]);
    double ms = -1;
    if (read(fds[0], &ms, sizeof ms) != (ssize_t)sizeof ms)
        ms = -1;
    close(fds[0]);
    int status;
    waitpid(pid, &status, 0);
    return ms;
}

}  // namespace

int main(int argc, char** argv)
{
    const char* photo = argc > 1 ? argv[1] : PIXMOOR_SAMPLE_PHOTO;
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 5;
    const char* program = PIXMOOR_PROGRAM;

    std::vector<double> decode;
    int width = 0, height = 0;
    for (int i = 0; i < runs; ++i) {
        CJpegConverter converter;
        const long long t0 = NowNs();
        unsigned char* pixels = converter.LoadFile(photo);
        const long long t1 = NowNs();
        if (!pixels) {
            fprintf(stderr, "cannot decode %s\n", photo);
            return 1;
        }
        width = converter.GetWidth();
        height = converter.GetHeight();
        free(pixels);
        decode.push_back((t1 - t0) / 1e6);
    }

    std::vector<double> coldDecode;
    for (int i = 0; i < runs; ++i) {
        const double ms = ColdDecodeMs(photo);
        if (ms < 0) {
            fprintf(stderr, "cannot decode %s in a child process\n", photo);
            return 1;
        }
        coldDecode.push_back(ms);
    }

    char home[] = "/tmp/pixmoor-bench-XXXXXX";
    if (!mkdtemp(home)) {
        perror("mkdtemp");
        return 1;
    }
    std::vector<double> startup;
    for (int i = 0; i < runs; ++i) {
        const long long ns = TimeToFirstPaint(program, photo, home);
        if (ns < 0) {
            fprintf(stderr, "the viewer did not report a first paint\n");
            return 1;
        }
        startup.push_back(ns / 1e6);
    }
    const std::string cleanup = std::string("rm -rf '") + home + "'";
    if (system(cleanup.c_str()) != 0) {
        // a leftover temporary folder is harmless
    }

    const double d = Median(decode), c = Median(coldDecode), s = Median(startup);
    printf("photo %s, %d x %d (%.1f MP), %d runs, medians:\n", photo, width, height, width * height / 1e6, runs);
    printf("  decode alone, this process          %8.1f ms\n", d);
    printf("  decode alone, fresh child process   %8.1f ms\n", c);
    printf("  viewer start to first paint         %8.1f ms\n", s);
    printf("  ratio first paint / decode          %8.2f (target <= 1.25)\n", s / d);
    printf("  ratio first paint / cold decode     %8.2f\n", s / c);
    return 0;
}
