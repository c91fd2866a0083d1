// Signal dispositions both executables set before they do anything else.
#pragma once

// Ignores SIGXFSZ, so that a write passing the process's file size limit
// (ulimit -f) fails with EFBIG, which the record library reports as a
// Sample List that would exceed the largest file size allowed, instead of
// ending the process without a word. Call at the very start of main; child
// processes inherit the disposition.
void IgnoreFileSizeSignal();
