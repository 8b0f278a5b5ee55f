// The digest dialog's test fixture.
#include "digest_dialog_fixture.h"

#include "program_texts.h"
#include "reference_md5.h"
#include "windows_under_test.h"

namespace {

// The program's application object: the dialogs' owner and the last stop of
// their commands.
CWinApp theApp;

void RemoveTree(const std::wstring &folder)
{
    WIN32_FIND_DATAW found;
    HANDLE hFind = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (hFind != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(folder + L"\\" + name);
            else
                ::DeleteFileW((folder + L"\\" + name).c_str());
        } while (::FindNextFileW(hFind, &found));
        ::FindClose(hFind);
    }
    ::RemoveDirectoryW(folder.c_str());
}

} // namespace

void DigestDialogTest::SetUp()
{
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    m_folder = std::wstring(temp) + L"vorkel-" +
               std::to_wstring(::GetCurrentProcessId()) + L"-" +
               FromAnsi(testing::UnitTest::GetInstance()->current_test_info()->name());
    RemoveTree(m_folder);
    ASSERT_TRUE(::CreateDirectoryW(m_folder.c_str(), NULL));
    theApp.m_pMainWnd = &m_dlg; // as the application object does before DoModal
}

void DigestDialogTest::TearDown()
{
    theApp.m_pMainWnd = NULL;
    RemoveTree(m_folder);
}

std::wstring DigestDialogTest::PathBox() const
{
    return ItemText(Main(), IDC_PATH);
}

std::wstring DigestDialogTest::DigestBox() const
{
    return ItemText(Main(), IDC_DIGEST);
}

std::wstring DigestDialogTest::MakeFile(const std::wstring &name, const std::string &bytes)
{
    std::wstring path = m_folder;
    // The folders on the way first.
    for (std::size_t slash = name.find(L'\\'); slash != std::wstring::npos;
         slash = name.find(L'\\', slash + 1))
        ::CreateDirectoryW((m_folder + L"\\" + name.substr(0, slash)).c_str(), NULL);
    path += L"\\" + name;
    HANDLE hFile = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, NULL);
    DWORD written = 0;
    EXPECT_NE(hFile, INVALID_HANDLE_VALUE) << "error " << ::GetLastError();
    EXPECT_TRUE(bytes.empty() || ::WriteFile(hFile, bytes.data(), static_cast<DWORD>(bytes.size()),
                                             &written, NULL));
    ::CloseHandle(hFile);
    return path;
}

UiScript DigestDialogTest::Opened()
{
    UiScript script;
    script.WaitFor("the dialog", [this] { return Main() != NULL; });
    return script;
}

void DigestDialogTest::Browse(UiScript &script, const std::wstring &path)
{
    script.Do([this] { Click(Main(), IDC_BROWSE); })
        .WaitFor("the file chooser", [this] { return GuiThread().FileChooser(Main()) != NULL; })
        .Do([this, path] { AnswerFileChooser(GuiThread().FileChooser(Main()), path); })
        .WaitFor("the path box to show " + ToAnsi(path), [this, path] { return PathBox() == path; });
}

INT_PTR DigestDialogTest::Run(UiScript &script)
{
    INT_PTR nResult = 0;
    EXPECT_EQ(script.Play([&] { nResult = m_dlg.DoModal(); }), "");
    return nResult;
}

std::wstring DigestDialogTest::DigestOf(const std::string &bytes)
{
    return ShownDigest(ReferenceMD5::Hex(bytes));
}
