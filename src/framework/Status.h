// Status is the one way code below the program's named classes reports a
// failure: ok, or failed with a message a user can read. The message is a
// whole clause ("cannot create the directory /x: Permission denied"); the
// caller adds the file or the headline around it, once.
//
// Result<T> is a value or the Status that says why there is none.
//
// Both are cheap to move and must be looked at ([[nodiscard]]).
#pragma once

#include <string>
#include <utility>
#include <variant>

class [[nodiscard]] Status {
public:
    // An ok status.
    Status() = default;

    static Status Ok() { return Status(); }
    // A failure with MESSAGE ("failed" when MESSAGE is empty, so that a
    // failure never reads as ok).
    static Status Error(std::string message);
    // A failure of the operating system: "WHAT: <text of ERROR>", the text
    // made by SystemErrorText. ERROR is kept and available as ErrorNumber().
    static Status FromErrno(const std::string& what, int error);
    // The same with the system's text alone, for a caller that says what
    // failed around it.
    static Status FromErrno(int error);
    // A failure of the operating system told in TEXT, its own words for a
    // cause that has no errno text of its own; ERROR is the errno value
    // that stands for it.
    static Status FromSystem(int error, std::string text);

    bool ok() const { return m_message.empty(); }

    // Empty when ok.
    const std::string& message() const { return m_message; }
    // The errno of a FromErrno status, else 0.
    int ErrorNumber() const { return m_error; }

    // The same failure with PREFIX put in front of the message ("PREFIX: message");
    // an ok status stays ok.
    Status WithContext(const std::string& prefix) const;

private:
    std::string m_message;
    int m_error = 0;
};

template <typename T>
class [[nodiscard]] Result {
public:
    Result(T value) : m_state(std::move(value)) {}  // NOLINT: implicit by design
    // STATUS must be a failure.
    Result(Status status) : m_state(std::move(status)) {}  // NOLINT: implicit by design

    bool ok() const { return std::holds_alternative<T>(m_state); }

    // Only when ok().
    const T& value() const& { return std::get<T>(m_state); }
    T& value() & { return std::get<T>(m_state); }
    T&& value() && { return std::get<T>(std::move(m_state)); }

    // Ok when there is a value.
    Status status() const { return ok() ? Status() : std::get<Status>(m_state); }

private:
    std::variant<T, Status> m_state;
};
