#include "util/PrintableEscape.h"

#include "framework/TextClass.h"

std::string EscapeToPrintableAscii(std::string_view text) {
    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\') {
            out += "\\\\";
        } else if (IsPrintableAscii(byte)) {
            out += c;
        } else {
            out += "\\x";
            out += kHexDigits[byte >> 4];
            out += kHexDigits[byte & 0x0F];
        }
    }
    return out;
}
