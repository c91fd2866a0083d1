#include "cli/TextEscape.h"

#include "framework/TextClass.h"
#include "util/PrintableEscape.h"
#include "util/TsvField.h"

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

void AppendHex(std::string& out, unsigned char byte) {
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 0x0F];
}

}  // namespace

std::string EscapeForTable(std::string_view text) {
    return EscapeToPrintableAscii(text);
}

std::string EscapeForTsv(std::string_view text) {
    return EscapeTsvField(text);
}

std::string QuoteForCsv(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        return std::string(text);
    }
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"') {
            out += '"';
        }
        out += c;
    }
    out += '"';
    return out;
}

std::string QuoteForJson(std::string_view text) {
    std::string out = "\"";
    out.reserve(text.size() + 2);
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (IsPrintableAscii(byte)) {
                    out += c;
                } else {
                    out += "\\u00";
                    AppendHex(out, byte);
                }
        }
    }
    out += '"';
    return out;
}
