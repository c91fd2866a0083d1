#include "datasystem/LocationText.h"

#include <cstring>

namespace ostrel {

namespace {

template <std::size_t N>
bool IsTerminated(const char (&field)[N]) {
    return std::memchr(field, '\0', N) != nullptr;
}

// The text of a field known to be terminated.
template <std::size_t N>
std::string_view FieldText(const char (&field)[N]) {
    return std::string_view(field, strnlen(field, N));
}

template <std::size_t N>
bool CopyField(char (&field)[N], std::string_view text) {
    if (text.size() >= N) {
        return false;
    }
    if (!text.empty()) {
        std::memcpy(field, text.data(), text.size());
    }
    field[text.size()] = '\0';
    return true;
}

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

bool HasSeparator(std::string_view text) {
    return text.find_first_of("/\\") != std::string_view::npos;
}

bool HasControl(std::string_view text) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::string InfoProblem(const GLOBAL_FILE_INFO& info) {
    if (!IsTerminated(info.szDirectory)) {
        return "the directory does not fit in 259 characters";
    }
    if (!IsTerminated(info.szName)) {
        return "the name does not fit in 255 characters";
    }
    if (!IsTerminated(info.szExtension)) {
        return "the extension does not fit in 265 characters";
    }
    return std::string();
}

bool FormatLocation(const GLOBAL_FILE_INFO& info, std::string& text, std::string& why) {
    text.clear();
    why = InfoProblem(info);
    if (!why.empty()) {
        return false;
    }
    const std::string_view directory = FieldText(info.szDirectory);
    const std::string_view name = FieldText(info.szName);
    const std::string_view extension = FieldText(info.szExtension);
    if (HasControl(directory) || HasControl(name) || HasControl(extension)) {
        why = "a control character cannot be written to the settings file";
    } else if (!directory.empty() && !IsSeparator(directory.back())) {
        why = "the directory \"" + std::string(directory) + "\" does not end with '/' or '\\'";
    } else if (HasSeparator(name) || HasSeparator(extension)) {
        why = "the name or the extension holds '/' or '\\'";
    } else if (name == "*") {
        why = "the name \"*\" stands for an empty name";
    } else if (extension.find('.') != std::string_view::npos) {
        why = "the extension \"" + std::string(extension) + "\" holds '.'";
    }
    if (!why.empty()) {
        return false;
    }

    text = directory;
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
    return true;
}

bool ParseLocation(std::string_view text, GLOBAL_FILE_INFO& info, std::string& why) {
    std::memset(&info, 0, sizeof info);
    why.clear();
    if (text.find('\0') != std::string_view::npos) {
        // It would end its field early and leave bytes after the end.
        why = "the text holds a zero byte";
        return false;
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
    if (!CopyField(info.szDirectory, directory)) {
        why = "the directory is longer than 259 characters";
    } else if (!CopyField(info.szName, name)) {
        why = "the name is longer than 255 characters";
    } else if (!CopyField(info.szExtension, extension)) {
        why = "the extension is longer than 265 characters";
    }
    if (!why.empty()) {
        std::memset(&info, 0, sizeof info);
        return false;
    }
    return true;
}

}  // namespace ostrel
