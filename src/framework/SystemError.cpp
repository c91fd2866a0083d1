#include "framework/SystemError.h"

#include <cerrno>
#include <system_error>

std::string SystemErrorText(int error) {
    if (error == 0) {
        return "unknown error";
    }
    // The generic category's message is strerror's text, made without
    // strerror's shared buffer.
    std::string text = std::error_code(error, std::generic_category()).message();
    // The C runtimes that know only the classic errno values (Windows')
    // have no text of their own for these.
    if (text.rfind("Unknown error", 0) == 0) {
        switch (error) {
            case ELOOP:
                return "Too many levels of symbolic links";
            case EWOULDBLOCK:
                return "Resource temporarily unavailable";
            case ETIMEDOUT:
                return "Connection timed out";
            default:
                break;
        }
    }
    return text;
}
