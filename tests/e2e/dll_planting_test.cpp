// Vorkel.exe and md5hex.exe run from a folder of downloads: a DLL planted
// there, or in the current directory, under the name of any DLL that their
// processes load (Vorkel's with a shortcut dropped and the chooser up) must
// never be loaded.
#include <windows.h>

#include <psapi.h>

#include <set>
#include <string>

#include <gtest/gtest.h>

#include "e2e_inputs.h"
#include "resource.h"
#include "shortcut.h"
#include "vorkel_process.h"

namespace {

// The base names of the DLLs a process has loaded, in lower case.
std::set<std::wstring> LoadedDlls(HANDLE hProcess)
{
    std::set<std::wstring> names;
    HMODULE modules[1024];
    DWORD cbNeeded = 0;
    if (!::EnumProcessModules(hProcess, modules, sizeof(modules), &cbNeeded))
        return names;
    for (DWORD i = 0; i < cbNeeded / sizeof(HMODULE) && i < 1024; i++) {
        wchar_t szName[MAX_PATH];
        if (::GetModuleBaseNameW(hProcess, modules[i], szName, MAX_PATH) > 0) {
            ::CharLowerW(szName);
            names.insert(szName);
        }
    }
    return names;
}

// A shortcut dropped (COM and the shell's link object: ole32 and what it
// loads), Generate with a SHA-256 on the clipboard (the system's
// cryptography, bcrypt, and the verdict's balloon, comctl32), then Browse,
// the chooser up, Cancel: what a user does first. The DLLs loaded with the
// chooser up are returned.
std::set<std::wstring> DropAndBrowse(VorkelProcess &vorkel, const std::wstring &link,
                                     const std::wstring &target)
{
    EXPECT_TRUE(vorkel.Drop(Inputs().dropHook, {link}));
    EXPECT_TRUE(WaitUntil([&] { return vorkel.ItemText(IDC_PATH) == target; }))
        << "the path box shows " << testing::PrintToString(vorkel.ItemText(IDC_PATH));
    EXPECT_TRUE(SetClipboardText(L"SHA-256: " + std::wstring(64, L'0')));
    EXPECT_TRUE(ClickNow(vorkel.Main(), IDC_GENERATE));
    EXPECT_NE(vorkel.Gui().Tooltip(vorkel.Main()), nullptr) << "no verdict";
    SetClipboardText(L"");
    Click(vorkel.Main(), IDC_BROWSE);
    HWND hChooser = NULL;
    EXPECT_TRUE(WaitUntil([&] { return (hChooser = vorkel.Gui().FileChooser(vorkel.Main())) != NULL; }))
        << "no file chooser came";
    std::set<std::wstring> names = LoadedDlls(vorkel.Process());
    ::PostMessageW(hChooser, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitUntil([&] { return vorkel.Gui().FileChooser(vorkel.Main()) == NULL; }));
    return names;
}

void ExpectExitCodeZero(VorkelProcess &vorkel)
{
    ::PostMessageW(vorkel.Main(), WM_CLOSE, 0, 0);
    DWORD exitCode = 1;
    ASSERT_TRUE(vorkel.Exited(5000, exitCode)) << "Vorkel.exe did not end";
    EXPECT_EQ(exitCode, 0u);
}

std::wstring FolderOf(const std::wstring &path)
{
    return path.substr(0, path.find_last_of(L'\\'));
}

TEST(DllPlanting, NothingBesideTheProgramsOrInTheCurrentDirectoryLoads)
{
    // The programs in one folder, the current directory another, which
    // holds a file and a shortcut to it (an ASCII path: Wine keeps the
    // target in the writer's code page, this program's, not Vorkel's).
    const std::wstring work = FolderOf(Inputs().samples[0].path);
    const std::wstring beside = work + L"\\downloads", current = work + L"\\current";
    for (const std::wstring &folder : {beside, current})
        ::CreateDirectoryW(folder.c_str(), NULL);
    const std::wstring sample = current + L"\\sample.bin", link = current + L"\\sample.lnk";
    ASSERT_TRUE(::CopyFileW(Inputs().samples[0].path.c_str(), sample.c_str(), FALSE));
    ASSERT_TRUE(MakeShortcut(link, sample));

    // The names: every DLL of a clean run with the chooser up, and those
    // that the shell and the chooser load by name on Windows.
    std::set<std::wstring> names = {L"shcore.dll",  L"compstui.dll", L"uxtheme.dll",
                                    L"dwmapi.dll",  L"propsys.dll",  L"version.dll",
                                    L"cryptbase.dll", L"profapi.dll", L"textshaping.dll",
                                    L"windowscodecs.dll", L"bcrypt.dll", L"bcryptprimitives.dll"};
    {
        VorkelProcess clean;
        ASSERT_TRUE(clean.Start(Inputs().vorkelExe));
        std::set<std::wstring> loaded = DropAndBrowse(clean, link, sample);
        ASSERT_GT(loaded.size(), 5u) << "no modules read from Vorkel.exe's process";
        for (const std::wstring &name : loaded)
            if (name.size() > 4 && name.compare(name.size() - 4, 4, L".dll") == 0)
                names.insert(name);
        ExpectExitCodeZero(clean);
    }

    // Both folders hold the planted DLL under every name.
    for (const std::wstring &folder : {beside, current}) {
        for (const std::wstring &name : names)
            ASSERT_TRUE(::CopyFileW(Inputs().plantedDll.c_str(), (folder + L"\\" + name).c_str(), FALSE))
                << "copy to " << testing::PrintToString(name) << ": error " << ::GetLastError();
    }
    const std::wstring vorkelExe = beside + L"\\Vorkel.exe", md5hexExe = beside + L"\\md5hex.exe";
    ASSERT_TRUE(::CopyFileW(Inputs().vorkelExe.c_str(), vorkelExe.c_str(), FALSE));
    ASSERT_TRUE(::CopyFileW(Inputs().md5hexExe.c_str(), md5hexExe.c_str(), FALSE));

    {
        VorkelProcess vorkel;
        ASSERT_TRUE(vorkel.Start(vorkelExe, L"", current));
        DropAndBrowse(vorkel, link, sample);
        ExpectExitCodeZero(vorkel);
    }
    {
        ChildProcess md5hex;
        ASSERT_TRUE(md5hex.Start(md5hexExe, L"md5hex sample.bin", -1, current));
        DWORD exitCode = 1;
        ASSERT_TRUE(md5hex.Exited(10000, exitCode));
        EXPECT_EQ(exitCode, 0u);
        std::string output = md5hex.Output();
        EXPECT_EQ(output.substr(0, output.find_last_not_of("\r\n") + 1),
                  Inputs().samples[0].digest + "  sample.bin");
    }

    for (const std::wstring &folder : {beside, current}) {
        WIN32_FIND_DATAW found;
        HANDLE hFind = ::FindFirstFileW((folder + L"\\*.loaded").c_str(), &found);
        if (hFind == INVALID_HANDLE_VALUE)
            continue;
        do
            ADD_FAILURE() << "loaded: " << testing::PrintToString(folder + L"\\" + found.cFileName);
        while (::FindNextFileW(hFind, &found));
        ::FindClose(hFind);
    }
}

} // namespace
