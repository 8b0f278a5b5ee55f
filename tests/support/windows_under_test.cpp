// Finding, reading and driving the windows under test.
#include "windows_under_test.h"

#include <dlgs.h> // the common dialogs' control IDs: cmb13, edt1

#include <vector>

namespace {

bool IsDialog(HWND hWnd)
{
    wchar_t name[16];
    return ::GetClassNameW(hWnd, name, 16) > 0 && std::wstring(name) == L"#32770";
}

// The visible top-level windows of this thread, topmost first.
std::vector<HWND> ThreadWindows()
{
    std::vector<HWND> windows;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND hWnd, LPARAM lParam) -> BOOL {
            if (::IsWindowVisible(hWnd))
                reinterpret_cast<std::vector<HWND> *>(lParam)->push_back(hWnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

} // namespace

std::wstring FromAnsi(const std::string &text)
{
    std::wstring wide(text.size(), L'\0');
    wide.resize(::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                      &wide[0], static_cast<int>(wide.size())));
    return wide;
}

std::string ToAnsi(const std::wstring &text)
{
    std::string ansi(text.size() * 2, '\0');
    ansi.resize(::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                      &ansi[0], static_cast<int>(ansi.size()), NULL, NULL));
    return ansi;
}

std::wstring WindowText(HWND hWnd)
{
    std::wstring text(::GetWindowTextLengthW(hWnd) + 1, L'\0');
    text.resize(::GetWindowTextW(hWnd, &text[0], static_cast<int>(text.size())));
    return text;
}

std::wstring ItemText(HWND hDlg, int nID)
{
    return WindowText(::GetDlgItem(hDlg, nID));
}

HWND FindOwnedWindow(HWND hOwner)
{
    for (HWND hWnd : ThreadWindows())
        if (::GetWindow(hWnd, GW_OWNER) == hOwner)
            return hWnd;
    return NULL;
}

HWND FindFileChooser(HWND hOwner)
{
    HWND hWnd = FindOwnedWindow(hOwner);
    if (hWnd != NULL && (::GetDlgItem(hWnd, cmb13) != NULL || ::GetDlgItem(hWnd, edt1) != NULL))
        return hWnd;
    return NULL;
}

void AnswerFileChooser(HWND hChooser, const std::string &path)
{
    HWND hName = ::GetDlgItem(hChooser, cmb13);
    if (hName == NULL)
        hName = ::GetDlgItem(hChooser, edt1);
    ::SetWindowTextA(hName, path.c_str());
    Click(hChooser, IDOK);
}

void Click(HWND hDlg, int nID)
{
    ::PostMessageW(::GetDlgItem(hDlg, nID), BM_CLICK, 0, 0);
}

void ClickNow(HWND hDlg, int nID)
{
    ::SendMessageW(::GetDlgItem(hDlg, nID), BM_CLICK, 0, 0);
}

void PressKey(UINT vk)
{
    HWND hFocus = ::GetFocus();
    ::PostMessageW(hFocus, WM_KEYDOWN, vk, 1);
    ::PostMessageW(hFocus, WM_KEYUP, vk, 0xC0000001);
}

void CancelTopDialog()
{
    for (HWND hWnd : ThreadWindows()) {
        if (IsDialog(hWnd) && ::IsWindowEnabled(hWnd)) {
            ::PostMessageW(hWnd, WM_COMMAND, IDCANCEL, 0);
            return;
        }
    }
}
