// Starting Vorkel.exe, finding its windows and driving them from outside.
#include "vorkel_process.h"

#include "program_texts.h"
#include "resource.h"

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

testing::AssertionResult VorkelProcess::Start(const std::wstring &exe,
                                              const std::wstring &arguments)
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
    std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
    BOOL started = ::CreateProcessW(exe.c_str(), &commandLine[0], NULL, NULL, TRUE, 0, NULL,
                                    NULL, &startup, &m_process);
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
            for (HWND hWnd : Gui().Windows())
                if (TextOf(hWnd) == kMainCaption)
                    m_hMain = hWnd;
            return m_hMain != NULL || Exited(0, exitCode);
        },
        20000);
    if (m_hMain != NULL)
        return testing::AssertionSuccess();
    if (Exited(0, exitCode))
        return testing::AssertionFailure()
               << "the program ended with code " << exitCode << " before its main window came";
    testing::AssertionResult failure = testing::AssertionFailure();
    failure << "no main window came; the program's windows:";
    for (HWND hWnd : Gui().Windows())
        failure << " " << testing::PrintToString(TextOf(hWnd));
    return failure;
}

testing::AssertionResult VorkelProcess::Browse(const std::wstring &path)
{
    Click(m_hMain, IDC_BROWSE);
    HWND hChooser = NULL;
    if (!WaitUntil([&] { return (hChooser = Gui().FileChooser(m_hMain)) != NULL; }))
        return testing::AssertionFailure() << "no file chooser owned by the main window";
    AnswerFileChooser(hChooser, path);
    if (!WaitUntil([&] { return ItemText(IDC_PATH) == path && Gui().FileChooser(m_hMain) == NULL; }))
        return testing::AssertionFailure()
               << "the path box shows " << testing::PrintToString(ItemText(IDC_PATH))
               << ", not " << testing::PrintToString(path);
    return testing::AssertionSuccess();
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
