#include "datasystem/SampleListLocation.h"

#include <cstring>
#include <utility>

#include "datasystem/FixedField.h"
#include "framework/PathParts.h"

namespace {

// PATH's parts as the location record holds them.
struct LocationTexts {
    std::string directory;
    std::string name;
    std::string extension;
};

LocationTexts SplitLocation(const std::string& path) {
    PathParts parts = SplitPath(path);
    LocationTexts texts{parts.drive + parts.directory, std::move(parts.name),
                        std::move(parts.extension)};
    if (!texts.extension.empty() && texts.extension.front() == '.') {
        texts.extension.erase(0, 1);
    }
    return texts;
}

std::optional<LocationPart> UnfitPart(const std::string& path, const LocationTexts& texts) {
    if (path.find('\0') != std::string::npos) {
        return LocationPart::kPath;
    }
    if (texts.directory.size() >= sizeof(GLOBAL_FILE_INFO::szDirectory)) {
        return LocationPart::kDirectory;
    }
    if (texts.name.size() >= sizeof(GLOBAL_FILE_INFO::szName)) {
        return LocationPart::kName;
    }
    if (texts.extension.size() >= sizeof(GLOBAL_FILE_INFO::szExtension)) {
        return LocationPart::kExtension;
    }
    return std::nullopt;
}

}  // namespace

const char* LocationPartName(LocationPart part) {
    switch (part) {
        case LocationPart::kPath:
            return "path";
        case LocationPart::kDirectory:
            return "directory";
        case LocationPart::kName:
            return "name";
        case LocationPart::kExtension:
            return "extension";
    }
    return "path";
}

std::optional<LocationPart> UnfitLocationPart(const std::string& path) {
    return UnfitPart(path, SplitLocation(path));
}

Result<SampleListLocation> LocateSampleList(const std::string& path) {
    LocationTexts texts = SplitLocation(path);
    if (const std::optional<LocationPart> unfit = UnfitPart(path, texts)) {
        return Status::Error(*unfit == LocationPart::kPath
                                 ? std::string("its path holds a zero byte")
                                 : std::string("its ") + LocationPartName(*unfit) +
                                       " is too long for the data system's sample-list location");
    }
    SampleListLocation location;
    std::memset(&location.info, 0, sizeof location.info);
    WriteFixedField(location.info.szDirectory, texts.directory);
    WriteFixedField(location.info.szName, texts.name);
    WriteFixedField(location.info.szExtension, texts.extension);
    location.name = std::move(texts.name);
    return location;
}

std::string SampleListPath(const GLOBAL_FILE_INFO& location, std::string_view name) {
    std::string path(FixedFieldText(location.szDirectory));
    path += name;
    const std::string_view extension = FixedFieldText(location.szExtension);
    if (!extension.empty()) {
        path += '.';
        path += extension;
    }
    return path;
}

Result<std::string> SampleListPathAsGiven(const std::string& path) {
    Result<SampleListLocation> located = LocateSampleList(path);
    if (!located.ok()) {
        return located.status();
    }
    if (located.value().name.empty()) {
        return Status::Error("it names no file, only a directory or an extension");
    }
    std::string written = SampleListPath(located.value().info, located.value().name);
    if (written != path) {
        return Status::Error("the data system would write " + written + " instead" +
                             (!path.empty() && path.back() == '.'
                                  ? ": a Sample List name cannot end in a dot"
                                  : ""));
    }
    return written;
}
