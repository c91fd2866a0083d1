// The files the record library keeps beside a Sample List while it writes
// one, and their clean-up.
//
// For the list DIR/NAME (NAME with its extension, e.g. "plate7.sdb"):
//   DIR/.NAME.lock          the writers' lock (ListLock.h), empty;
//   DIR/.NAME.new-PID-N     the list being built by a conversion, renamed
//                           over DIR/NAME when it is committed; the storage
//                           engine keeps its journal beside it as
//                           DIR/.NAME.new-PID-N-journal.
// All three begin with '.', so that file choosers do not offer them, and
// belong to whoever holds the lock of NAME: files of a writer that died
// (kill -9, a power cut) are removed by the next writer into the folder,
// and only once the lock shows that their owner is gone.
#pragma once

#include <string>

namespace ferrox {

// DIR/ of PATH, with its trailing '/'; empty for a bare name.
std::string DirectoryOf(const std::string& path);
// The lock file of the list at LIST_PATH.
std::string LockPathFor(const std::string& listPath);
// Creates a new empty file beside LIST_PATH under the name of a list being
// built, and returns that name; empty on failure with errno set.
std::string CreateTemporaryFor(const std::string& listPath);
// Removes the files beside the lists in the folder of LIST_PATH whose
// writers are gone: for every list whose lock can be taken at once, its
// lists being built, their journals and its lock file. The caller holds
// the lock of LIST_PATH itself: its lists being built are removed, its
// lock file kept. Failures are ignored: what cannot be removed now is
// tried again by the next writer.
void RemoveAbandonedFilesBeside(const std::string& listPath);
// Removes the list being built at TEMPORARY_PATH and its journal.
void RemoveTemporary(const std::string& temporaryPath);

}  // namespace ferrox
