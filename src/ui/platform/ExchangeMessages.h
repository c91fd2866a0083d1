// The messages with which data exchange refuses a value, worded once for
// every twin of the dialog layer. FIELD is the field's name as its label
// says it ("this" when it has none).
#pragma once

#include <string>

#include "util/NameRule.h"

// A value longer than nChars characters.
std::string TooManyCharsMessage(int nChars, const std::string& field);

// A name that is not a plain name (FAULT, util/NameRule.h).
std::string NotPlainNameMessage(const std::string& field, NameFault fault);

// Text that a Sample List record cannot hold: CHARACTER (UTF-8) is the
// first character that is not printable ASCII, CODE its code point.
std::string NotRecordTextMessage(const std::string& field, const std::string& character,
                                 unsigned code);
