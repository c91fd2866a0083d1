#include <windows.h>

#include "framework/DynamicLibrary.h"

namespace {

std::wstring Wide(const std::string& text) {
    const int size = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(size > 0 ? static_cast<std::size_t>(size) : 1, L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), size);
    wide.resize(wide.size() - 1);
    return wide;
}

std::string ErrorText(DWORD error) {
    char* text = nullptr;
    const DWORD length = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length != 0 && text != nullptr ? std::string(text, length)
                                                         : "error " + std::to_string(error);
    ::LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                                message.back() == ' ' || message.back() == '.')) {
        message.pop_back();
    }
    return message;
}

}  // namespace

Result<DynamicLibrary> DynamicLibrary::Load(const std::string& path) {
    // Its dependencies from its own folder and System32 only: never the
    // current folder or PATH.
    HMODULE module =
        ::LoadLibraryExW(Wide(path).c_str(), nullptr,
                         LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module == nullptr) {
        const DWORD error = ::GetLastError();
        return Status::Error("cannot be loaded: " + ErrorText(error) +
                             (error == ERROR_MOD_NOT_FOUND
                                  ? " (a library it needs is missing from its folder)"
                                  : ""));
    }
    return DynamicLibrary(reinterpret_cast<void*>(module));
}

void* DynamicLibrary::Entry(const char* name) const {
    return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(m_handle), name));
}

void* DynamicLibrary::EntryByNumber(std::uint16_t ordinal, const char*) const {
    return reinterpret_cast<void*>(::GetProcAddress(
        static_cast<HMODULE>(m_handle), reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(ordinal))));
}

std::string DynamicLibraryFileName(const std::string& stem) {
    return stem + ".dll";
}

std::string ProgramFolder() {
    wchar_t path[32768];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, 32768);
    if (length == 0 || length >= 32768) {
        return "";
    }
    const int size = ::WideCharToMultiByte(CP_ACP, 0, path, static_cast<int>(length), nullptr, 0,
                                           nullptr, nullptr);
    std::string folder(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, path, static_cast<int>(length), folder.data(), size, nullptr,
                          nullptr);
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

#if defined(__i386__)
// The callee of a __stdcall entry pops its arguments, that of a __cdecl
// entry does not: the stack pointer is kept in %edi (callee-saved in both)
// and put back after the call, so either works.
extern "C" std::uint32_t K2LCallEitherConvention(void* entry, const std::uint32_t* args,
                                                 std::uint32_t count);
__asm__(
    ".text\n"
    ".globl _K2LCallEitherConvention\n"
    "_K2LCallEitherConvention:\n"
    "  pushl %ebp\n"
    "  movl %esp, %ebp\n"
    "  pushl %esi\n"
    "  pushl %edi\n"
    "  movl 12(%ebp), %esi\n"
    "  movl 16(%ebp), %ecx\n"
    "  movl %esp, %edi\n"
    "  andl $-16, %esp\n"
    "  leal (,%ecx,4), %eax\n"
    "  subl %eax, %esp\n"
    "  andl $-16, %esp\n"
    "  xorl %edx, %edx\n"
    "1:\n"
    "  cmpl %ecx, %edx\n"
    "  je 2f\n"
    "  movl (%esi,%edx,4), %eax\n"
    "  movl %eax, (%esp,%edx,4)\n"
    "  incl %edx\n"
    "  jmp 1b\n"
    "2:\n"
    "  call *8(%ebp)\n"
    "  movl %edi, %esp\n"
    "  popl %edi\n"
    "  popl %esi\n"
    "  popl %ebp\n"
    "  ret\n");

std::uint32_t CallEitherConvention(void* entry, const std::uint32_t* args, std::uint32_t count) {
    return K2LCallEitherConvention(entry, args, count);
}
#endif
