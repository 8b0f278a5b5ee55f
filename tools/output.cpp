// Standard output and standard error: bytes through the C runtime, or UTF-16
// to a Windows console.
#include "output.h"

#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#endif

const char kProgramName[] = "md5hex";

namespace {

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
        if (!::WriteConsoleW(h, p, (DWORD)n, &written, NULL) || written == 0)
            break;
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
}

} // namespace

void Out(const std::string &text)
{
    Write(stdout, text);
}

void Err(const std::string &text)
{
    std::fflush(stdout);
    Write(stderr, text);
}

void Error(const std::string &message)
{
    Err(std::string(kProgramName) + ": " + message + "\n");
}
