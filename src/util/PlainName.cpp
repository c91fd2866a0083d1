#include "util/PlainName.h"

const char* PlainNameProblem(std::string_view name) noexcept {
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '/') {
            return "holds '/'";
        }
        if (c == '\\') {
            return "holds '\\'";
        }
        if (byte < 0x20 || byte == 0x7F) {
            return "holds a control character";
        }
    }
    return nullptr;
}
