// Standard output and standard error: bytes through the C runtime, or UTF-16
// to a Windows console; a failed write remembered for the end.
#include "output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#endif

#include "standard_streams.h"

const char kProgramName[] = "md5hex";

namespace {

// A write to a console that failed: the C runtime's error flag doesn't see
// those. [0] standard output, [1] standard error.
bool consoleFailed[2];
bool outputClosed; // by FinishOutput

#ifdef _WIN32
// Writes text to the console behind handle and returns true, or returns false
// when the handle is not a console. The C runtime's buffer for the same
// stream is flushed first: it may hold what the core wrote with printf.
bool WriteConsoleText(DWORD handleId, std::FILE *stream, const std::string &text)
{
    HANDLE h = ::GetStdHandle(handleId);
    DWORD mode;
    if (h == NULL || h == INVALID_HANDLE_VALUE || !::GetConsoleMode(h, &mode))
        return false;
    std::fflush(stream);
    if (text.empty())
        return true;
    int n = ::MultiByteToWideChar(CP_ACP, 0, text.data(), (int)text.size(), NULL, 0);
    std::wstring wide(n, L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), (int)text.size(), &wide[0], n);
    for (const wchar_t *p = wide.data(); n > 0;) {
        DWORD written = 0;
        if (!::WriteConsoleW(h, p, (DWORD)n, &written, NULL) || written == 0) {
            consoleFailed[stream == stderr] = true;
            break;
        }
        p += written;
        n -= (int)written;
    }
    return true;
}
#endif

void Write(std::FILE *stream, const std::string &text)
{
#ifdef _WIN32
    if (WriteConsoleText(stream == stdout ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE, stream, text))
        return;
#endif
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

// gnulib's close_stream: closes stream and says whether it failed, that is
// whether a write failed before or closing it did (except for EBADF with
// nothing left to write: a descriptor closed from the start that nobody
// wrote to). *reason: the errno of a failed close, else 0.
bool CloseFailed(std::FILE *stream, int *reason)
{
    bool writeFailed = std::ferror(stream) || consoleFailed[stream == stderr];
    // The Windows C runtime's fclose fails again for an error flag set by a
    // write, errno left as that write set it: cleared, closing says only
    // whether closing fails (as glibc's does).
    std::clearerr(stream);
    bool closeFailed = CloseStandardStream(stream) != 0;
    *reason = closeFailed ? errno : 0;
    // Every write was flushed at once: nothing is ever left to write here.
    return writeFailed || (closeFailed && *reason != EBADF);
}

} // namespace

void Out(const std::string &text)
{
    Write(stdout, text);
}

void Err(const std::string &text)
{
    if (!outputClosed)
        std::fflush(stdout);
    Write(stderr, text);
}

void Error(const std::string &message)
{
    Err(std::string(kProgramName) + ": " + message + "\n");
}

int FinishOutput(int status)
{
    int reason;
    outputClosed = true;
    if (CloseFailed(stdout, &reason)) {
        Error(reason ? std::string("write error: ") + std::strerror(reason) : "write error");
        status = 1;
    }
    if (CloseFailed(stderr, &reason))
        status = 1;
    return status;
}
