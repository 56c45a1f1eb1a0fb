#include "tools/ChildProcess.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/wait.h>
#include <unistd.h>

ChildRun RunChild(const std::string& program, const std::vector<std::string>& args, int timeoutSeconds)
{
    ChildRun r;
    int out[2];
    if (pipe(out) != 0)
        return r;
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    fflush(stdout);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], 1);
        close(out[0]);
        close(out[1]);
        alarm((unsigned)timeoutSeconds);
        execv(program.c_str(), argv.data());
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
    r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    r.exited = pid > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    r.hung = pid > 0 && WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM;
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
