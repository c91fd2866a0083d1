#include "framework/StdioFile.h"

#include <cerrno>
#include <cstring>

#include "framework/File.h"
#include "framework/FileException.h"

namespace {

// Size of the read buffer; large enough that the stream is asked rarely.
constexpr std::size_t kBufferSize = std::size_t{64} * 1024;

// Bytes read per step of a whole-line read. Any size gives the same lines.
constexpr std::size_t kLineStep = kBufferSize;

const char* FopenMode(CStdioFile::OpenMode mode) {
    // Binary at the C level everywhere: the one text-mode translation
    // (CR before LF) is done by this class, identically on every platform.
    switch (mode) {
        case CStdioFile::modeWrite:
            return "wb";
        case CStdioFile::modeAppend:
            return "ab";
        case CStdioFile::modeRead:
        default:
            return "rb";
    }
}

}  // namespace

CStdioFile::CStdioFile() = default;

CStdioFile::~CStdioFile() {
    Close();
}

BOOL CStdioFile::Open(const std::string& path, OpenMode mode) {
    Close();
    m_strFileName = path;
    m_nLine = 0;
    m_nBufPos = m_nBufEnd = 0;
    m_pStream = OpenStream(path, FopenMode(mode));
    return m_pStream != nullptr ? TRUE : FALSE;
}

BOOL CStdioFile::Close() {
    if (m_pStream == nullptr) {
        return TRUE;
    }
    const bool failed = std::ferror(m_pStream) != 0;
    const int closed = std::fclose(m_pStream);
    m_pStream = nullptr;
    m_nBufPos = m_nBufEnd = 0;
    return (closed == 0 && !failed) ? TRUE : FALSE;
}

BOOL CStdioFile::ReadString(std::string& line) {
    return ReadLineInSteps(line, kLineStep);
}

BOOL CStdioFile::ReadLineInSteps(std::string& line, std::size_t step) {
    line.clear();
    bool readAny = false;
    for (;;) {
        const std::size_t got = ReadChunk(line, step);
        if (got == 0) {
            break;
        }
        readAny = true;
        if (line.back() == '\n' || got < step) {
            break;
        }
        CheckPartialLine(line);
    }
    return FinishLine(line, readAny);
}

void CStdioFile::WriteString(const std::string& text) {
    if (m_pStream == nullptr) {
        throw CFileException(CFileException::generic, EBADF, m_strFileName, 0);
    }
    if (text.empty()) {
        return;
    }
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), m_pStream) != text.size()) {
        const int osError = errno != 0 ? errno : EIO;
        std::clearerr(m_pStream);
        throw CFileException(CFileException::generic, osError, m_strFileName, 0);
    }
}

std::size_t CStdioFile::ReadChunk(std::string& line, std::size_t max) {
    std::size_t total = 0;
    while (total < max) {
        if (m_nBufPos == m_nBufEnd && !FillBuffer()) {
            break;
        }
        const char* start = m_pBuffer.get() + m_nBufPos;
        std::size_t count = m_nBufEnd - m_nBufPos;
        if (count > max - total) {
            count = max - total;
        }
        const void* feed = std::memchr(start, '\n', count);
        if (feed != nullptr) {
            count = static_cast<std::size_t>(static_cast<const char*>(feed) - start) + 1;
        }
        line.append(start, count);
        m_nBufPos += count;
        total += count;
        if (feed != nullptr) {
            break;
        }
    }
    return total;
}

void CStdioFile::CheckPartialLine(const std::string& line) const {
    // One byte of slack: the last byte may be a carriage return that the
    // line feed still to come will remove.
    if (line.size() > m_nMaxLineLength + 1) {
        ThrowLineTooLong();
    }
}

BOOL CStdioFile::FinishLine(std::string& line, bool readAny) {
    if (!readAny) {
        line.clear();
        return FALSE;
    }
    if (!line.empty() && line.back() == '\n') {
        line.pop_back();
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
    }
    if (line.size() > m_nMaxLineLength) {
        ThrowLineTooLong();
    }
    ++m_nLine;
    return TRUE;
}

bool CStdioFile::FillBuffer() {
    m_nBufPos = m_nBufEnd = 0;
    if (m_pStream == nullptr) {
        return false;
    }
    if (!m_pBuffer) {
        m_pBuffer = std::make_unique<char[]>(kBufferSize);
    }
    errno = 0;
    const std::size_t got = std::fread(m_pBuffer.get(), 1, kBufferSize, m_pStream);
    if (std::ferror(m_pStream) != 0) {
        const int osError = errno != 0 ? errno : EIO;
        std::clearerr(m_pStream);
        ThrowReadError(osError);
    }
    m_nBufEnd = got;
    return got > 0;
}

void CStdioFile::ThrowReadError(int osError) const {
    throw CFileException(CFileException::generic, osError, m_strFileName,
                         static_cast<long>(m_nLine + 1));
}

void CStdioFile::ThrowLineTooLong() const {
    throw CFileException(CFileException::lineTooLong, 0, m_strFileName,
                         static_cast<long>(m_nLine + 1));
}
