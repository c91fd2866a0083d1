// Plain names: the method, macro and data file names a user gives become
// file names on the instrument (a data file name is the start of every
// data file's name), so they must not reach outside the directory they are
// meant for, nor hold characters that no file name should.
//
// A plain name holds no '/', no '\\' (a separator on the instrument's own
// system) and no control character (bytes 0x00-0x1F and 0x7F). Everything
// else, the empty name included, is plain here: how long a name may be and
// which characters a Sample List record can hold are other rules.
#pragma once

#include <string_view>

#include "framework/Status.h"

// The most characters a name field of the dialogs takes, and so the most a
// name given on the command line may have.
inline constexpr int kMaxNameChars = 8;

// Ok when NAME is plain; otherwise the message says why not, as the end of
// a sentence whose subject is the name: "holds '/'", "holds '\\'" or "holds
// a control character", for the first offending byte of NAME.
Status CheckPlainName(std::string_view name);
