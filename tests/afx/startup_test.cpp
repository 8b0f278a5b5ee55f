// The start-up end to end: the probe program (startup_probe.cpp), started as
// its own process with a command line and a show state, reports what its
// application object got from WinMain and AfxWinMain.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <map>
#include <sstream>
#include <string>

#include "child_process.h"
#include "code_page.h"
#include "windows_under_test.h"

namespace {

struct ProbeReport {
    DWORD exitCode = 0;
    std::map<std::string, std::string> values; // "name value" lines
};

// The probe that runs under the same code page as this program.
std::wstring ProbePath()
{
    wchar_t self[MAX_PATH];
    DWORD nLength = ::GetModuleFileNameW(NULL, self, MAX_PATH);
    std::wstring folder(self, nLength);
    folder.resize(folder.find_last_of(L'\\') + 1);
    return folder + (CarriesUtf8Manifest() ? L"afx_startup_probe_utf8.exe" : L"afx_startup_probe.exe");
}

// Runs the probe with commandLine as its whole command line (the program
// file is named apart, so the name in the line can be any) and, when
// nCmdShow isn't -1, that show state in its start-up information.
::testing::AssertionResult RunProbe(const std::wstring &commandLine, int nCmdShow,
                                    ProbeReport *pReport)
{
    ChildProcess probe;
    ::testing::AssertionResult started = probe.Start(ProbePath(), commandLine, nCmdShow);
    if (!started)
        return started;
    if (!probe.Exited(10000, pReport->exitCode))
        return ::testing::AssertionFailure() << "the probe did not end";
    std::string output = probe.Output();

    // Standard output is in text mode: lines end in "\r\n".
    std::istringstream lines(output);
    std::string name, value;
    while (lines >> name) {
        std::getline(lines, value);
        if (!value.empty() && value.back() == '\r')
            value.pop_back();
        pReport->values[name] = value.empty() ? value : value.substr(1);
    }
    return ::testing::AssertionSuccess();
}

std::string Hex(const std::string &bytes)
{
    std::string hex;
    char digits[3];
    for (unsigned char c : bytes) {
        std::snprintf(digits, sizeof(digits), "%02X", c);
        hex += digits;
    }
    return hex;
}

TEST(StartUp, TheApplicationObjectGetsTheArgumentsPart)
{
    const std::wstring sample = FirstWithAnsiForm({L"样本", L"サンプル", L"Größe"});
    const struct {
        std::wstring commandLine;
        std::wstring arguments;
    } cases[] = {
        {L"\"C:\\Program Files\\Vorkel\\probe name.exe\" /x \"y z\"", L"/x \"y z\""},
        {L"probe.exe  a\tb", L"a\tb"},
        {L"probe.exe", L""},
        {L"\"probe.exe\"", L""},
        {L"probe.exe arg \t ", L"arg \t "},               // blanks at the end stay
        {L"C:\\" + sample + L"\\probe.exe " + sample, sample}, // bytes from 0x80 up
        {L"\"" + sample + L" probe.exe\"" + sample, sample},
    };
    for (const auto &c : cases) {
        ProbeReport report;
        ASSERT_TRUE(RunProbe(c.commandLine, -1, &report));
        EXPECT_EQ(report.values["lpCmdLine"], Hex(ToAnsi(c.arguments)))
            << "the command line " << ToUtf8(c.commandLine) << ", in " << CodePageName();
        EXPECT_EQ(report.exitCode, 0u);
    }
}

TEST(StartUp, TheApplicationObjectGetsTheShowState)
{
    const struct {
        int nGiven; // -1: none
        const char *nExpected;
    } cases[] = {{-1, "10"}, {SW_SHOWMINNOACTIVE, "7"}, {SW_HIDE, "0"}, {SW_SHOWMAXIMIZED, "3"}};
    for (const auto &c : cases) {
        ProbeReport report;
        ASSERT_TRUE(RunProbe(L"probe.exe", c.nGiven, &report));
        EXPECT_EQ(report.values["nCmdShow"], c.nExpected) << c.nGiven;
    }
}

TEST(StartUp, ModuleStateAndInstanceOfAnExecutable)
{
    ProbeReport report;
    ASSERT_TRUE(RunProbe(L"probe.exe", -1, &report));
    EXPECT_EQ(report.values["hInstanceIsModule"], "1");
    EXPECT_EQ(report.values["bDLL"], "0");
    EXPECT_EQ(report.values["dwVersion"], "0600");
}

// After the start-up, a DLL loaded by its name alone comes from System32
// only: one of a name the system has none of, beside the program, is not
// found, though it is there. (DLLs planted beside Vorkel.exe can't show
// this under Wine, where every system DLL has a built-in.)
TEST(StartUp, ADllBesideTheProgramIsNotLoadedByItsName)
{
    ProbeReport report;
    ASSERT_TRUE(RunProbe(L"probe.exe load afx_beside.dll", -1, &report));
    EXPECT_EQ(report.values["fromItsFolder"], "1") << "afx_beside.dll is not beside the probe";
    EXPECT_EQ(report.values["byName"], "0");
}

TEST(StartUp, InitInstanceReturningTrueRunsTheMessageLoop)
{
    // The probe's timer, dispatched by the loop, posts WM_QUIT with 42.
    ProbeReport report;
    ASSERT_TRUE(RunProbe(L"probe.exe run 42", -1, &report));
    EXPECT_EQ(report.exitCode, 42u);
}

} // namespace
