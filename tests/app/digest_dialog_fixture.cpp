// The digest dialog's test fixture.
#include "digest_dialog_fixture.h"

#include <cwctype>

#include "digest_dialog_steps.h"
#include "reference_md5.h"
#include "windows_under_test.h"

namespace {

// The program's application object: the dialogs' owner and the last stop of
// their commands.
CWinApp theApp;

void RemoveFolder(const std::wstring &folder)
{
    WIN32_FIND_DATAW found;
    HANDLE hFind = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (hFind != INVALID_HANDLE_VALUE) {
        do
            ::DeleteFileW((folder + L"\\" + found.cFileName).c_str());
        while (::FindNextFileW(hFind, &found));
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
    RemoveFolder(m_folder);
    ASSERT_TRUE(::CreateDirectoryW(m_folder.c_str(), NULL));
    theApp.m_pMainWnd = &m_dlg; // as the application object does before DoModal
}

void DigestDialogTest::TearDown()
{
    theApp.m_pMainWnd = NULL;
    RemoveFolder(m_folder);
}

std::wstring DigestDialogTest::PathBox() const
{
    return ItemText(Main(), IDC_PATH);
}

std::wstring DigestDialogTest::DigestBox() const
{
    return ItemText(Main(), IDC_DIGEST);
}

std::string DigestDialogTest::WriteFile(const std::wstring &name, const std::string &bytes)
{
    std::wstring path = m_folder + L"\\" + name;
    HANDLE hFile = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, NULL);
    DWORD written = 0;
    EXPECT_NE(hFile, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(bytes.empty() || ::WriteFile(hFile, bytes.data(), static_cast<DWORD>(bytes.size()),
                                             &written, NULL));
    ::CloseHandle(hFile);
    return ToAnsi(path);
}

UiScript DigestDialogTest::Opened()
{
    UiScript script;
    AddOpened(script, m_dlg);
    return script;
}

void DigestDialogTest::Browse(UiScript &script, const std::string &path)
{
    AddBrowse(script, m_dlg, path);
}

INT_PTR DigestDialogTest::Run(UiScript &script)
{
    INT_PTR nResult = 0;
    EXPECT_EQ(script.Play([&] { nResult = m_dlg.DoModal(); }), "");
    return nResult;
}

std::wstring DigestDialogTest::ExpectedDigest(const std::string &bytes)
{
    std::wstring digest = FromAnsi(ReferenceMD5::hex(bytes));
    for (wchar_t &c : digest)
        c = static_cast<wchar_t>(std::towupper(c));
    return digest;
}
