// Finding, reading and driving the windows under test.
#include "windows_under_test.h"

#include <dlgs.h> // the common dialogs' control IDs: cmb13, edt1
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace {

bool IsDialog(HWND hWnd)
{
    wchar_t name[16];
    return ::GetClassNameW(hWnd, name, 16) > 0 && std::wstring(name) == L"#32770";
}

// The file name box of an open-file dialog, or null.
HWND FileNameBox(HWND hChooser)
{
    HWND hName = ::GetDlgItem(hChooser, cmb13);
    return hName != NULL ? hName : ::GetDlgItem(hChooser, edt1);
}

} // namespace

namespace {

std::wstring ToWide(UINT codePage, const std::string &text)
{
    std::wstring wide(text.size(), L'\0');
    wide.resize(::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()),
                                      &wide[0], static_cast<int>(wide.size())));
    return wide;
}

std::string FromWide(UINT codePage, const std::wstring &text)
{
    // Up to 4 bytes a character: UTF-8 takes 3 for a Chinese character and
    // 4 for a surrogate pair (two UTF-16 units, so 2 each is enough there).
    std::string bytes(text.size() * 3, '\0');
    bytes.resize(::WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()),
                                       &bytes[0], static_cast<int>(bytes.size()), NULL, NULL));
    return bytes;
}

} // namespace

std::wstring FromAnsi(const std::string &text)
{
    return ToWide(CP_ACP, text);
}

std::string ToAnsi(const std::wstring &text)
{
    return FromWide(CP_ACP, text);
}

std::wstring FromUtf8(const std::string &text)
{
    return ToWide(CP_UTF8, text);
}

std::string ToUtf8(const std::wstring &text)
{
    return FromWide(CP_UTF8, text);
}

bool Send(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR *pResult)
{
    DWORD_PTR ignored;
    return ::SendMessageTimeoutW(hWnd, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000,
                                 pResult != nullptr ? pResult : &ignored) != 0;
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

std::wstring ItemText(HWND hDlg, int nID)
{
    return TextOf(::GetDlgItem(hDlg, nID));
}

std::vector<HWND> Controls(HWND hDlg)
{
    std::vector<HWND> controls;
    for (HWND hWnd = ::GetWindow(hDlg, GW_CHILD); hWnd != NULL; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT))
        controls.push_back(hWnd);
    return controls;
}

void Click(HWND hDlg, int nID)
{
    ::PostMessageW(::GetDlgItem(hDlg, nID), BM_CLICK, 0, 0);
}

bool ClickNow(HWND hDlg, int nID)
{
    return Send(::GetDlgItem(hDlg, nID), BM_CLICK);
}

bool SetClipboardText(const std::wstring &text)
{
    if (!::OpenClipboard(NULL))
        return false;
    bool done = ::EmptyClipboard() != FALSE;
    if (done && !text.empty()) {
        const std::size_t size = (text.size() + 1) * sizeof(wchar_t);
        HGLOBAL hData = ::GlobalAlloc(GMEM_MOVEABLE, size);
        if (void *p = hData != NULL ? ::GlobalLock(hData) : NULL) {
            std::memcpy(p, text.c_str(), size);
            ::GlobalUnlock(hData);
        }
        // The clipboard owns the memory once it has taken it.
        done = hData != NULL && ::SetClipboardData(CF_UNICODETEXT, hData) != NULL;
        if (!done && hData != NULL)
            ::GlobalFree(hData);
    }
    ::CloseClipboard();
    return done;
}

void PressKeys(const std::vector<WORD> &keys)
{
    std::vector<INPUT> inputs;
    for (std::size_t i = 0; i < 2 * keys.size(); i++) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = i < keys.size() ? keys[i] : keys[2 * keys.size() - 1 - i];
        input.ki.dwFlags = i < keys.size() ? 0 : KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void ClickAt(POINT pt)
{
    ::SetCursorPos(pt.x, pt.y);
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(2, inputs, sizeof(INPUT));
}

void AnswerFileChooser(HWND hChooser, const std::wstring &path)
{
    Send(FileNameBox(hChooser), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    ::PostMessageW(hChooser, WM_COMMAND, IDOK, 0);
}

GuiThread::GuiThread() : m_threadId(::GetCurrentThreadId())
{
}

GuiThread::GuiThread(DWORD threadId) : m_threadId(threadId)
{
}

namespace {

// For EnumThreadWindows and EnumChildWindows: the visible ones, into the
// vector in lParam.
BOOL CALLBACK CollectVisible(HWND hWnd, LPARAM lParam)
{
    if (::IsWindowVisible(hWnd))
        reinterpret_cast<std::vector<HWND> *>(lParam)->push_back(hWnd);
    return TRUE;
}

} // namespace

std::vector<HWND> VisibleDescendants(HWND hParent)
{
    std::vector<HWND> windows;
    ::EnumChildWindows(hParent, CollectVisible, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::vector<HWND> GuiThread::Windows() const
{
    std::vector<HWND> windows;
    ::EnumThreadWindows(m_threadId, CollectVisible, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

HWND GuiThread::OwnedWindow(HWND hOwner) const
{
    for (HWND hWnd : Windows())
        if (::GetWindow(hWnd, GW_OWNER) == hOwner)
            return hWnd;
    return NULL;
}

HWND GuiThread::FileChooser(HWND hOwner) const
{
    HWND hWnd = OwnedWindow(hOwner);
    return hWnd != NULL && FileNameBox(hWnd) != NULL ? hWnd : NULL;
}

HWND GuiThread::Tooltip(HWND hOwner) const
{
    for (HWND hWnd : Windows()) {
        wchar_t name[32];
        if (::GetWindow(hWnd, GW_OWNER) == hOwner && ::GetClassNameW(hWnd, name, 32) > 0 &&
            std::wstring(name) == L"tooltips_class32")
            return hWnd;
    }
    return NULL;
}

HWND GuiThread::Focus() const
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    return ::GetGUIThreadInfo(m_threadId, &info) ? info.hwndFocus : NULL;
}

void GuiThread::PressKey(UINT vk) const
{
    HWND hFocus = Focus();
    ::PostMessageW(hFocus, WM_KEYDOWN, vk, 1);
    ::PostMessageW(hFocus, WM_KEYUP, vk, 0xC0000001);
}

void GuiThread::CancelTopDialog() const
{
    for (HWND hWnd : Windows()) {
        if (IsDialog(hWnd) && ::IsWindowEnabled(hWnd)) {
            ::PostMessageW(hWnd, WM_COMMAND, IDCANCEL, 0);
            return;
        }
    }
}

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

namespace {

BOOL CALLBACK CollectMonitor(HMONITOR hMonitor, HDC, LPRECT, LPARAM lParam)
{
    MONITORINFO mi = {};
    mi.cbSize = sizeof(mi);
    if (::GetMonitorInfoW(hMonitor, &mi))
        reinterpret_cast<std::vector<MONITORINFO> *>(lParam)->push_back(mi);
    return TRUE;
}

} // namespace

std::vector<MONITORINFO> Monitors()
{
    std::vector<MONITORINFO> monitors;
    ::EnumDisplayMonitors(NULL, NULL, CollectMonitor, reinterpret_cast<LPARAM>(&monitors));
    if (const char *given = std::getenv("VORKEL_MONITORS")) {
        EXPECT_EQ(monitors.size(), std::strtoul(given, nullptr, 10));
    }
    return monitors;
}
