#include "framework/FileException.h"

#include <utility>

#include "framework/SystemError.h"

namespace {

std::string Reason(CFileException::Cause cause, int osError) {
    if (cause == CFileException::lineTooLong) {
        return "line longer than 16 MiB";
    }
    return SystemErrorText(osError);
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
