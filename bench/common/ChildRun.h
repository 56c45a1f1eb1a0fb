#pragma once
// Measuring one operation in a process of its own: the benchmark runs its
// own program again (fork, then exec of /proc/self/exe) with other
// arguments. A fresh exec starts its own peak resident size (VmHWM), which
// a forked child would inherit from its parent.

#include <string>
#include <vector>

struct ChildRun {
    bool exited = false;  // returned from main with status 0
    std::string output;   // its standard output
    double seconds = 0;   // wall time from fork to exit
};

// Runs this program with `args` and waits for it; after `timeoutSeconds` it
// is killed (SIGALRM).
ChildRun RunSelf(const std::vector<std::string>& args, int timeoutSeconds);

// This process's peak resident size in kilobytes (VmHWM), -1 if unknown.
long PeakResidentKb();
