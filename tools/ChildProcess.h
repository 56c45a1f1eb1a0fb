#pragma once
// Measuring one operation in a process of its own, for the hostile-file
// tests and the benchmarks: a program is started (fork, then exec, so the
// child starts its own peak resident size, which a plain fork would inherit),
// its standard output is collected, and it is killed when it hangs.

#include <string>
#include <vector>

struct ChildRun {
    bool exited = false;  // returned from main with status 0
    bool hung = false;    // killed after the timeout
    std::string output;   // its standard output
    double seconds = 0;   // wall time from fork to exit
};

// Runs `program` with `args` (after argv[0]) and waits for it; after
// `timeoutSeconds` it is killed (SIGALRM). "/proc/self/exe" runs this
// program again.
ChildRun RunChild(const std::string& program, const std::vector<std::string>& args, int timeoutSeconds);

// This process's peak resident size in kilobytes (VmHWM), -1 if unknown.
long PeakResidentKb();
