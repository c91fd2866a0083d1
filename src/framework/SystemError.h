// The operating system's text for an errno value, made in one place.
#pragma once

#include <string>

// The text for ERROR ("No such file or directory"), as strerror gives it
// but safe to call from any thread; "unknown error" for 0.
std::string SystemErrorText(int error);
