// `korr2ld-cli locations`: reads and sets the data system's global file
// locations of section "SystemList", so that the dialog's method lists can be
// pointed at the method directories without editing the settings file.
//
// `list` and `get` print one line per location: the key, the directory, the
// extension and the file base name, separated by tabs (escaped as `show
// --format tsv` escapes). `set` stores a directory made absolute with a
// trailing separator; it refuses a directory that does not exist, because
// the dialog would silently show an empty list for it. The extension, when
// not given, and the base name are kept from the key's current location.
// `set` takes only the keys Korr2LD uses (whatever their case: they are
// stored as Korr2LD spells them), so that a misspelt key is not stored
// where nothing reads it; `--any-key` stores any well-formed key. Its rules
// and messages are those of convert/LocationSetting.h, which the dialog's
// Method Folders follow too.
#pragma once

#include <ostream>
#include <string>

#include <CLI/CLI.hpp>

#include "convert/LocationSetting.h"

// Adds `locations` with its subcommands `list`, `get` and `set` to APP;
// the chosen one runs after parsing and leaves its exit status in EXIT_CODE.
void AddLocationsCommand(CLI::App& app, int& exitCode);

int RunLocationsList(std::ostream& out, std::ostream& err);
int RunLocationsGet(const std::string& key, std::ostream& out, std::ostream& err);
int RunLocationsSet(const LocationSetting& setting, std::ostream& out, std::ostream& err);
