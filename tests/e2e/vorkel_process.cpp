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
