#include "support/scoped_env.h"

#include <cstdlib>
#include <filesystem>

namespace k2ltest {

namespace {

void SetOrUnset(const std::string& name, const std::optional<std::string>& value) {
#ifdef _WIN32
    // An empty value removes the variable on Windows, as no value does.
    _putenv_s(name.c_str(), value ? value->c_str() : "");
#else
    if (value) {
        setenv(name.c_str(), value->c_str(), 1);
    } else {
        unsetenv(name.c_str());
    }
#endif
}

}  // namespace

ScopedEnv::ScopedEnv(const char* name, const std::optional<std::string>& value) : m_name(name) {
    if (const char* old = std::getenv(name)) {
        m_old = old;
    }
    SetOrUnset(m_name, value);
}

ScopedEnv::ScopedEnv(const char* name, const char* value)
    : ScopedEnv(name, value != nullptr ? std::optional<std::string>(value) : std::nullopt) {}

ScopedEnv::~ScopedEnv() {
    SetOrUnset(m_name, m_old);
}

ScopedCurrentDir::ScopedCurrentDir(const std::string& directory)
    : m_previous(std::filesystem::current_path().string()) {
    std::filesystem::current_path(directory);
}

ScopedCurrentDir::~ScopedCurrentDir() {
    std::error_code ignored;
    std::filesystem::current_path(m_previous, ignored);
}

}  // namespace k2ltest
