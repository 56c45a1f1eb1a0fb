#include "bench/common/ChildRun.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/wait.h>
#include <unistd.h>

#include "bench/common/BenchClock.h"

ChildRun RunSelf(const std::vector<std::string>& args, int timeoutSeconds)
{
    ChildRun r;
    int out[2];
    if (pipe(out) != 0)
        return r;
    std::vector<char*> argv;
    static char self[] = "/proc/self/exe";
    argv.push_back(self);
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    fflush(stdout);
    double start = Now();
    pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], 1);
        close(out[0]);
        close(out[1]);
        alarm((unsigned)timeoutSeconds);
        execv(self, argv.data());
        _exit(127);
    }
    close(out[1]);
    char buf[512];
    ssize_t got;
    while ((got = read(out[0], buf, sizeof buf)) > 0)
        r.output.append(buf, (size_t)got);
    close(out[0]);
    int status = 0;
    if (pid > 0)
        waitpid(pid, &status, 0);
    r.seconds = Now() - start;
    r.exited = pid > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return r;
}

long PeakResidentKb()
{
    FILE* f = fopen("/proc/self/status", "r");
    if (!f)
        return -1;
    char line[256];
    long kb = -1;
    while (fgets(line, sizeof line, f))
        if (strncmp(line, "VmHWM:", 6) == 0)
            kb = atol(line + 6);
    fclose(f);
    return kb;
}
