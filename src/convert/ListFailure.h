// The cause of a record library failure, in words a lab user reads: the
// folder that does not exist, the file that cannot be written and the
// system's reason, found by looking at the list's folder and file when the
// status alone leaves several possibilities.
#pragma once

#include <cstdint>
#include <string>

// One sentence (ending in "(status N).") for STATUS, a failure of the record
// library while it worked on the Sample List at LIST_PATH.
std::string ListFailureCause(std::int32_t status, const std::string& listPath);
