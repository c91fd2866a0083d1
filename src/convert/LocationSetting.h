// Setting one of the data system's global file locations (section
// "SystemList") from a directory and an extension a user gave: the rules
// and messages of `korr2ld-cli locations set` and of the dialog's Method
// Folders, kept once.
//
// A location is set in three steps, so that a caller setting several can
// check them all before it stores any:
//   1. CheckLocationSetting: what the user asked for can be a location at
//      all (a key Korr2LD uses, unless any key is allowed; a well-formed
//      key; an extension without a directory separator). Nothing is read.
//   2. PrepareLocation: the directory made absolute with a trailing
//      separator, existing and a directory, short enough for the record;
//      the extension (without a leading dot) given, or kept from the key's
//      current location; the record that would be stored.
//   3. StoreLocation: the record stored through the settings library
//      (StoreGlobalFile), which keeps the rest of the settings file as it is.
// Each failure is one clause for the user ("the directory /x does not
// exist; nothing was stored"); text the user gave is shown escaped
// (util/PrintableEscape.h) where it could hold anything, as keys and
// extensions can.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "datasystem/ostrel.h"
#include "framework/Status.h"

struct LocationSetting {
    std::string key;
    std::string directory;                 // relative: to the current directory
    std::optional<std::string> extension;  // nothing: keep the current one
    bool anyKey = false;                   // a key Korr2LD does not use is taken too
};

struct PreparedLocation {
    std::string key;  // a key Korr2LD uses as Korr2LD spells it, another as given
    GLOBAL_FILE_INFO info;
};

// KEY as Korr2LD spells it when it is one of the keys Korr2LD uses
// (datasystem/LocationFields.h), compared as the settings file compares
// keys, without regard to ASCII case; nullptr otherwise.
const char* KnownLocationKey(const std::string& key);

// "SAMPLES_DB, MS_FUNC_DB, LC_DB and MACRO".
std::string KnownLocationKeyList();

// Step 1. Fails with the clause that says what is wrong.
Status CheckLocationSetting(const LocationSetting& setting);

// Steps 1 and 2: reads the key's current location (for the extension kept)
// and the directory, and changes nothing.
Result<PreparedLocation> PrepareLocation(const LocationSetting& setting);

// What the dialog shows and `locations set` says with the data system's own
// settings library, which Korr2LD uses to publish SAMPLES_DB and otherwise
// only reads: the folders there belong to the data system.
inline constexpr const char* kLocationsSetInDataSystem =
    "these folders are set in the data system itself; Korr2LD only reads them there";

// Ok when Korr2LD may store locations other than SAMPLES_DB: only with its
// own settings library. Otherwise fails with kLocationsSetInDataSystem.
Status LocationsSettable();

// Step 3, after LocationsSettable (which it repeats). Fails with the settings library's sentence
// and "; the settings file was not changed".
Status StoreLocation(const PreparedLocation& location);
