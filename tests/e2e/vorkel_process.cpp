// Starting Vorkel.exe, finding its windows and driving them from outside.
#include "vorkel_process.h"

#include "program_texts.h"
#include "resource.h"

testing::AssertionResult VorkelProcess::Start(const std::wstring &exe,
                                              const std::wstring &arguments,
                                              const std::wstring &currentDirectory)
{
    testing::AssertionResult started =
        m_program.Start(exe, L"\"" + exe + L"\" " + arguments, -1, currentDirectory);
    if (!started)
        return started;

    // The main window, by its digest box: its caption is Chinese, which a
    // copy of the program run under another code page may show otherwise.
    DWORD exitCode;
    WaitUntil(
        [&] {
            for (HWND hWnd : Gui().Windows())
                if (::GetDlgItem(hWnd, IDC_DIGEST) != NULL)
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

VorkelProcess::~VorkelProcess()
{
    if (m_hDropHook != NULL)
        ::UnhookWindowsHookEx(m_hDropHook);
}

testing::AssertionResult VorkelProcess::Drop(const std::wstring &hookDll,
                                             const std::vector<std::wstring> &paths)
{
    if (m_hDropHook == NULL) {
        HMODULE hHook = ::LoadLibraryW(hookDll.c_str());
        FARPROC pfnHook = hHook != NULL ? ::GetProcAddress(hHook, "DropHookProc") : NULL;
        m_hDropHook = ::SetWindowsHookExW(
            WH_GETMESSAGE, reinterpret_cast<HOOKPROC>(reinterpret_cast<void (*)()>(pfnHook)), hHook,
            m_program.ThreadId());
        if (m_hDropHook == NULL)
            return testing::AssertionFailure() << "SetWindowsHookEx: error " << ::GetLastError();
    }
    std::wstring list;
    for (const std::wstring &path : paths)
        list += (list.empty() ? L"" : L"\n") + path;
    HANDLE hFile = ::CreateFileW((hookDll + L".path").c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                                 0, NULL);
    DWORD written = 0;
    ::WriteFile(hFile, list.c_str(), static_cast<DWORD>(list.size() * sizeof(wchar_t)), &written, NULL);
    ::CloseHandle(hFile);
    ::PostMessageW(m_hMain, ::RegisterWindowMessageW(L"VorkelTestDrop"), 0, 0);
    return testing::AssertionSuccess();
}
