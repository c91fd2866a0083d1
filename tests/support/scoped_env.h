// Environment variables and the current directory changed for one scope.
#pragma once

#include <optional>
#include <string>

namespace k2ltest {

// Sets NAME to VALUE, or removes it when VALUE is absent, and puts back what
// it was at destruction.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::optional<std::string>& value);
    // A null VALUE removes NAME.
    ScopedEnv(const char* name, const char* value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string m_name;
    std::optional<std::string> m_old;
};

// Makes DIRECTORY the process's current directory, and the previous one
// current again at destruction.
class ScopedCurrentDir {
public:
    explicit ScopedCurrentDir(const std::string& directory);
    ~ScopedCurrentDir();
    ScopedCurrentDir(const ScopedCurrentDir&) = delete;
    ScopedCurrentDir& operator=(const ScopedCurrentDir&) = delete;

private:
    std::string m_previous;
};

}  // namespace k2ltest
