// Text crossing between the program's 8-bit strings and the wide API.
//
// On Windows the program's strings are UTF-8 (paths as the framework hands
// them to the file system, messages, captions). Names that go into Sample
// List records are shown as UTF-8 when they are valid UTF-8 and byte for
// byte as Latin-1 otherwise, and only printable ASCII is taken back from
// the user (as on every desktop: framework/TextClass.h).
#pragma once

#include <string>

std::wstring Widen(const std::string& text);
std::string Narrow(const std::wstring& text);

std::wstring WidenRecordText(const std::string& text);

// TRUE when TEXT is printable ASCII only; its bytes are then in OUT. When
// it is not, OUT is unchanged, OFFENDING is the first character that cannot
// be stored (UTF-8) and CODE its code point.
bool NarrowRecordText(const std::wstring& text, std::string& out, std::string& offending,
                      unsigned& code);
