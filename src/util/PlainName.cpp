#include "util/PlainName.h"

Status CheckPlainName(std::string_view name) {
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '/') {
            return Status::Error("holds '/'");
        }
        if (c == '\\') {
            return Status::Error("holds '\\'");
        }
        if (byte < 0x20 || byte == 0x7F) {
            return Status::Error("holds a control character");
        }
    }
    return Status::Ok();
}
