// CProfileFile reads and writes an INI profile file: "[Section]" lines
// followed by "Key=Value" lines, with comment lines starting with ';' or
// '#'. Names of sections and keys compare without regard to ASCII case.
// Texts are 8-bit bytes and are never transcoded. How the lines are read
// (line ends, byte-order mark, blanks, repeated sections and keys, lines
// that are none of these) is told in framework/ProfileText.h; in short, the
// first of repeated keys counts, and lines that cannot be read are kept.
//
// Loading happens once, in the constructor, and has three outcomes:
//   kMissing  the file does not exist: an empty profile, nothing wrong;
//   kLoaded   the file was read; whatever bytes it holds, it is used;
//   kIgnored  the file exists but cannot be used: it cannot be read, is
//             not a regular file (it is never opened then, so a pipe or a
//             device cannot block or be disturbed) or is larger than
//             kMaxFileSize (64 MiB: far more than any settings file holds,
//             comments and all; the file is read once, into memory of its
//             size). Every read then gives its default and
//             GetLoadMessage() says "<file>: ignored: <reason>".
// What Save() does with an ignored file is the caller's choice: the
// program's own settings file (Korr2LD.INI: the dialog starts with the
// defaults, and its close keeps the file as "<file>.bad", or ".bad.1",
// ".bad.2"... when that name is taken, before it saves the six values) is
// moved aside and written anew, so it is never lost; a file that belongs
// to another program (the data system's Lumenda.ini) is left as it is and
// the save fails.
//
// A file whose mode has no write bit is read-only: Save() never rewrites
// it (whoever runs, root included) and fails with "<file> is read-only".
//
// Writes change the profile in memory; Save() replaces the file atomically
// (AtomicFile). The file keeps every byte a write did not change: a write
// replaces the value of the key's line (the one that reads), or adds the
// line "Key=Value" after the last key line of the section, or adds the
// section at the end of the file (see CProfileText::SetValue). Comments,
// blank and stray lines, repeated keys and sections, line ends, a
// byte-order mark and any other bytes stay as they are, so a Save without
// writes gives the file back unchanged.
//
// Every value round-trips exactly: a value with leading or trailing blanks,
// or one that starts and ends with a double quote, is written between
// double quotes, and one pair of enclosing double quotes is removed on
// reading (so a hand-written Key="  x" reads as "  x"). A value holding a
// line break or another control character cannot be kept on one line and
// is refused.
//
// Not thread-safe; one object per file and thread.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "framework/ProfileText.h"
#include "framework/Status.h"
#include "framework/Types.h"

class CProfileFile {
public:
    enum class LoadState { kMissing, kLoaded, kIgnored };

    // What Save() does with a file that was ignored at load.
    enum class IgnoredFile {
        kKeepAside,  // moved aside as "<file>.bad", then the profile is written
        kLeaveAlone  // left as it is: the save fails, saying why
    };

    static constexpr std::size_t kMaxFileSize = 64 * 1024 * 1024;

    // Loads PATH at once (see above); never throws for a bad file.
    explicit CProfileFile(std::string path);
    ~CProfileFile();
    CProfileFile(const CProfileFile&) = delete;
    CProfileFile& operator=(const CProfileFile&) = delete;

    const std::string& GetPath() const { return m_strPath; }
    LoadState GetLoadState() const { return m_loadState; }
    // "<file>: ignored: <reason>" when the load state is kIgnored, else empty.
    std::string GetLoadMessage() const;

    // The value of KEY in SECTION, or DEFAULT_VALUE when the file, the
    // section or the key is missing.
    std::string GetString(std::string_view section, std::string_view key,
                          std::string_view defaultValue) const;
    BOOL HasKey(std::string_view section, std::string_view key) const;
    // The keys of SECTION in file order, each once. A key written anew
    // follows those of the first section of that name.
    std::vector<std::string> GetKeys(std::string_view section) const;

    // Sets KEY in SECTION to VALUE, creating both as needed. Returns FALSE
    // and changes nothing when the section or key name is not valid (empty,
    // leading or trailing blanks, a control character, ']' in a section or
    // '=' in a key, a key starting with ';', '#' or '['), VALUE holds a
    // control character such as a line break, or the file would grow larger
    // than kMaxFileSize; GetError() says why.
    BOOL WriteString(std::string_view section, std::string_view key, std::string_view value);

    // Replaces the file with the profile; TRUE on success. On failure the
    // file is unchanged and GetError() names it and the reason: "<file> is
    // read-only", "<file> cannot be used: <reason>" for an ignored file left
    // alone, or why it could not be kept aside or written.
    BOOL Save(IgnoredFile ignored = IgnoredFile::kKeepAside);

    // The reason of the last failed WriteString or Save, else empty.
    const std::string& GetError() const { return m_strError; }

private:
    void Load();
    void Ignore(const std::string& reason);
    BOOL MoveBadFileAside();
    // Ok unless the file is a regular file without a write bit in its mode.
    Status CheckWritable() const;

    std::string m_strPath;
    LoadState m_loadState = LoadState::kMissing;
    std::string m_strLoadReason;  // why the file was ignored, else empty
    std::string m_strError;
    CProfileText m_text;
};
