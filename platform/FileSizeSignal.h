#pragma once
// A process with a file-size limit (ulimit -f) gets SIGXFSZ for a write
// past the limit, and by default that signal ends it. Ignored, the write is
// a short write instead, which every writer of the program already treats as
// a failure (the thumbnail cache then discards its file).

// Sets SIGXFSZ to be ignored; called once at start-up.
void IgnoreFileSizeSignal();
