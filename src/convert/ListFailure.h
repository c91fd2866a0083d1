// The cause of a record library failure, in words a lab user reads: the
// folder that does not exist, the file that cannot be written and the
// system's reason, found by looking at the list's folder and file when the
// status alone leaves several possibilities, or given by the record library
// itself (DB3GetFailureCause: "cannot read <file>: Too many levels of
// symbolic links", "<file> is a directory, not a Sample List").
#pragma once

#include <cstdint>
#include <string>

// One sentence (ending in "(status N).") for STATUS, a failure of the record
// library while it worked on the Sample List at LIST_PATH, followed by one
// that says what to do about it (unless the first says so already); called
// right after the failing call, whose cause the library still holds.
// FROM_CHECK: the status came from the first DB3Open (mode 5).
//
// With a record library that is not Korr2LD's own, the status is given as
// that library's number, never explained by the stand-ins' meanings; only
// 13 from the first DB3Open is known to mean that the location cannot be
// used.
std::string ListFailureCause(std::int32_t status, const std::string& listPath,
                             bool fromCheck = false);
