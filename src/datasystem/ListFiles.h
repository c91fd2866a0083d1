// The files the record library keeps beside a Sample List while it writes
// one, and their clean-up.
//
// For the list DIR/NAME (NAME with its extension, e.g. "plate7.sdb"):
//   DIR/.STEM.lock          the writers' lock (ListLock.h), an empty
//                           regular file;
//   DIR/.STEM.new-PID-N     the list being built by a conversion, renamed
//                           over DIR/NAME when it is committed; PID is the
//                           writer's process number and N a counter, both
//                           decimal; the storage engine keeps its journal
//                           beside it as DIR/.STEM.new-PID-N-journal.
// STEM is NAME itself while the longest of these names fits the file
// system's limit of kMaxNameBytes bytes a name; for a longer NAME it is
// NAME cut to a shorter length and ended by '~' and 16 hexadecimal digits
// of a hash of the whole NAME (HiddenStemOf), so that every name a file
// system takes can be written.
// All begin with '.', so that file choosers do not offer them, and belong
// to whoever holds the lock of NAME. Files of a writer that died (kill -9,
// a power cut) are removed by the next writer of the same list, which holds
// its lock and so knows that their owner is gone. Nothing else in the
// folder is ever removed, whatever its name: not the files of other lists
// (whose writers may be alive), not a file that only looks like one of
// these, not a link, pipe, device or directory at one of these names.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ferrox {

// The longest name of a file that the file systems lists are kept on take.
inline constexpr std::size_t kMaxNameBytes = 255;

// The STEM of the hidden files of the list named LIST_NAME (see above).
std::string HiddenStemOf(std::string_view listName);

// DIR/ of PATH, with its trailing separator; empty for a bare name.
std::string DirectoryOf(const std::string& path);
// The lock file of the list at LIST_PATH.
std::string LockPathFor(const std::string& listPath);

// Whether ENTRY (a name in the list's folder) is a list being built for the
// list named LIST_NAME, or its journal: exactly ".STEM.new-PID-N" or
// ".STEM.new-PID-N-journal" (STEM of LIST_NAME), PID and N decimal numbers without sign
// or leading zeros (PID at least 1).
bool IsTemporaryOf(std::string_view entry, std::string_view listName);

// Creates a new empty regular file beside LIST_PATH under the name of a
// list being built by this process (never an existing file, never through
// a link) and puts its path in TEMPORARY_PATH. DB3_OK, or the status of the
// failure with its cause noted (FerroxStatus.h).
std::int32_t CreateTemporaryFor(const std::string& listPath, std::string& temporaryPath);

// Removes the files that dead writers of the list at LIST_PATH left beside
// it: its lists being built and their journals, regular files only. The
// caller holds the list's lock. Failures are ignored: what cannot be
// removed now is tried again by the next writer.
void RemoveAbandonedFilesOf(const std::string& listPath);

// Removes the list being built at TEMPORARY_PATH and its journal.
void RemoveTemporary(const std::string& temporaryPath);

}  // namespace ferrox
