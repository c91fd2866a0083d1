// Between the interrupt clean-up's files (Signals.cpp) and each system's
// handler: the handler calls RemoveHeldFiles with its own way of removing a
// file by name.
#pragma once

// Calls REMOVE with the name of every file an InterruptCleanup holds now.
// Allocates nothing and takes no lock, so a POSIX signal handler may call it.
void RemoveHeldFiles(void (*remove)(const char* path));
