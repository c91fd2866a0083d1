#include "util/OutputName.h"

#include "framework/PathParts.h"
#include "framework/TextClass.h"

std::string InputTitle(const std::string& input) {
    std::string title = FileNameOf(input);
    if (const std::size_t dot = title.rfind('.'); dot != std::string::npos) {
        title.erase(dot);
    }
    return title;
}

Status CheckDerivedTitle(std::string_view title) {
    if (title.find('\\') != std::string_view::npos) {
        return Status::Error("its file name holds '\\', which a Sample List's name cannot hold");
    }
    return Status::Ok();
}

Status CheckOutputText(std::string_view output) {
    if (HasControl(output)) {
        return Status::Error(
            "its path holds a control character, which the data system's sample-list location "
            "cannot record");
    }
    if (const std::string_view fault = ReservedNameFault(FileNameOf(std::string(output)));
        !fault.empty()) {
        return Status::Error(std::string(fault));
    }
    return Status::Ok();
}
