#include "cli/NameRules.h"

#include "cli/TextEscape.h"
#include "util/NameRule.h"

Status CheckName(std::string_view value, const NameRole& role, bool fromTitle) {
    const NameFault fault = FindNameFault(value, kNameField);
    if (fault == NameFault::kNone) {
        return Status::Ok();
    }
    std::string message = std::string("the ") + role.description + " '" + EscapeForTable(value) +
                          "'" + (fromTitle ? " (from the input's title)" : "") + " " +
                          NameFaultText(fault, kNameField) + "; give " + role.option + " NAME";
    if (!fromTitle) {
        message += " with at most " + std::to_string(kMaxNameChars) + " printable ASCII characters";
        if (IsPlainNameFault(fault)) {
            message += " and no '/' or '\\'";
        }
    }
    return Status::Error(message);
}
