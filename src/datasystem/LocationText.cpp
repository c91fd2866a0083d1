#include "datasystem/LocationText.h"

#include <cstring>

#include "datasystem/FixedField.h"
#include "framework/TextClass.h"

namespace ostrel {

namespace {

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

bool HasSeparator(std::string_view text) {
    return text.find_first_of("/\\") != std::string_view::npos;
}

}  // namespace

Status CheckTerminated(const GLOBAL_FILE_INFO& info) {
    if (!IsFixedFieldTerminated(info.szDirectory)) {
        return Status::Error("the directory does not fit in 259 characters");
    }
    if (!IsFixedFieldTerminated(info.szName)) {
        return Status::Error("the name does not fit in 255 characters");
    }
    if (!IsFixedFieldTerminated(info.szExtension)) {
        return Status::Error("the extension does not fit in 265 characters");
    }
    return Status::Ok();
}

Result<std::string> FormatLocation(const GLOBAL_FILE_INFO& info) {
    if (Status terminated = CheckTerminated(info); !terminated.ok()) {
        return terminated;
    }
    const std::string_view directory = FixedFieldText(info.szDirectory);
    const std::string_view name = FixedFieldText(info.szName);
    const std::string_view extension = FixedFieldText(info.szExtension);
    if (HasControl(directory) || HasControl(name) || HasControl(extension)) {
        return Status::Error("a control character cannot be written to the settings file");
    }
    if (!directory.empty() && !IsSeparator(directory.back())) {
        return Status::Error("the directory \"" + std::string(directory) +
                             "\" does not end with '/' or '\\'");
    }
    if (HasSeparator(name) || HasSeparator(extension)) {
        return Status::Error("the name or the extension holds '/' or '\\'");
    }
    if (name == "*") {
        return Status::Error("the name \"*\" stands for an empty name");
    }
    if (extension.find('.') != std::string_view::npos) {
        return Status::Error("the extension \"" + std::string(extension) + "\" holds '.'");
    }

    std::string text(directory);
    if (!extension.empty()) {
        text += name.empty() ? std::string_view("*") : name;
        text += '.';
        text += extension;
    } else if (!name.empty()) {
        text += name;
        if (name.find('.') != std::string_view::npos) {
            text += '.';
        }
    }
    return text;
}

Status ParseLocation(std::string_view text, GLOBAL_FILE_INFO& info) {
    std::memset(&info, 0, sizeof info);
    if (text.find('\0') != std::string_view::npos) {
        // It would end its field early and leave bytes after the end.
        return Status::Error("the text holds a zero byte");
    }
    const std::size_t lastSeparator = text.find_last_of("/\\");
    const std::size_t fileStart = lastSeparator == std::string_view::npos ? 0 : lastSeparator + 1;
    const std::string_view directory = text.substr(0, fileStart);
    const std::string_view file = text.substr(fileStart);
    const std::size_t dot = file.rfind('.');
    std::string_view name = dot == std::string_view::npos ? file : file.substr(0, dot);
    const std::string_view extension =
        dot == std::string_view::npos ? std::string_view() : file.substr(dot + 1);
    if (name == "*") {
        name = std::string_view();
    }
    Status status;
    if (!WriteFixedField(info.szDirectory, directory)) {
        status = Status::Error("the directory is longer than 259 characters");
    } else if (!WriteFixedField(info.szName, name)) {
        status = Status::Error("the name is longer than 255 characters");
    } else if (!WriteFixedField(info.szExtension, extension)) {
        status = Status::Error("the extension is longer than 265 characters");
    }
    if (!status.ok()) {
        std::memset(&info, 0, sizeof info);
    }
    return status;
}

}  // namespace ostrel
