// CProfileText holds the bytes of an INI profile exactly as they are on
// disk, finds the sections and keys in them, and edits one key's line at a
// time while every other byte stays as it was.
//
// How the bytes are read:
// - lines end at "\r\n", "\n" or a lone "\r"; the last line may have none;
// - a UTF-8 byte-order mark at the very start is not part of the first line;
// - each line is trimmed of blanks (space, tab) before it is classified:
//   empty: blank; starting with ';' or '#': comment; starting with '[' and
//   holding a ']': a section header, named by the trimmed text between '['
//   and the first ']' (text after the ']' does not count); holding '=' after
//   its first character: KEY=VALUE, the key and the value trimmed; anything
//   else: a stray line, kept but not read;
// - keys before the first section header belong to no section;
// - names compare ignoring ASCII case; a section may appear several times,
//   and a key several times: the first of them in file order counts, over
//   all the sections of that name.
//
// SetValue changes the line of the key that counts, or adds one; what it
// sets is what GetValue gives afterwards, whatever the bytes around it.
// It expects names and text that fit on one line (see CProfileFile, which
// checks them).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class CProfileText {
public:
    explicit CProfileText(std::string bytes = std::string());

    const std::string& GetBytes() const { return m_bytes; }

    // The trimmed text after '=' of the first KEY in SECTION (as stored:
    // quotes are the caller's business), or nothing.
    std::optional<std::string_view> GetValue(std::string_view section, std::string_view key) const;
    // The keys of SECTION, each once, as first written, in file order.
    std::vector<std::string> GetKeys(std::string_view section) const;

    // Makes TEXT the value of KEY in SECTION:
    // - a key that is there keeps its line up to and including '=' and its
    //   line end; only what follows the '=' becomes TEXT;
    // - a missing key gets the line KEY=TEXT after the last key line of the
    //   first section of that name (after its header when it has none);
    // - a missing section is added at the end of the file, after a blank
    //   line when the file's last line is not blank.
    // A line that had no line end (the file's last) gets one before a line
    // is added after it. New lines end with "\r\n" when most line ends of
    // the file are "\r\n", else with "\n".
    void SetValue(std::string_view section, std::string_view key, std::string_view text);

    // The size of the bytes after SetValue with the same arguments.
    std::size_t SizeAfter(std::string_view section, std::string_view key,
                          std::string_view text) const;

private:
    struct Line {
        std::size_t begin = 0;    // first byte of the line
        std::size_t textEnd = 0;  // first byte of the line end
        std::size_t end = 0;      // first byte after the line end
    };
    // Only the lines a write may need are kept (key lines, the line a new
    // key follows, the last line), so that a file of many comment lines
    // takes no memory beyond its bytes.
    struct Entry {
        Line line;               // the key's line
        std::size_t valueBegin;  // first byte after '='
        std::string name;        // the key as written
    };
    struct Section {
        Line addAfter;  // the line a new key follows
        std::vector<Entry> entries;
        std::unordered_map<std::string, std::size_t> byName;  // folded key -> entries index
    };

    // One change of the bytes: ERASE bytes at POSITION replaced by INSERT.
    struct Edit {
        std::size_t position;
        std::size_t erase;
        std::string insert;
    };

    void Parse();
    const Entry* FindEntry(std::string_view section, std::string_view key) const;
    Edit PlanSetValue(std::string_view section, std::string_view key, std::string_view text) const;

    std::string m_bytes;
    std::optional<Line> m_lastLine;
    std::unordered_map<std::string, Section> m_sections;  // by folded name
    std::string m_newLine = "\n";
};
