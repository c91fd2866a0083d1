#include "framework/Status.h"

#include "framework/SystemError.h"

Status Status::Error(std::string message) {
    Status status;
    status.m_message = message.empty() ? "failed" : std::move(message);
    return status;
}

Status Status::FromErrno(const std::string& what, int error) {
    Status status = Error(what + ": " + SystemErrorText(error));
    status.m_error = error;
    return status;
}

Status Status::FromErrno(int error) {
    Status status = Error(SystemErrorText(error));
    status.m_error = error;
    return status;
}

Status Status::FromSystem(int error, std::string text) {
    Status status = Error(std::move(text));
    status.m_error = error;
    return status;
}

Status Status::WithContext(const std::string& prefix) const {
    if (ok()) {
        return *this;
    }
    Status status = *this;
    status.m_message = prefix + ": " + m_message;
    return status;
}
