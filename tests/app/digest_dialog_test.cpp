// The digest dialog's Browse and Generate as a user drives them: which file
// is hashed, what the boxes show, what goes to standard output, and the keys
// that end the dialog.
#include <windows.h>

#include <dlgs.h> // cmb1, cmb13: the file chooser's filter and file name boxes
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "digest_dialog_fixture.h"
#include "program_texts.h"
#include "windows_under_test.h"

namespace {

// While one lives, this program's own import of SetWindowsHookExA (the class
// library is linked into it) leads to a stand-in that fails as the system
// fails when it has no memory left for the thread's hook, not to user32.
class HooksRefused {
public:
    HooksRefused() : m_pSlot(ImportSlot("user32.dll", "SetWindowsHookExA"))
    {
        if (m_pSlot != NULL) {
            m_original = *m_pSlot;
            Set(reinterpret_cast<ULONG_PTR>(&Refuse));
        }
    }
    ~HooksRefused() { Restore(); }
    HooksRefused(const HooksRefused &) = delete;
    HooksRefused &operator=(const HooksRefused &) = delete;

    bool Refusing() const { return m_pSlot != NULL; }
    void Restore()
    {
        if (m_pSlot != NULL)
            Set(m_original);
        m_pSlot = NULL;
    }

private:
    static HHOOK WINAPI Refuse(int, HOOKPROC, HINSTANCE, DWORD)
    {
        ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return NULL;
    }

    // The slot of the program's import address table that the loader filled
    // with the function's address.
    static ULONG_PTR *ImportSlot(const char *lpszDll, const char *lpszProc)
    {
        BYTE *pBase = reinterpret_cast<BYTE *>(::GetModuleHandleW(NULL));
        const IMAGE_NT_HEADERS *pNt = reinterpret_cast<const IMAGE_NT_HEADERS *>(
            pBase + reinterpret_cast<const IMAGE_DOS_HEADER *>(pBase)->e_lfanew);
        const IMAGE_DATA_DIRECTORY &imports =
            pNt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        for (auto *pDll = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR *>(pBase + imports.VirtualAddress);
             pDll->Name != 0; pDll++) {
            if (::lstrcmpiA(reinterpret_cast<const char *>(pBase + pDll->Name), lpszDll) != 0)
                continue;
            auto *pName = reinterpret_cast<const IMAGE_THUNK_DATA *>(pBase + pDll->OriginalFirstThunk);
            auto *pSlot = reinterpret_cast<IMAGE_THUNK_DATA *>(pBase + pDll->FirstThunk);
            for (; pName->u1.AddressOfData != 0; pName++, pSlot++) {
                if (!IMAGE_SNAP_BY_ORDINAL(pName->u1.Ordinal) &&
                    std::strcmp(reinterpret_cast<const IMAGE_IMPORT_BY_NAME *>(
                                    pBase + pName->u1.AddressOfData)->Name,
                                lpszProc) == 0)
                    return reinterpret_cast<ULONG_PTR *>(&pSlot->u1.Function);
            }
        }
        return NULL;
    }

    void Set(ULONG_PTR address)
    {
        DWORD dwProtect = 0;
        ::VirtualProtect(m_pSlot, sizeof(*m_pSlot), PAGE_READWRITE, &dwProtect);
        *m_pSlot = address;
        ::VirtualProtect(m_pSlot, sizeof(*m_pSlot), dwProtect, &dwProtect);
    }

    ULONG_PTR *m_pSlot;
    ULONG_PTR m_original = 0;
};

// Whatever a Generate click writes to standard output.
std::string GenerateCapturingOutput(HWND hDlg)
{
    testing::internal::CaptureStdout();
    ClickNow(hDlg, IDC_GENERATE);
    return testing::internal::GetCapturedStdout();
}

TEST_F(DigestDialogTest, GenerateBeforeBrowseHashesTheEmptyPath)
{
    std::string output;
    UiScript script = Opened();
    script.Do([&] { output = GenerateCapturingOutput(Main()); })
        .Do([this] {
            EXPECT_EQ(PathBox(), L"");
            EXPECT_EQ(DigestBox(), L"");
            ::PostMessageW(Main(), WM_COMMAND, IDCANCEL, 0);
        });
    EXPECT_EQ(Run(script), IDCANCEL);
    EXPECT_EQ(output, " can't be opened\n");
}

TEST_F(DigestDialogTest, BrowseChoosesGenerateHashes)
{
    const std::string first = "The quick brown fox jumps over the lazy dog";
    const std::string second(3000, '\x80'); // several reads, bytes above 0x7F
    std::wstring firstPath = MakeFile(L"first.bin", first);
    std::wstring secondPath = MakeFile(L"second.bin", second);

    UiScript script = Opened();
    Browse(script, firstPath);
    script.Do([this] { EXPECT_EQ(DigestBox(), L""); })
        .Do([&] {
            ClickNow(Main(), IDC_GENERATE);
            EXPECT_EQ(DigestBox(), ShownDigest("9e107d9d372bb6826bd81d3542a419d6"));
            EXPECT_EQ(DigestBox(), DigestOf(first));
            ClickNow(Main(), IDC_GENERATE); // again: the same
            EXPECT_EQ(DigestBox(), DigestOf(first));
            EXPECT_EQ(PathBox(), firstPath);
        });

    // A chooser cancelled changes nothing.
    script.Do([this] { Click(Main(), IDC_BROWSE); })
        .WaitFor("the file chooser", [this] { return GuiThread().FileChooser(Main()) != NULL; })
        .Do([this] { Click(GuiThread().FileChooser(Main()), IDCANCEL); })
        .WaitFor("the chooser to close", [this] { return GuiThread().FileChooser(Main()) == NULL; })
        .Do([&] {
            EXPECT_EQ(PathBox(), firstPath);
            EXPECT_EQ(DigestBox(), DigestOf(first));
        });

    // Another file: the old digest goes at once.
    Browse(script, secondPath);
    script.Do([&] {
        EXPECT_EQ(DigestBox(), L"");
        ClickNow(Main(), IDC_GENERATE);
        EXPECT_EQ(DigestBox(), DigestOf(second));
        ::PostMessageW(Main(), WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(Run(script), IDCANCEL);
}

TEST_F(DigestDialogTest, EmptyFile)
{
    std::wstring path = MakeFile(L"empty", "");
    UiScript script = Opened();
    Browse(script, path);
    script.Do([this] {
        ClickNow(Main(), IDC_GENERATE);
        EXPECT_EQ(DigestBox(), ShownDigest("d41d8cd98f00b204e9800998ecf8427e"));
        ::PostMessageW(Main(), WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(Run(script), IDCANCEL);
}

TEST_F(DigestDialogTest, TextTypedIntoThePathBoxIsNotUsed)
{
    std::wstring chosen = MakeFile(L"chosen.txt", "chosen\r\n");
    std::wstring typed = MakeFile(L"typed.txt", "typed\r\n");
    UiScript script = Opened();
    Browse(script, chosen);
    script.Do([&] {
        ::SetDlgItemTextW(Main(), IDC_PATH, typed.c_str());
        ClickNow(Main(), IDC_GENERATE);
        EXPECT_EQ(DigestBox(), DigestOf("chosen\r\n"));
        EXPECT_EQ(PathBox(), chosen);
        ::PostMessageW(Main(), WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(Run(script), IDCANCEL);
}

TEST_F(DigestDialogTest, FileDeletedAfterBrowse)
{
    std::wstring path = MakeFile(L"gone.bin", "soon gone");
    std::string output;
    UiScript script = Opened();
    Browse(script, path);
    script.Do([&] {
        ClickNow(Main(), IDC_GENERATE);
        ASSERT_EQ(DigestBox(), DigestOf("soon gone"));
        ::DeleteFileW(path.c_str());
        output = GenerateCapturingOutput(Main());
        EXPECT_EQ(DigestBox(), L"");
        EXPECT_EQ(PathBox(), path);
        ::PostMessageW(Main(), WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(Run(script), IDCANCEL);
    EXPECT_EQ(output, ToAnsi(path) + " can't be opened\n");
}

// Names in Chinese, in other scripts, with letters and signs that double-byte
// code pages lack, and a deep path of more than 260 bytes: under the UTF-8
// code page every one reaches the chooser, the path box and fopen intact.
TEST_F(DigestDialogTest, FilesNamedInAnyScript)
{
    // Folders of 40 Chinese characters: the path comes to about 220
    // characters (the chooser takes up to 259) and over 500 bytes.
    std::wstring folder(40, L'深');
    std::wstring deep = folder + L"\\" + folder + L"\\" + folder + L"\\" + folder + L"\\文件.bin";
    const std::vector<std::wstring> names = {
        L"校验文件.bin", L"한국어 파일.bin", L"emoji \U0001F600.bin", L"Straße łódź.bin", deep};
    std::vector<std::wstring> paths;
    for (const std::wstring &name : names)
        paths.push_back(MakeFile(name, ToAnsi(name))); // each file a content of its own
    ASSERT_GT(ToAnsi(paths.back()).size(), 260u);
    ASSERT_LT(paths.back().size(), 260u);

    UiScript script = Opened();
    for (std::size_t i = 0; i < names.size(); i++) {
        Browse(script, paths[i]);
        script.Do([this, &names, i] {
            ClickNow(Main(), IDC_GENERATE);
            EXPECT_EQ(DigestBox(), DigestOf(ToAnsi(names[i]))) << ToAnsi(names[i]);
        });
    }
    script.Do([this] { ::PostMessageW(Main(), WM_COMMAND, IDCANCEL, 0); });
    EXPECT_EQ(Run(script), IDCANCEL);
}

TEST_F(DigestDialogTest, TheChooserOffersExecutables)
{
    std::wstring tool = MakeFile(L"tool.exe", "MZ");
    std::wstring initialName;
    std::vector<std::wstring> filters;
    UiScript script = Opened();
    script.Do([this] { Click(Main(), IDC_BROWSE); })
        .WaitFor("the file chooser", [this] { return GuiThread().FileChooser(Main()) != NULL; })
        .Do([&] {
            HWND hChooser = GuiThread().FileChooser(Main());
            initialName = ItemText(hChooser, cmb13);
            HWND hFilters = ::GetDlgItem(hChooser, cmb1);
            for (int i = 0; i < ::SendMessageW(hFilters, CB_GETCOUNT, 0, 0); i++) {
                wchar_t text[64] = L"";
                ::SendMessageW(hFilters, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
                filters.push_back(text);
            }
            AnswerFileChooser(hChooser, tool);
        })
        .WaitFor("the path box to show the choice", [&] { return PathBox() == tool; })
        .Do([this] { ::PostMessageW(Main(), WM_COMMAND, IDCANCEL, 0); });
    EXPECT_EQ(Run(script), IDCANCEL);
    EXPECT_EQ(initialName, L"*.exe");
    EXPECT_EQ(filters, (std::vector<std::wstring>{L"Exe files(*.exe)", L"All files(*.*)"}));
}

TEST_F(DigestDialogTest, EnterInThePathBoxEndsTheDialog)
{
    UiScript script = Opened();
    script.Do([this] {
        EXPECT_EQ(::GetFocus(), ::GetDlgItem(Main(), IDC_PATH)) << "the focus starts there";
        GuiThread().PressKey(VK_RETURN);
    });
    EXPECT_EQ(Run(script), IDOK);
}

TEST_F(DigestDialogTest, EscEndsTheDialog)
{
    UiScript script = Opened();
    script.Do([] { GuiThread().PressKey(VK_ESCAPE); });
    EXPECT_EQ(Run(script), IDCANCEL);
}

// Where the system refuses the class library the hook through which the
// dialog sees keys first, the dialog works as any dialog box does: Ctrl+V
// pastes into the path box, Generate still tells the verdict. The next
// dialog (the About box) gets the hook, which serves the digest dialog too
// from then on: Ctrl+V compares again.
TEST_F(DigestDialogTest, WithoutItsMessageHookCtrlVPastesAndGenerateTells)
{
    m_dlg.m_strPath = ToAnsi(MakeFile(L"file.bin", "file")).c_str();
    const std::wstring digest = DigestOf("file"), other = L"9E107D9D372BB6826BD81D3542A419D6";
    const std::wstring mismatch = Filled(kMismatch, L"MD5") + L"\r\n" + kClipboardValue + other;
    auto balloon = [this] {
        HWND hBalloon = GuiThread().Tooltip(Main());
        return hBalloon != NULL ? TextOf(hBalloon) : L"";
    };
    auto about = [this] {
        HWND hWnd = GuiThread().OwnedWindow(Main());
        return hWnd != NULL && TextOf(hWnd) == kAboutCaption ? hWnd : NULL;
    };
    auto ctrlV = [this] {
        ::SetFocus(::GetDlgItem(Main(), IDC_PATH));
        ::SendDlgItemMessageW(Main(), IDC_PATH, EM_SETSEL, 0, -1);
        PressKeys({VK_CONTROL, 'V'});
    };
    HooksRefused refused;
    ASSERT_TRUE(refused.Refusing());
    UiScript script = Opened();
    script.Do([&] {
            refused.Restore(); // for the dialogs to come
            ASSERT_TRUE(SetClipboardText(digest));
            ClickNow(Main(), IDC_GENERATE);
            EXPECT_EQ(DigestBox(), digest);
            EXPECT_EQ(balloon(), Filled(kMatch, L"MD5"));
            ctrlV();
        })
        .WaitFor("the path box to paste", [&] { return PathBox() == digest; })
        .Do([&] { ::PostMessageW(Main(), WM_SYSCOMMAND, IDM_ABOUT, 0); })
        .WaitFor("the About box", [&] { return about() != NULL; })
        .Do([&] { ::PostMessageW(about(), WM_COMMAND, IDOK, 0); })
        .WaitFor("the About box to close", [&] { return about() == NULL && ::IsWindowEnabled(Main()); })
        .Do([&] {
            ASSERT_TRUE(SetClipboardText(other));
            ctrlV();
        })
        .WaitFor("the mismatch", [&] { return balloon() == mismatch; })
        .Do([&] {
            EXPECT_EQ(PathBox(), digest) << "nothing pasted";
            ::PostMessageW(Main(), WM_COMMAND, IDCANCEL, 0);
        });
    EXPECT_EQ(Run(script), IDCANCEL);
    SetClipboardText(L"");
}

} // namespace
