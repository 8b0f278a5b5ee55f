// Steps of a user's session with the digest dialog.
#include "digest_dialog_steps.h"

#include "windows_under_test.h"

void AddOpened(UiScript &script, const CDigestDlg &dlg)
{
    script.WaitFor("the dialog", [&dlg] { return dlg.m_hWnd != NULL; });
}

void AddBrowse(UiScript &script, const CDigestDlg &dlg, const std::string &path)
{
    script.Do([&dlg] { Click(dlg.m_hWnd, IDC_BROWSE); })
        .WaitFor("the file chooser", [&dlg] { return FindFileChooser(dlg.m_hWnd) != NULL; })
        .Do([&dlg, path] { AnswerFileChooser(FindFileChooser(dlg.m_hWnd), path); })
        .WaitFor("the path box to show " + path,
                 [&dlg, path] { return ItemText(dlg.m_hWnd, IDC_PATH) == FromAnsi(path); });
}
