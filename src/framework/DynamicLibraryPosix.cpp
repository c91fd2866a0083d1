#include <dlfcn.h>
#include <unistd.h>

#include "framework/DynamicLibrary.h"

Result<DynamicLibrary> DynamicLibrary::Load(const std::string& path) {
    // A path with a slash is loaded from there; the library's own
    // dependencies are found through its run path ($ORIGIN).
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* error = ::dlerror();
        return Status::Error(std::string("cannot be loaded: ") +
                             (error != nullptr ? error : "unknown reason"));
    }
    return DynamicLibrary(handle);
}

void* DynamicLibrary::Entry(const char* name) const {
    return ::dlsym(m_handle, name);
}

void* DynamicLibrary::EntryByNumber(std::uint16_t, const char* name) const {
    return Entry(name);
}

std::string DynamicLibraryFileName(const std::string& stem) {
    return "lib" + stem + ".so";
}

std::string ProgramFolder() {
    char path[4096];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) {
        return "";
    }
    std::string folder(path, static_cast<std::size_t>(length));
    return folder.substr(0, folder.rfind('/') + 1);
}
