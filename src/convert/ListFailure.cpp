#include "convert/ListFailure.h"

#include <cctype>
#include <cerrno>
#include <cstring>

#include "datasystem/DataSystemEntries.h"
#include "datasystem/ferrox.h"
#include "framework/File.h"
#include "framework/PathParts.h"
#include "framework/Status.h"

namespace {

// Ok when the folder DIRECTORY can take a new file; otherwise why not.
Status CheckFolder(const std::string& directory) {
    const Result<FileStatus> st = StatusAt(directory);
    if (!st.ok()) {
        const int error = st.status().ErrorNumber();
        return error == ENOENT
                   ? Status::Error("The folder " + directory + " does not exist")
                   : Status::FromErrno("The folder " + directory + " cannot be used", error);
    }
    if (st.value().kind != FileKind::kDirectory) {
        return Status::Error(directory + " is not a folder");
    }
    if (const Status writable = CheckWritable(directory); !writable.ok()) {
        return Status::FromErrno("The folder " + directory + " cannot be written",
                                 writable.ErrorNumber());
    }
    return Status::Ok();
}

// Ok when PATH is missing or can be written; otherwise why not.
Status CheckFile(const std::string& path) {
    if (Exists(path)) {
        if (const Status writable = CheckWritable(path); !writable.ok()) {
            return Status::FromErrno("The file " + path + " cannot be written",
                                     writable.ErrorNumber());
        }
    }
    return Status::Ok();
}

std::string Capitalized(std::string text) {
    if (!text.empty()) {
        text.front() = static_cast<char>(std::toupper(static_cast<unsigned char>(text.front())));
    }
    return text;
}

// What the user can do about a failure with STATUS of a list in FOLDER;
// empty when the cause says it already.
std::string Advice(std::int32_t status, const std::string& folder) {
    switch (status) {
        case DB3_E_LOCATION:
        case DB3_E_READ_ONLY:
            if (!Exists(folder)) {
                return "Create the folder, or choose another folder for the Sample List.";
            }
            return "Choose a folder you can write to, or ask for the right to write there.";
        case DB3_E_EXISTS:
        case DB3_E_NOT_SAMPLE_LIST:
            return "Choose another name for the Sample List, or move that file away.";
        case DB3_E_BUSY:
            return "";  // the cause says to try again
        case DB3_E_TOO_LARGE:
            return "Raise the file size limit (ulimit -f), or convert fewer sample lines at a "
                   "time.";
        case DB3_E_FULL:
            return "Free space on that disk, or choose a folder on another disk.";
        case DB3_E_IO:
            return "Check the disk and the system's log, then convert again.";
        default:
            return "Convert again; if it fails again, free memory and disk space and check the "
                   "system's log.";
    }
}

std::string Cause(std::int32_t status, const std::string& listPath, const std::string& folder) {
    // The folder's own state says most about a location that cannot be
    // used; otherwise the library's cause, naming the file and what the
    // system said of it, says more than the status.
    if (status == DB3_E_LOCATION || status == DB3_E_READ_ONLY) {
        Status usable = CheckFolder(folder);
        if (usable.ok()) {
            usable = CheckFile(listPath);
        }
        if (!usable.ok()) {
            return usable.message();
        }
    }
    const DataSystemEntries& ds = DataSystem();
    if (ds.DB3GetFailureCause != nullptr) {
        if (const std::string cause = ds.DB3GetFailureCause(DB3_SAMPLE_LIST, nullptr);
            !cause.empty()) {
            return Capitalized(cause);
        }
    }
    switch (status) {
        case DB3_E_LOCATION:
        case DB3_E_READ_ONLY: {
            return status == DB3_E_LOCATION
                       ? "The data system's sample-list location could not be used"
                       : "The file " + listPath + " or its folder cannot be written";
        }
        case DB3_E_EXISTS:
            return "A file named " + listPath + " already exists; it was left as it is";
        case DB3_E_BUSY:
            return "Another program is writing " + listPath + "; try again when it has finished";
        case DB3_E_TOO_LARGE:
            return "The file would grow beyond the largest file size this session allows";
        case DB3_E_FULL:
            return "The disk that holds " + folder + " is full";
        case DB3_E_NOT_SAMPLE_LIST:
            return listPath + " is not a Sample List, or it is damaged; it was left as it is";
        case DB3_E_IO:
            return "The system reported an input/output error on " + listPath;
        default: {
            std::string text = ds.DB3StatusText != nullptr ? ds.DB3StatusText(status) : "";
            if (!text.empty() && text.back() == '.') {
                text.pop_back();
            }
            return Capitalized(text);
        }
    }
}

}  // namespace

std::string ListFailureCause(std::int32_t status, const std::string& listPath, bool fromCheck) {
    if (!DataSystem().ours) {
        // Only the library knows what its statuses mean; 13 from the
        // first open is the one the data system's contract names.
        if (fromCheck && status == DB3_E_LOCATION) {
            return "The data system's record library cannot use the location of " + listPath +
                   " (status 13).";
        }
        return "The data system's record library refused " + listPath + " with its status " +
               std::to_string(status) + ".";
    }
    const PathParts parts = SplitPath(listPath);
    std::string folder = parts.drive + parts.directory;
    // Without its final separator, unless it is a root (a drive's too).
    const bool separator =
        !folder.empty() && (folder.back() == '/' || folder.back() == kNativeSeparator);
    if (separator && folder.size() > parts.drive.size() + 1) {
        folder.pop_back();
    }
    if (folder.empty()) {
        folder = ".";
    }
    const std::string advice = Advice(status, folder);
    return Cause(status, listPath, folder) + " (status " + std::to_string(status) + ")." +
           (advice.empty() ? "" : " " + advice);
}
