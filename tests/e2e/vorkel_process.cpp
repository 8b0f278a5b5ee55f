// Starting Vorkel.exe, finding its windows and driving them from outside.
#include "vorkel_process.h"

const wchar_t kMainCaption[] = L"Tesmoor MD5生成器";

bool WaitUntil(const std::function<bool()> &condition, DWORD timeoutMs)
{
    DWORD start = ::GetTickCount();
    while (!condition()) {
        if (::GetTickCount() - start > timeoutMs)
            return condition();
        ::Sleep(10);
    }
    return true;
}

bool Send(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR *result)
{
    DWORD_PTR ignored;
    return ::SendMessageTimeoutW(hWnd, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000,
                                 result != nullptr ? result : &ignored) != 0;
}

std::wstring TextOf(HWND hWnd)
{
    DWORD_PTR length = 0;
    if (!Send(hWnd, WM_GETTEXTLENGTH, 0, 0, &length))
        return L"(no answer)";
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!Send(hWnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]), &copied))
        return L"(no answer)";
    text.resize(copied);
    return text;
}

VorkelProcess::~VorkelProcess()
{
    if (m_process.hProcess != NULL) {
        // A test that failed half-way leaves the program running.
        if (::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) {
            ::TerminateProcess(m_process.hProcess, 1);
            ::WaitForSingleObject(m_process.hProcess, 5000);
        }
        ::CloseHandle(m_process.hThread);
        ::CloseHandle(m_process.hProcess);
    }
    if (m_hOutput != NULL)
        ::CloseHandle(m_hOutput);
}

testing::AssertionResult VorkelProcess::Start(const std::wstring &arguments)
{
    // The pipe's writing end is the only handle the program inherits from
    // us; ours is closed once it has its own.
    SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), NULL, TRUE};
    HANDLE hWrite = NULL;
    if (!::CreatePipe(&m_hOutput, &hWrite, &inheritable, 0))
        return testing::AssertionFailure() << "CreatePipe: error " << ::GetLastError();
    ::SetHandleInformation(m_hOutput, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = hWrite;
    std::wstring commandLine = L"\"" + Inputs().vorkelExe + L"\" " + arguments;
    BOOL started = ::CreateProcessW(Inputs().vorkelExe.c_str(), &commandLine[0], NULL, NULL,
                                    TRUE, 0, NULL, NULL, &startup, &m_process);
    DWORD error = ::GetLastError();
    ::CloseHandle(hWrite);
    if (!started) {
        m_process = {};
        return testing::AssertionFailure() << "CreateProcess: error " << error;
    }

    // The main window, by its caption.
    DWORD exitCode;
    WaitUntil(
        [&] {
            for (HWND hWnd : Windows())
                if (TextOf(hWnd) == kMainCaption)
                    m_hMain = hWnd;
            return m_hMain != NULL || Exited(0, exitCode);
        },
        20000);
    if (m_hMain != NULL)
        return testing::AssertionSuccess();
    if (Exited(0, exitCode))
        return testing::AssertionFailure()
               << "Vorkel.exe ended with code " << exitCode << " before its main window came";
    testing::AssertionResult failure = testing::AssertionFailure();
    failure << "no main window came; the windows of Vorkel.exe:";
    for (HWND hWnd : Windows())
        failure << " " << testing::PrintToString(TextOf(hWnd));
    return failure;
}

std::vector<HWND> VorkelProcess::Windows() const
{
    struct Search {
        DWORD processId;
        std::vector<HWND> found;
    } search = {m_process.dwProcessId, {}};
    ::EnumWindows(
        [](HWND hWnd, LPARAM lParam) -> BOOL {
            Search &s = *reinterpret_cast<Search *>(lParam);
            DWORD processId = 0;
            ::GetWindowThreadProcessId(hWnd, &processId);
            if (processId == s.processId && ::IsWindowVisible(hWnd))
                s.found.push_back(hWnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND VorkelProcess::OwnedWindow() const
{
    for (HWND hWnd : Windows())
        if (::GetWindow(hWnd, GW_OWNER) == m_hMain)
            return hWnd;
    return NULL;
}

HWND VorkelProcess::Focus() const
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    if (!::GetGUIThreadInfo(m_process.dwThreadId, &info))
        return NULL;
    return info.hwndFocus;
}

void VorkelProcess::PressKey(UINT vk) const
{
    HWND hFocus = Focus();
    ::PostMessageW(hFocus, WM_KEYDOWN, vk, 1);
    ::PostMessageW(hFocus, WM_KEYUP, vk, 0xC0000001);
}

bool VorkelProcess::Exited(DWORD timeoutMs, DWORD &exitCode) const
{
    if (::WaitForSingleObject(m_process.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return false;
    return ::GetExitCodeProcess(m_process.hProcess, &exitCode) != FALSE;
}

std::string VorkelProcess::Output()
{
    // Only what is there: the pipe may never report its end, should some
    // other process have inherited the writing end too.
    DWORD available = 0;
    while (::PeekNamedPipe(m_hOutput, NULL, 0, NULL, &available, NULL) && available > 0) {
        std::string chunk(available, '\0');
        DWORD read = 0;
        if (!::ReadFile(m_hOutput, &chunk[0], available, &read, NULL))
            break;
        m_output.append(chunk, 0, read);
    }
    return m_output;
}
