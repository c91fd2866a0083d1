// Exit statuses of korr2ld-cli, the same for every command.
#pragma once

// The command did what was asked.
inline constexpr int kExitOk = 0;
// The command was understood but failed: a file that cannot be read or
// created, an existing output without --overwrite, a missing directory.
inline constexpr int kExitFailure = 1;
// The command line itself is wrong: unknown options, missing arguments,
// names the data system cannot take. Nothing was touched.
inline constexpr int kExitUsage = 2;
