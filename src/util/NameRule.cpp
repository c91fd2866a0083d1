#include "util/NameRule.h"

#include <algorithm>

#include "framework/TextClass.h"

NameFault FindNameFault(std::string_view name, const NameLimits& limits) {
    for (const char c : name) {
        if (c == '/') {
            return NameFault::kSlash;
        }
        if (c == '\\') {
            return NameFault::kBackslash;
        }
        if (IsControl(c)) {
            return NameFault::kControl;
        }
    }
    if (name.size() > limits.maxChars) {
        return NameFault::kTooLong;
    }
    if (limits.printableAsciiOnly &&
        !std::all_of(name.begin(), name.end(), [](char c) { return IsPrintableAscii(c); })) {
        return NameFault::kNotPrintableAscii;
    }
    return NameFault::kNone;
}

bool IsPlainNameFault(NameFault fault) {
    return fault == NameFault::kSlash || fault == NameFault::kBackslash ||
           fault == NameFault::kControl;
}

std::string NameFaultText(NameFault fault, const NameLimits& limits) {
    switch (fault) {
        case NameFault::kNone:
            break;
        case NameFault::kSlash:
            return "holds '/'";
        case NameFault::kBackslash:
            return "holds '\\'";
        case NameFault::kControl:
            return "holds a control character";
        case NameFault::kTooLong:
            return "is longer than " + std::to_string(limits.maxChars) + " characters";
        case NameFault::kNotPrintableAscii:
            return "contains characters other than printable ASCII";
    }
    return std::string();
}
