// SHA-256: the digest that identifies a conversion's input by its bytes, and
// that the clash cache checks its own file with.
#pragma once

#include <string>
#include <string_view>

#include "framework/Status.h"

// The digest of BYTES as 64 lower-case hex digits.
std::string Sha256OfBytes(std::string_view bytes);

// The digest of the file at PATH as 64 lower-case hex digits, read in
// 64 KiB pieces, so a file of any size takes little memory. Only a regular
// file is read (a FIFO or a device could block or never end). When the
// file cannot be opened or read, the failure's message is the reason: the
// system's text, or the kind of file that was refused.
Result<std::string> Sha256OfFile(const std::string& path);
