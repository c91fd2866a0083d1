#include "framework/FileException.h"

#include <system_error>
#include <utility>

namespace {

std::string Reason(CFileException::Cause cause, int osError) {
    if (cause == CFileException::lineTooLong) {
        return "line longer than 16 MiB";
    }
    if (osError == 0) {
        return "unknown error";
    }
    // The generic category's message is strerror's text, obtained in a
    // thread-safe way.
    return std::error_code(osError, std::generic_category()).message();
}

std::string Describe(CFileException::Cause cause, int osError, const std::string& fileName,
                     long line) {
    std::string text = fileName;
    text += ": ";
    if (line > 0) {
        text += "line ";
        text += std::to_string(line);
        text += ": ";
    }
    text += Reason(cause, osError);
    return text;
}

}  // namespace

CFileException::CFileException(Cause cause, int osError, std::string fileName, long line)
    : std::runtime_error(Describe(cause, osError, fileName, line)),
      m_cause(cause),
      m_lOsError(osError),
      m_strFileName(std::move(fileName)),
      m_nLine(line) {}
