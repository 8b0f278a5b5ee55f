// Vorkel.exe on a Windows without the UTF-8 code page (7, 8.1, 10 before
// 1903): a copy whose manifest lacks only activeCodePage runs under the
// locale's code page, as this test program does. Names that code page can't
// spell reach it through the drop and the chooser, next to the files their
// best fit would name; the verdict's Chinese reaches its balloon whole.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "e2e_inputs.h"
#include "program_texts.h"
#include "resource.h"
#include "shortcut.h"
#include "vorkel_process.h"

namespace {

// Copies Vorkel.exe into folder with its manifest's activeCodePage element
// taken out; the copy's path, or empty.
std::wstring CopyWithoutUtf8CodePage(const std::wstring &folder)
{
    HMODULE hExe = ::LoadLibraryExW(Inputs().vorkelExe.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC hManifest = ::FindResourceW(hExe, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)); // RT_MANIFEST
    std::string manifest(static_cast<const char *>(::LockResource(::LoadResource(hExe, hManifest))),
                         ::SizeofResource(hExe, hManifest));
    ::FreeLibrary(hExe);
    const std::string end = "</activeCodePage>";
    std::size_t from = manifest.find("<activeCodePage"), to = manifest.find(end);
    if (from == std::string::npos || to == std::string::npos)
        return L"";
    manifest.erase(from, to + end.size() - from);

    const std::wstring copy = folder + L"\\Vorkel.exe";
    HANDLE hUpdate = ::CopyFileW(Inputs().vorkelExe.c_str(), copy.c_str(), FALSE)
                         ? ::BeginUpdateResourceW(copy.c_str(), FALSE)
                         : NULL;
    if (hUpdate == NULL ||
        !::UpdateResourceW(hUpdate, MAKEINTRESOURCEW(24), MAKEINTRESOURCEW(1),
                           MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), &manifest[0],
                           static_cast<DWORD>(manifest.size())) ||
        !::EndUpdateResourceW(hUpdate, FALSE))
        return L"";
    return copy;
}

void MakeFile(const std::wstring &path, const std::string &bytes)
{
    HANDLE hFile = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    DWORD written = 0;
    ::WriteFile(hFile, bytes.data(), static_cast<DWORD>(bytes.size()), &written, NULL);
    ::CloseHandle(hFile);
}

// "v².bin" beside "v2.bin", its best fit in code page 936 (which the ANSI
// drop and chooser gave for it): the one is passed over, the other never
// taken in its place. A shortcut dropped after it stands for its target.
TEST(VorkelUnderCodePage936, ANameItCantSpellIsNeverTakenForItsLookAlike)
{
    if (::GetACP() != 936)
        GTEST_SKIP() << "code page " << ::GetACP() << ": the window's Chinese caption, by which "
                     << "the test finds it, is not readable there";
    const Sample &sample = Inputs().samples[0];
    const std::wstring folder = sample.path.substr(0, sample.path.rfind(L'\\')) + L"\\cp936";
    ::CreateDirectoryW(folder.c_str(), NULL);
    const std::wstring name = folder + L"\\v\u00B2.bin", lookAlike = folder + L"\\v2.bin";
    ASSERT_EQ(FromAnsi(ToAnsi(name)), lookAlike) << "no best fit to show";
    MakeFile(name, "v squared");
    MakeFile(lookAlike, "v two");
    const std::wstring plain = folder + L"\\plain.bin", link = folder + L"\\plain.lnk";
    ASSERT_TRUE(::CopyFileW(sample.path.c_str(), plain.c_str(), FALSE));
    ASSERT_TRUE(MakeShortcut(link, plain)); // in this program's code page, the copy's
    const std::wstring copy = CopyWithoutUtf8CodePage(folder);
    ASSERT_NE(copy, L"");

    VorkelProcess vorkel;
    ASSERT_TRUE(vorkel.Start(copy));
    ASSERT_TRUE(vorkel.Drop(Inputs().dropHook, {name, link}));
    ASSERT_TRUE(WaitUntil([&] { return vorkel.ItemText(IDC_PATH) == plain; }))
        << "the path box shows " << testing::PrintToString(vorkel.ItemText(IDC_PATH));
    ASSERT_TRUE(ClickNow(vorkel.Main(), IDC_GENERATE));
    EXPECT_EQ(vorkel.ItemText(IDC_DIGEST), ShownDigest(sample.digest));

    // The chooser answered with the name: no choice, nothing changes.
    Click(vorkel.Main(), IDC_BROWSE);
    HWND hChooser = NULL;
    ASSERT_TRUE(WaitUntil([&] { return (hChooser = vorkel.Gui().FileChooser(vorkel.Main())) != NULL; }));
    AnswerFileChooser(hChooser, name);
    ASSERT_TRUE(WaitUntil([&] { return vorkel.Gui().FileChooser(vorkel.Main()) == NULL; }));
    EXPECT_EQ(vorkel.ItemText(IDC_PATH), plain);
    EXPECT_EQ(vorkel.ItemText(IDC_DIGEST), ShownDigest(sample.digest));

    ::PostMessageW(vorkel.Main(), WM_CLOSE, 0, 0);
    DWORD exitCode = 1;
    ASSERT_TRUE(vorkel.Exited(5000, exitCode));
    EXPECT_EQ(exitCode, 0u);
}

// Under a code page without Chinese (1252: Windows 7 to 10 1809 in a
// Western locale, where the UTF-8 code page of the manifest does not apply),
// the verdict still reads in Chinese: its texts go from the string table to
// the balloon in UTF-16, never through the code page.
TEST(VorkelUnderCodePage1252, TheVerdictReachesTheBalloonWhole)
{
    if (::GetACP() != 1252)
        GTEST_SKIP() << "code page " << ::GetACP() << " has the Chinese characters";
    const Sample &sample = Inputs().samples[0];
    const std::wstring folder = sample.path.substr(0, sample.path.rfind(L'\\')) + L"\\cp1252";
    ::CreateDirectoryW(folder.c_str(), NULL);
    const std::wstring plain = folder + L"\\plain.bin";
    ASSERT_TRUE(::CopyFileW(sample.path.c_str(), plain.c_str(), FALSE));
    const std::wstring copy = CopyWithoutUtf8CodePage(folder);
    ASSERT_NE(copy, L"");

    VorkelProcess vorkel;
    ASSERT_TRUE(vorkel.Start(copy));
    ASSERT_TRUE(vorkel.Drop(Inputs().dropHook, {plain}));
    ASSERT_TRUE(WaitUntil([&] { return vorkel.ItemText(IDC_PATH) == plain; }));
    ASSERT_TRUE(SetClipboardText(L"MD5: " + FromAnsi(sample.digest)));
    ASSERT_TRUE(ClickNow(vorkel.Main(), IDC_GENERATE));
    HWND hBalloon = vorkel.Gui().Tooltip(vorkel.Main());
    ASSERT_NE(hBalloon, nullptr);
    EXPECT_EQ(TextOf(hBalloon), Filled(kMatch, L"MD5"));

    SetClipboardText(L"");
    ::PostMessageW(vorkel.Main(), WM_CLOSE, 0, 0);
    DWORD exitCode = 1;
    ASSERT_TRUE(vorkel.Exited(5000, exitCode));
    EXPECT_EQ(exitCode, 0u);
}

} // namespace
