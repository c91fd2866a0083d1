// Bytes shown as printable ASCII, whatever they hold: for text a user gave
// that a terminal table or a message shows back (a key, an extension, a
// record field). Printable ASCII stays as it is, a backslash becomes "\\",
// every other byte (controls, DEL, bytes of 0x80 and above) becomes "\xNN"
// with two upper-case hex digits. The result is pure printable ASCII, so
// its length is its width on the screen, and it cannot move a terminal's
// cursor or pass one escape off as another.
#pragma once

#include <string>
#include <string_view>

std::string EscapeToPrintableAscii(std::string_view text);
