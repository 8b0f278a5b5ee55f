// The file chooser that Browse opens, as a user sees it: readable in any
// locale (every label, button, place and listed name drawn in a font with
// its glyphs, where Wine would draw them in a Latin one), and refusing a typed
// name that does not exist.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <set>
#include <string>
#include <vector>

#include "dialogs_on_screen.h"
#include "windows_under_test.h"

namespace {

// The texts of the shell's file list, one per item.
std::vector<std::wstring> ListItems(HWND hList)
{
    std::vector<std::wstring> items;
    const int nItems = static_cast<int>(::SendMessageW(hList, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < nItems; i++) {
        wchar_t text[MAX_PATH] = L"";
        LVITEMW item = {};
        item.pszText = text;
        item.cchTextMax = MAX_PATH;
        ::SendMessageW(hList, LVM_GETITEMTEXTW, i, reinterpret_cast<LPARAM>(&item));
        items.push_back(text);
    }
    return items;
}

// The labels of a toolbar's buttons (the chooser's places bar).
std::vector<std::wstring> ButtonLabels(HWND hToolbar)
{
    std::vector<std::wstring> labels;
    const int nButtons = static_cast<int>(::SendMessageW(hToolbar, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < nButtons; i++) {
        TBBUTTON button = {};
        ::SendMessageW(hToolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
        wchar_t text[MAX_PATH] = L"";
        if (::SendMessageW(hToolbar, TB_GETBUTTONTEXTW, button.idCommand, 0) < MAX_PATH)
            ::SendMessageW(hToolbar, TB_GETBUTTONTEXTW, button.idCommand,
                           reinterpret_cast<LPARAM>(text));
        labels.push_back(text);
    }
    return labels;
}

class FileChooserTest : public DialogsOnScreenTest {
protected:
    void SetUp() override
    {
        DialogsOnScreenTest::SetUp();
        // The chooser opens in the current folder.
        ::GetCurrentDirectoryW(MAX_PATH, m_previous);
        ::SetCurrentDirectoryW(m_folder.c_str());
    }
    void TearDown() override
    {
        ::SetCurrentDirectoryW(m_previous);
        DialogsOnScreenTest::TearDown();
    }
    wchar_t m_previous[MAX_PATH] = L"";
};

// As it opens, and once the user has gone into a folder of its own (the
// shell makes a new file list for each folder).
TEST_F(FileChooserTest, ShowsEveryTextWithItsGlyphs)
{
    const std::vector<std::wstring> names = {L"样本程序.exe", L"サンプル.exe"};
    for (const std::wstring &name : names)
        MakeFile(name, "MZ");
    const std::wstring inner = L"校验程序.exe";
    MakeFile(L"下载\\" + inner, "MZ");
    std::set<std::wstring> listed, faces;
    int nWithText = 0;
    HWND hChooser = NULL;
    auto expectGlyphs = [&] {
        for (HWND hWnd : VisibleDescendants(hChooser)) {
            wchar_t szClass[32] = L"";
            ::GetClassNameW(hWnd, szClass, 32);
            std::vector<std::wstring> texts = {TextOf(hWnd)};
            if (std::wstring(szClass) == WC_LISTVIEWW) {
                texts = ListItems(hWnd);
                listed.insert(texts.begin(), texts.end());
            } else if (std::wstring(szClass) == TOOLBARCLASSNAMEW) {
                texts = ButtonLabels(hWnd);
            }
            for (const std::wstring &text : texts) {
                if (text.empty())
                    continue;
                nWithText++;
                faces.insert(FontDC(hWnd).Face());
                EXPECT_EQ(ToUtf8(MissingGlyphs(hWnd, text)), "")
                    << ToUtf8(text) << " (" << ToUtf8(szClass) << ") in "
                    << ToUtf8(FontDC(hWnd).Face());
            }
        }
    };
    auto lists = [&](const std::wstring &name) {
        for (HWND hWnd : VisibleDescendants(hChooser)) {
            wchar_t szClass[32] = L"";
            ::GetClassNameW(hWnd, szClass, 32);
            std::vector<std::wstring> items;
            if (std::wstring(szClass) == WC_LISTVIEWW)
                items = ListItems(hWnd);
            if (std::find(items.begin(), items.end(), name) != items.end())
                return true;
        }
        return false;
    };
    UiScript script = Opened();
    script.Do([this] { Click(Main(), IDC_BROWSE); })
        .WaitFor("the file chooser", [&] { return (hChooser = GuiThread().FileChooser(Main())) != NULL; })
        .Do(expectGlyphs)
        .Do([&] { AnswerFileChooser(hChooser, m_folder + L"\\下载"); })
        .WaitFor("the folder's files", [&] { return lists(inner); })
        .Do([&] {
            expectGlyphs();
            ::PostMessageW(hChooser, WM_COMMAND, IDCANCEL, 0);
        })
        .WaitFor("the chooser to close", [this] { return GuiThread().FileChooser(Main()) == NULL; })
        .Do([this] { ::PostMessageW(Main(), WM_COMMAND, IDCANCEL, 0); });
    EXPECT_EQ(Run(script), IDCANCEL);
    for (const std::wstring &name : names)
        EXPECT_EQ(listed.count(name), 1u) << ToUtf8(name);
    EXPECT_GT(nWithText, 5);
    for (const std::wstring &face : faces)
        std::cout << "the chooser draws with " << ToUtf8(face) << "\n";
}

TEST_F(FileChooserTest, RefusesANameThatDoesNotExist)
{
    HWND hChooser = NULL;
    UiScript script = Opened();
    script.Do([this] { Click(Main(), IDC_BROWSE); })
        .WaitFor("the file chooser", [&] { return (hChooser = GuiThread().FileChooser(Main())) != NULL; })
        .Do([&] { AnswerFileChooser(hChooser, m_folder + L"\\missing.exe"); })
        .WaitFor("the chooser's message", [&] { return GuiThread().OwnedWindow(hChooser) != NULL; })
        .Do([&] { ::PostMessageW(GuiThread().OwnedWindow(hChooser), WM_COMMAND, IDOK, 0); })
        .WaitFor("the message to close", [&] { return GuiThread().OwnedWindow(hChooser) == NULL; })
        .Do([&] {
            EXPECT_EQ(GuiThread().FileChooser(Main()), hChooser) << "still up";
            ::PostMessageW(hChooser, WM_COMMAND, IDCANCEL, 0);
        })
        .WaitFor("the chooser to close", [this] { return GuiThread().FileChooser(Main()) == NULL; })
        .Do([this] {
            EXPECT_EQ(PathBox(), L"");
            EXPECT_EQ(DigestBox(), L"");
            ::PostMessageW(Main(), WM_COMMAND, IDCANCEL, 0);
        });
    EXPECT_EQ(Run(script), IDCANCEL);
}

} // namespace
