#include "framework/SystemError.h"

#include <system_error>

std::string SystemErrorText(int error) {
    if (error == 0) {
        return "unknown error";
    }
    // The generic category's message is strerror's text, made without
    // strerror's shared buffer.
    return std::error_code(error, std::generic_category()).message();
}
