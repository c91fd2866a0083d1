// ClashCache keeps, between conversions, what the clash check learnt of the
// Sample Lists in one folder (those with one extension): each list's file
// identity and the data file names that stand for all of its own
// (DataFileIndex), so that a list that did not change is not read again.
// One file per folder and extension, in the user's cache folder:
// $XDG_CACHE_HOME/korr2ld/data-files-<hash>, by default under ~/.cache.
//
// It is trusted no further than it can show:
// - An entry serves only while the list's device, inode, size, modification
//   time and status change time are those it had just before it was read.
//   Any write to a file, a rename onto its name and any change of its times
//   set its change time to the present, and nothing sets it back, so a
//   list that still has the times it had then holds what was read, with one
//   exception: a change within the same tick of the file system's clock
//   leaves the times as they were. An entry is therefore kept only for a
//   list whose last change lay at least kSettledSeconds before it was read
//   (git's index calls the others "racily clean"), and whose identity,
//   the change counter in its header included, was the same after the read
//   as before it.
// - A list that a conversion has just written is kept at once, from the
//   names it wrote (PutWritten), though its times are not settled. Its
//   identity is the one the record library took of the committed list from
//   the list's own descriptor, with the writer lock still held
//   (DB3_IDENTITY_COMMITTED), so it is the file written, unchanged by any
//   writer through the library. Such an entry serves only while the change
//   counter in the list's header is that one too: a change within the
//   commit's clock tick that leaves size and times as they were must then
//   also not go through SQLite, which moves the counter at every commit
//   (docs/reliability.md, "Left alone").
// - A file that is missing, unreadable, larger than kMaxFileBytes, written
//   for another folder or format version, or damaged in any way (every
//   line is parsed strictly, and the whole is checked against the SHA-256
//   on its last line) counts as empty and is replaced.
// - It never fails a conversion and says nothing: a file that cannot be
//   written only leaves the next conversion to read the lists again.
// - It is the program's own file: a symbolic link at its name is neither
//   read nor written through; saving replaces the link itself.
//
// The file (docs/reliability.md): a header line "korr2ld data file
// names", format version, folder, extension; one line per list: its name,
// device, inode, size, modification and change time (seconds and
// nanoseconds each), change counter, 1 when the conversion that wrote it
// kept it (else 0), then its data file names; last, "end",
// the number of lists and the SHA-256 of every byte before that line.
// Fields are separated by tabs and escaped as EscapeTsvField does.
#pragma once

#include <ctime>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "datasystem/ferrox.h"

class ClashCache {
public:
    static constexpr int kFormatVersion = 2;
    static constexpr std::time_t kSettledSeconds = 2;
    static constexpr std::size_t kMaxFileBytes = 16 * 1024 * 1024;

    // The cache of the lists in FOLDER (absolute, with its trailing '/')
    // with EXTENSION (".sdb", or empty), loaded from the user's cache
    // folder; nothing when there is no cache folder.
    static std::optional<ClashCache> ForFolder(const std::string& folder,
                                               const std::string& extension);

    // The same, kept in the file FILE.
    ClashCache(std::string file, std::string folder, std::string extension);

    // The data file names kept for the list NAME, when the list still has
    // the file status IDENTITY gives (its change counter too, where
    // NeedsCounter says so); null otherwise. Valid until the next call.
    const std::vector<std::string>* Find(const std::string& name,
                                         const DB3_LIST_IDENTITY& identity);

    // Whether Find needs the change counter of the list NAME's identity.
    bool NeedsCounter(const std::string& name) const;

    // Keeps NAMES for the list NAME, read from READ_AT (CLOCK_REALTIME) on,
    // whose identity was BEFORE just before that and AFTER once it was read:
    // only when the two are the same and the list's times lie at least
    // kSettledSeconds before READ_AT.
    void Put(const std::string& name, const DB3_LIST_IDENTITY& before,
             const DB3_LIST_IDENTITY& after, const timespec& readAt,
             std::vector<std::string> names);

    // Keeps NAMES, the names of the records this process has just written,
    // for the list NAME that they made: WRITTEN is its identity, change
    // counter included, once it was in place.
    void PutWritten(const std::string& name, const DB3_LIST_IDENTITY& written,
                    std::vector<std::string> names);

    // Writes the lists found or put since the file was loaded, and no other,
    // when that changes the file; a failure is ignored.
    void Save() const;

private:
    struct Entry {
        DB3_LIST_IDENTITY identity{};
        std::vector<std::string> names;
        bool written = false;  // put by the conversion that wrote the list

        // Whether the list, whose identity is NOW, still holds NAMES.
        bool Serves(const DB3_LIST_IDENTITY& now) const;
    };

    // Loads the entries of CONTENT; false, with none loaded, when it is
    // not a whole cache file of this folder and format version.
    bool Parse(const std::string& content);
    bool ParseEntry(std::string_view line);
    // The file's content for the lists found or put.
    std::string Format() const;

    std::string m_strFile;
    std::string m_strFolder;
    std::string m_strExtension;
    // Loaded and not yet found; what is left at Save is gone from the folder.
    std::map<std::string, Entry> m_loaded;
    // Found unchanged, or put: what Save writes.
    std::map<std::string, Entry> m_kept;
    bool m_bStale = false;    // the file is damaged or unusable
    bool m_bDropped = false;  // a list loaded was found changed
    bool m_bPut = false;
};
