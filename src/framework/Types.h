// Basic types shared by the converter's core and the data system's libraries.
//
// Operations report success as a 32-bit boolean: TRUE (1) or FALSE (0), the
// convention of the data system's C interfaces, which the core follows.
#pragma once

#include <cstdint>

using BOOL = std::int32_t;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
