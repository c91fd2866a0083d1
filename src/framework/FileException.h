// The framework's file exception: raised when reading a text file fails for
// a reason other than its end (an operating-system read error, or a line
// longer than the reader accepts), and when writing to a text file fails.
// It names the file, the line where that is known, and the reason, so that
// its message can be shown to a user as is:
//
//   "<file>: line <n>: <reason>"   (or "<file>: <reason>" when the line is 0)
//
// where reason is the operating system's text for osError (strerror) for
// `generic`, and "line longer than 16 MiB" for `lineTooLong`.
#pragma once

#include <stdexcept>
#include <string>

class CFileException : public std::runtime_error {
public:
    enum Cause {
        generic = 1,      // an operating-system error; osError holds errno
        lineTooLong = 2,  // a line exceeded the reader's limit
    };

    CFileException(Cause cause, int osError, std::string fileName, long line);

    Cause m_cause;
    int m_lOsError;  // errno of the failure, 0 when not an OS error
    std::string m_strFileName;
    long m_nLine;  // 1-based line being read, 0 when not known
};
