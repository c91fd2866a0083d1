#include <cstdio>
#include <fstream>

#include "framework/DynamicLibrary.h"

namespace {

std::uint32_t Little(const unsigned char* bytes, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) {
        value = (value << 8) | bytes[i];
    }
    return value;
}

}  // namespace

Result<std::string> LibraryMachine(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return Status::Error("cannot be read");
    }
    // The DOS header's "MZ" and, at 0x3C, where "PE\0\0" and the machine
    // follow.
    unsigned char dos[64];
    unsigned char pe[6];
    if (!file.read(reinterpret_cast<char*>(dos), sizeof dos) || dos[0] != 'M' || dos[1] != 'Z' ||
        !file.seekg(Little(dos + 0x3C, 4)) || !file.read(reinterpret_cast<char*>(pe), sizeof pe) ||
        pe[0] != 'P' || pe[1] != 'E' || pe[2] != 0 || pe[3] != 0) {
        return Status::Error("is not a Windows library");
    }
    switch (Little(pe + 4, 2)) {
        case 0x014C:
            return std::string("x86");
        case 0x8664:
            return std::string("x64");
        case 0xAA64:
            return std::string("arm64");
        default: {
            char name[24];
            std::snprintf(name, sizeof name, "machine 0x%04X", Little(pe + 4, 2));
            return std::string(name);
        }
    }
}

const char* ProgramMachine() {
#if defined(__x86_64__) || defined(_M_X64)
    return "x64";
#elif defined(__i386__) || defined(_M_IX86)
    return "x86";
#elif defined(__aarch64__) || defined(_M_ARM64)
    return "arm64";
#else
    return "another machine";
#endif
}
