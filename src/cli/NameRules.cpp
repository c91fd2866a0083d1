#include "cli/NameRules.h"

#include <algorithm>

#include "cli/TextEscape.h"
#include "util/PlainName.h"

namespace {

bool IsPrintableAscii(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x20 && byte < 0x7F;
}

}  // namespace

Status CheckName(std::string_view value, const NameRole& role, bool fromTitle) {
    std::string problem;
    const Status plain = CheckPlainName(value);
    if (!plain.ok()) {
        problem = plain.message();
    } else if (value.size() > static_cast<std::size_t>(kMaxNameChars)) {
        problem = "is longer than " + std::to_string(kMaxNameChars) + " characters";
    } else if (!std::all_of(value.begin(), value.end(), IsPrintableAscii)) {
        problem = "contains characters other than printable ASCII";
    } else {
        return Status::Ok();
    }
    std::string message = std::string("the ") + role.description + " '" + EscapeForTable(value) +
                          "'" + (fromTitle ? " (from the input's title)" : "") + " " + problem +
                          "; give " + role.option + " NAME";
    if (!fromTitle) {
        message += " with at most " + std::to_string(kMaxNameChars) + " printable ASCII characters";
        if (!plain.ok()) {
            message += " and no '/' or '\\'";
        }
    }
    return Status::Error(message);
}
