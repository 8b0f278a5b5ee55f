// md5hex.exe's Windows footing, under Wine in the Chinese locale: its output
// to a console (names in any script readable, the console's code page left as
// it was), the wildcards it expands, its manifest as the system reads it, and
// its version record.
//   md5hex_windows_tests.exe [GTEST FLAGS] MD5HEX.EXE
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "child_process.h"
#include "command_line.h"
#include "resource_reader.h"
#include "test_folder.h"
#include "vorkel_version.h"
#include "windows_under_test.h"

namespace {

std::wstring g_md5hex; // its Windows path

const char kAbc[] = "900150983cd24fb0d6963f7d28e17f72"; // MD5("abc"), RFC 1321

// Names that the Chinese code page 936 can spell and names it can't.
const wchar_t *const kNames[] = {L"样本 文件.txt", L"한국어 파일.txt", L"emoji 😀.txt"};

void WriteFile(const std::wstring &path, const std::string &bytes)
{
    std::FILE *file = _wfopen(path.c_str(), L"wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

// md5hex.exe run in this process's console, which the test gives it, with
// its standard handles left to it: what it leaves on the screen, one text a
// row, and its exit code.
class ConsoleOutput : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ::FreeConsole();
        ASSERT_TRUE(::AllocConsole()) << "error " << ::GetLastError();
        ::CreateDirectoryW(kFolder, NULL);
        std::string sums;
        for (const wchar_t *name : kNames) {
            WriteFile(std::wstring(kFolder) + L"\\" + name, "abc");
            sums += std::string(kAbc) + "  " + ToUtf8(name) + "\n";
        }
        sums += std::string(kAbc) + "  " + ToUtf8(L"없는 파일.txt") + "\n";
        WriteFile(std::wstring(kFolder) + L"\\sums.md5", sums);
    }

    // Runs md5hex.exe with these arguments; its rows in rows. With
    // errorFile, its standard error goes there (2>errorFile), the rest to
    // the console.
    DWORD Run(const std::wstring &arguments, std::vector<std::wstring> *rows,
              const wchar_t *errorFile = NULL)
    {
        HANDLE hScreen = ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                                       0, NULL);
        EXPECT_NE(hScreen, INVALID_HANDLE_VALUE);
        CONSOLE_SCREEN_BUFFER_INFO before;
        ::GetConsoleScreenBufferInfo(hScreen, &before);

        std::wstring commandLine = L"md5hex " + arguments;
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        HANDLE hError = INVALID_HANDLE_VALUE;
        if (errorFile != NULL) {
            SECURITY_ATTRIBUTES inherited = {sizeof(inherited), NULL, TRUE};
            hError = ::CreateFileW((std::wstring(kFolder) + L"\\" + errorFile).c_str(),
                                   GENERIC_WRITE, FILE_SHARE_READ, &inherited, CREATE_ALWAYS, 0,
                                   NULL);
            EXPECT_NE(hError, INVALID_HANDLE_VALUE);
            ::SetHandleInformation(hScreen, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
            startup.dwFlags = STARTF_USESTDHANDLES;
            startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
            startup.hStdOutput = hScreen;
            startup.hStdError = hError;
        }
        PROCESS_INFORMATION process = {};
        DWORD exitCode = 99;
        if (!::CreateProcessW(g_md5hex.c_str(), &commandLine[0], NULL, NULL, errorFile != NULL,
                              0, NULL, kFolder, &startup, &process)) {
            ADD_FAILURE() << "CreateProcess: error " << ::GetLastError();
        } else {
            EXPECT_EQ(::WaitForSingleObject(process.hProcess, 10000), WAIT_OBJECT_0);
            ::GetExitCodeProcess(process.hProcess, &exitCode);
            ::CloseHandle(process.hThread);
            ::CloseHandle(process.hProcess);
        }
        if (hError != INVALID_HANDLE_VALUE)
            ::CloseHandle(hError);

        CONSOLE_SCREEN_BUFFER_INFO after;
        ::GetConsoleScreenBufferInfo(hScreen, &after);
        for (SHORT y = before.dwCursorPosition.Y; y < after.dwCursorPosition.Y; y++) {
            std::wstring row(after.dwSize.X, L' ');
            DWORD read = 0;
            ::ReadConsoleOutputCharacterW(hScreen, &row[0], row.size(), COORD{0, y}, &read);
            row.resize(row.find_last_not_of(L' ') + 1);
            rows->push_back(row);
        }
        ::CloseHandle(hScreen);
        return exitCode;
    }

    static const wchar_t kFolder[];
};

const wchar_t ConsoleOutput::kFolder[] = L"md5hex-console-files";

TEST_F(ConsoleOutput, CheckResultsAndMessagesInTheirOrderAndScripts)
{
    UINT codePage = ::GetConsoleOutputCP(), inputCodePage = ::GetConsoleCP();
    std::vector<std::wstring> rows;
    EXPECT_EQ(Run(L"-c sums.md5", &rows), 1u);
    std::vector<std::wstring> expected;
    for (const wchar_t *name : kNames)
        expected.push_back(std::wstring(name) + L": OK");
    expected.push_back(L"md5hex: '없는 파일.txt': No such file or directory");
    expected.push_back(L"없는 파일.txt: FAILED open or read");
    expected.push_back(L"md5hex: WARNING: 1 listed file could not be read");
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(::GetConsoleOutputCP(), codePage);
    EXPECT_EQ(::GetConsoleCP(), inputCodePage);
}

// 2>log: the messages go to the file, as bytes (names in UTF-8, CR LF),
// and only the results to the console.
TEST_F(ConsoleOutput, StandardErrorAloneRedirected)
{
    std::vector<std::wstring> rows;
    EXPECT_EQ(Run(L"-c sums.md5", &rows, L"errors.log"), 1u);
    std::vector<std::wstring> expected;
    for (const wchar_t *name : kNames)
        expected.push_back(std::wstring(name) + L": OK");
    expected.push_back(L"없는 파일.txt: FAILED open or read");
    EXPECT_EQ(rows, expected);

    std::FILE *log = _wfopen((std::wstring(kFolder) + L"\\errors.log").c_str(), L"rb");
    ASSERT_NE(log, nullptr);
    char bytes[512];
    std::string text(bytes, std::fread(bytes, 1, sizeof(bytes), log));
    std::fclose(log);
    EXPECT_EQ(text, "md5hex: '" + ToUtf8(L"없는 파일.txt") +
                        "': No such file or directory\r\n"
                        "md5hex: WARNING: 1 listed file could not be read\r\n");
}

TEST_F(ConsoleOutput, PlainDigestLines)
{
    std::vector<std::wstring> rows;
    EXPECT_EQ(Run(L"\"" + std::wstring(kNames[1]) + L"\" \"" + kNames[2] + L"\"", &rows), 0u);
    EXPECT_EQ(rows, (std::vector<std::wstring>{FromUtf8(kAbc) + L"  " + kNames[1],
                                               FromUtf8(kAbc) + L"  " + kNames[2]}));
}

// Wildcards as a user types them, in a batch file that cmd runs: it hands
// them over as typed, quotes and all. Each file holds "abc".
TEST(Wildcards, NamesInOrderLongNamesOnlyQuotedPatternsLeftAlone)
{
    TestFolder folder("md5hex-wildcards-");
    const std::wstring dir = folder.Path().wstring() + L"\\";
    for (const wchar_t *sub : {L"d.bin", L"sub", L"936"})
        ASSERT_TRUE(::CreateDirectoryW((dir + sub).c_str(), NULL));
    // x.binary and x.md5sums match *.bin and *.md5 through their short
    // names alone; v².bin is spelled "v2.bin" by code page 936's best fit.
    for (const wchar_t *name : {L"-c.bin", L"a.bin", L"B.bin", L"样.bin", L"x.binary",
                                L"sub\\e.bin", L"936\\v2.bin", L"936\\v².bin"})
        WriteFile(dir + name, "abc");
    WriteFile(dir + L"1.md5", std::string(kAbc) + "  a.bin\n" + kAbc + "  " + ToUtf8(L"样.bin\n"));
    WriteFile(dir + L"2.md5", std::string(kAbc) + "  B.bin\n");
    WriteFile(dir + L"x.md5sums", "no sums here\n");

    // What the case of the short names stands on: the system's search
    // does match them.
    WIN32_FIND_DATAW found;
    HANDLE hFind = ::FindFirstFileExW((dir + L"*.md5").c_str(), FindExInfoBasic, &found,
                                      FindExSearchNameMatch, NULL, 0);
    ASSERT_NE(hFind, INVALID_HANDLE_VALUE);
    std::set<std::wstring> systemMatches;
    do
        systemMatches.insert(found.cFileName);
    while (::FindNextFileW(hFind, &found));
    ::FindClose(hFind);
    EXPECT_EQ(systemMatches.count(L"x.md5sums"), 1u);

    // Before Windows 10 1903: a copy of md5hex.exe without the UTF-8 code
    // page, which runs under 936 in this locale.
    std::FILE *in = _wfopen(g_md5hex.c_str(), L"rb");
    ASSERT_NE(in, nullptr);
    std::string exe;
    char buffer[65536];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof(buffer), in)) > 0;)
        exe.append(buffer, n);
    std::fclose(in);
    int renamed = 0;
    for (std::size_t at = 0; (at = exe.find("activeCodePage", at)) != std::string::npos; renamed++)
        exe[at + 13] = 'X';
    ASSERT_EQ(renamed, 2); // <activeCodePage ...> and </activeCodePage>
    WriteFile(dir + L"md5hex-936.exe", exe);

    std::string script = "@echo off\r\n";
    for (const char *arguments :
         {"*.bin", "sub\\*.bin ?.bin", "*.none \"*.bin\"", "-c *.md5", "-c d.*"})
        script += "\"" + ToUtf8(g_md5hex) + "\" " + arguments + " 2>&1\r\necho [%errorlevel%]\r\n";
    script += "md5hex-936.exe 936\\v?.bin\r\necho [%errorlevel%]\r\n";
    WriteFile(dir + L"wildcards.cmd", script);

    wchar_t system[MAX_PATH];
    ::GetSystemDirectoryW(system, MAX_PATH);
    ChildProcess cmd;
    ASSERT_TRUE(cmd.Start(std::wstring(system) + L"\\cmd.exe", L"cmd /c wildcards.cmd", -1, dir));
    DWORD exitCode = 0;
    ASSERT_TRUE(cmd.Exited(30000, exitCode));
    std::string output = cmd.Output();
    output.erase(std::remove(output.begin(), output.end(), '\r'), output.end());

    const std::string abc = std::string(kAbc) + "  ";
    EXPECT_EQ(output, abc + "-c.bin\n" + abc + "a.bin\n" + abc + "B.bin\n" +
                          "d.bin can't be opened\n" + abc + ToUtf8(L"样.bin\n") + "[1]\n" +
                          // sub\*.bin ?.bin
                          abc + "sub\\e.bin\n" + abc + "a.bin\n" + abc + "B.bin\n" +
                          "d.bin can't be opened\n" + abc + ToUtf8(L"样.bin\n") + "[1]\n" +
                          // *.none "*.bin": as they are
                          "*.none can't be opened\n*.bin can't be opened\n[1]\n" +
                          // -c *.md5
                          "a.bin: OK\n" + ToUtf8(L"样.bin: OK\n") + "B.bin: OK\n[0]\n" +
                          // -c d.*: a folder, as md5sum reports one
                          "md5hex: d.bin: Is a directory\n[1]\n" +
                          // 936\v?.bin under code page 936: never the look-alike
                          abc + "936\\v2.bin\n936\\v?.bin can't be opened\n[1]\n");
}

// The command line split by the C runtime's rules (its documentation's
// examples among them), where the wildcards outside quotes are, and the
// long names' matching: the parts cmd can't show.
TEST(Wildcards, SplitAndMatchedAsDocumented)
{
    const struct {
        const wchar_t *line;
        std::vector<std::wstring> arguments; // "*" after one: a wildcard outside quotes
    } splits[] = {
        {L"\"C:\\Program Files\\md5hex.exe\" \"a b c\" d e",
         {L"C:\\Program Files\\md5hex.exe", L"a b c", L"d", L"e"}},
        {L"x \"ab\\\"c\" \"\\\\\" d", {L"x", L"ab\"c", L"\\", L"d"}},
        {L"x a\\\\\\b d\"e f\"g h", {L"x", L"a\\\\\\b", L"de fg", L"h"}},
        {L"x a\\\\\\\"b c\t d", {L"x", L"a\\\"b", L"c", L"d"}},
        {L"x a\\\\\\\\\"b c\" d ", {L"x", L"a\\\\b c", L"d"}},
        {L"x a\"b\"\" c d", {L"x", L"ab\" c d"}},
        {L"x *.bin \"*.bin\" \"my files\"\\?.bin \"*\"\\a",
         {L"x", L"*.bin*", L"*.bin", L"my files\\?.bin*", L"*\\a"}},
    };
    for (const auto &split : splits) {
        std::vector<std::wstring> arguments;
        for (const SplitArgument &argument : SplitCommandLine(split.line))
            arguments.push_back(argument.text +
                                (argument.wildcard != std::wstring::npos ? L"*" : L""));
        EXPECT_EQ(arguments, split.arguments) << ToUtf8(split.line);
    }

    const struct {
        const wchar_t *pattern, *name;
        bool matches;
    } matches[] = {
        {L"a*b*c", L"aXbYbc", true}, {L"a*b*c", L"aXbYbcd", false}, {L"*.BIN", L"样.bin", true},
        {L"?.bin", L"ab.bin", false}, {L"*.*", L"README", true},    {L"*.bin", L"x.binary", false},
    };
    for (const auto &match : matches)
        EXPECT_EQ(MatchesPattern(match.pattern, match.name), match.matches)
            << ToUtf8(match.pattern) << " " << ToUtf8(match.name);
}

// The manifest as the system reads it: an activation context made from
// resource 1 of type RT_MANIFEST, the only one.
TEST(Manifest, CodePageLongPathsSupportedOsAndAsInvoker)
{
    HMODULE hExe = ::LoadLibraryExW(g_md5hex.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(hExe, nullptr);
    std::vector<ULONG_PTR> names;
    ::EnumResourceNamesW(
        hExe, MAKEINTRESOURCEW(24),
        [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) -> BOOL {
            reinterpret_cast<std::vector<ULONG_PTR> *>(param)->push_back(
                reinterpret_cast<ULONG_PTR>(name));
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&names));
    ::FreeLibrary(hExe);
    EXPECT_EQ(names, std::vector<ULONG_PTR>{1});

    ACTCTXW actCtx = {};
    actCtx.cbSize = sizeof(actCtx);
    actCtx.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    actCtx.lpSource = g_md5hex.c_str();
    actCtx.lpResourceName = MAKEINTRESOURCEW(1);
    HANDLE hActCtx = ::CreateActCtxW(&actCtx);
    ASSERT_NE(hActCtx, INVALID_HANDLE_VALUE) << "error " << ::GetLastError();
    auto setting = [hActCtx](const wchar_t *ns, const wchar_t *name) -> std::wstring {
        wchar_t value[64] = L"";
        SIZE_T written = 0;
        return ::QueryActCtxSettingsW(0, hActCtx, ns, name, value, 64, &written) ? value
                                                                                : L"(none)";
    };
    EXPECT_EQ(setting(L"http://schemas.microsoft.com/SMI/2019/WindowsSettings", L"activeCodePage"),
              L"UTF-8");
    EXPECT_EQ(setting(L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"longPathAware"),
              L"true");

    SIZE_T written = 0;
    EXPECT_EQ(SupportedOsIds(hActCtx), (std::set<std::string>{
                       "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", // Windows 7
                       "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", // 8
                       "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", // 8.1
                       "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", // 10 and 11
                   }));

    ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION runLevel = {};
    ASSERT_TRUE(::QueryActCtxW(0, hActCtx, NULL, RunlevelInformationInActivationContext,
                               &runLevel, sizeof(runLevel), &written));
    EXPECT_EQ(runLevel.RunLevel, ACTCTX_RUN_LEVEL_AS_INVOKER);
    EXPECT_EQ(runLevel.UiAccess, 0u);
    ::ReleaseActCtx(hActCtx);
}

// The version record, in English, of the version project(VERSION ...) states.
TEST(VersionRecord, VorkelsVersionUnderMd5hexsNames)
{
    DWORD handle = 0;
    DWORD size = ::GetFileVersionInfoSizeW(g_md5hex.c_str(), &handle);
    ASSERT_NE(size, 0u) << "no version record";
    std::vector<BYTE> data(size);
    ASSERT_TRUE(::GetFileVersionInfoW(g_md5hex.c_str(), 0, size, data.data()));
    auto query = [&data](const std::wstring &subBlock) -> const void * {
        void *value = NULL;
        UINT length = 0;
        return ::VerQueryValueW(data.data(), subBlock.c_str(), &value, &length) ? value : NULL;
    };

    auto fixed = static_cast<const VS_FIXEDFILEINFO *>(query(L"\\"));
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(fixed->dwFileVersionMS, DWORD(VORKEL_VERSION_MAJOR << 16 | VORKEL_VERSION_MINOR));
    EXPECT_EQ(fixed->dwFileVersionLS, DWORD(VORKEL_VERSION_PATCH << 16 | VORKEL_VERSION_TWEAK));
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
    EXPECT_EQ(fixed->dwFileType, DWORD(VFT_APP));

    auto translation = static_cast<const WORD *>(query(L"\\VarFileInfo\\Translation"));
    ASSERT_NE(translation, nullptr);
    EXPECT_EQ(translation[0], MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    EXPECT_EQ(translation[1], 1200); // UTF-16

    const std::wstring version = std::to_wstring(VORKEL_VERSION_MAJOR) + L", " +
                                 std::to_wstring(VORKEL_VERSION_MINOR) + L", " +
                                 std::to_wstring(VORKEL_VERSION_PATCH) + L", " +
                                 std::to_wstring(VORKEL_VERSION_TWEAK);
    for (const auto &entry : std::vector<std::pair<std::wstring, std::wstring>>{
             {L"FileVersion", version},
             {L"ProductVersion", version},
             {L"InternalName", L"md5hex"},
             {L"OriginalFilename", L"md5hex.exe"},
             {L"ProductName", L"Vorkel"}}) {
        auto text = static_cast<const wchar_t *>(query(L"\\StringFileInfo\\040904b0\\" + entry.first));
        EXPECT_EQ(text ? std::wstring(text) : L"(missing)", entry.second) << ToUtf8(entry.first);
    }
}

} // namespace

int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: md5hex_windows_tests [GTEST FLAGS] MD5HEX.EXE\n");
        return 2;
    }
    // A Unix path from CMake: Wine's drive Z: is the Unix root.
    g_md5hex = FromUtf8(argv[1]);
    if (!g_md5hex.empty() && g_md5hex[0] == L'/')
        g_md5hex = L"Z:" + g_md5hex;
    for (wchar_t &c : g_md5hex)
        if (c == L'/')
            c = L'\\';
    return RUN_ALL_TESTS();
}
