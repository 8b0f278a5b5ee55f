// Message maps and modal dialogs on real windows: which entry takes a message,
// commands reaching the application object, Default(), results, data
// exchange, owners, messages offered to PreTranslateMessage, and exceptions
// stopped at the dialog procedure.
#include <afxwin.h>

#include <gtest/gtest.h>

#include <new>
#include <string>
#include <vector>

#include "code_page.h"
#include "probe_resource.h"
#include "ui_script.h"
#include "windows_under_test.h"

namespace {

const UINT ID_BASE_ONLY = 40001;   // handled by CBaseProbe
const UINT ID_BOTH = 40002;        // handled by CBaseProbe and CProbeDlg
const UINT ID_APP_ONLY = 40003;    // handled by the application object
const UINT ID_NOBODY = 40004;      // handled by no one
const UINT ID_OPEN_NESTED = 40005; // CProbeDlg runs another CBaseProbe
const UINT WM_RESULT_42 = WM_APP;  // answered 42 through the map
const UINT WM_THROW = WM_APP + 1;  // its handler throws

std::vector<std::string> g_calls; // the handlers called, in order

class CProbeApp : public CWinApp {
protected:
    afx_msg void OnAppOnly() { g_calls.push_back("app"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeApp, CWinApp)
    ON_COMMAND(ID_APP_ONLY, OnAppOnly)
    ON_COMMAND(ID_BOTH, OnAppOnly)
END_MESSAGE_MAP()

CProbeApp theApp;

class CBaseProbe : public CDialog {
public:
    explicit CBaseProbe(CWnd *pParent = NULL) : CDialog(IDD_PROBE, pParent) {}

protected:
    afx_msg void OnBaseOnly() { g_calls.push_back("base only"); }
    afx_msg void OnBothInBase() { g_calls.push_back("both in base"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseProbe, CDialog)
    ON_COMMAND(ID_BASE_ONLY, OnBaseOnly)
    ON_COMMAND(ID_BOTH, OnBothInBase)
END_MESSAGE_MAP()

class CProbeDlg : public CBaseProbe {
public:
    CString m_strFirst;
    CString m_strSecond;
    bool m_bThrowInInit = false;

protected:
    void DoDataExchange(CDataExchange *pDX) override
    {
        CBaseProbe::DoDataExchange(pDX);
        DDX_Text(pDX, IDC_FIRST, m_strFirst);
        DDX_Text(pDX, IDC_SECOND, m_strSecond);
    }

    BOOL OnInitDialog() override
    {
        if (m_bThrowInInit)
            throw std::bad_alloc();
        return CBaseProbe::OnInitDialog();
    }

    // Minimising is refused; every other system command gets the default.
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam)
    {
        g_calls.push_back("syscommand");
        if ((nID & 0xFFF0) != SC_MINIMIZE)
            CBaseProbe::OnSysCommand(nID, lParam);
    }

    // Sees the keys pressed anywhere in the dialog first, and takes T.
    BOOL PreTranslateMessage(MSG *pMsg) override
    {
        if (pMsg->message != WM_KEYDOWN)
            return CBaseProbe::PreTranslateMessage(pMsg);
        g_calls.push_back(std::string("key ") + static_cast<char>(pMsg->wParam));
        return pMsg->wParam == 'T';
    }

    afx_msg void OnBothInDerived() { g_calls.push_back("both in derived"); }
    afx_msg void OnGo() { g_calls.push_back("go"); }

    afx_msg void OnOpenNested()
    {
        CBaseProbe dlg; // no parent
        g_calls.push_back(dlg.DoModal() == IDCANCEL ? "nested cancelled" : "nested failed");
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeDlg, CBaseProbe)
    ON_COMMAND(ID_BOTH, OnBothInDerived)
    ON_BN_CLICKED(IDC_GO, OnGo)
    ON_COMMAND(ID_OPEN_NESTED, OnOpenNested)
    ON_WM_SYSCOMMAND()
    if (message == WM_RESULT_42) {
        *pResult = 42;
        return TRUE;
    }
    if (message == WM_THROW)
        throw std::bad_alloc();
END_MESSAGE_MAP()

class DialogTest : public testing::Test {
protected:
    void SetUp() override
    {
        g_calls.clear();
        theApp.m_pMainWnd = &m_dlg;
    }
    void TearDown() override { theApp.m_pMainWnd = NULL; }

    // Plays the script on the probe dialog and returns DoModal's result.
    INT_PTR Run(UiScript &script)
    {
        INT_PTR nResult = 0;
        EXPECT_EQ(script.Play([&] { nResult = m_dlg.DoModal(); }), "");
        return nResult;
    }

    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return ::SendMessageW(m_dlg.m_hWnd, message, wParam, lParam);
    }

    void Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        ::PostMessageW(m_dlg.m_hWnd, message, wParam, lParam);
    }

    UiScript Opened()
    {
        UiScript script;
        script.WaitFor("the dialog", [this] { return m_dlg.m_hWnd != NULL; });
        return script;
    }

    CProbeDlg m_dlg;
};

TEST_F(DialogTest, CommandsGoToTheFirstMapThatHasThem)
{
    UiScript script = Opened();
    script.Do([this] {
        Send(WM_COMMAND, ID_BOTH);        // the derived class's entry wins
        Send(WM_COMMAND, ID_BASE_ONLY);   // on to the base class's map
        Send(WM_COMMAND, ID_APP_ONLY);    // on to the application object's
        Send(WM_COMMAND, ID_NOBODY);      // nobody
        Send(WM_COMMAND, MAKEWPARAM(ID_BASE_ONLY, 1)); // from an accelerator
        // A notification other than a click, from a control with the ID of
        // a command, is not that command.
        Send(WM_COMMAND, MAKEWPARAM(ID_BASE_ONLY, EN_CHANGE),
             reinterpret_cast<LPARAM>(::GetDlgItem(m_dlg.m_hWnd, IDC_FIRST)));
    });
    script.Do([this] { Click(m_dlg.m_hWnd, IDC_GO); })
        .WaitFor("the click", [] { return !g_calls.empty() && g_calls.back() == "go"; })
        .Do([this] { Send(WM_COMMAND, IDCANCEL); });

    EXPECT_EQ(Run(script), IDCANCEL);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"both in derived", "base only", "app",
                                                   "base only", "go"}));
}

TEST_F(DialogTest, ResultsReachTheSender)
{
    LRESULT answer = 0;
    UiScript script = Opened();
    script.Do([&] { answer = Send(WM_RESULT_42); }).Do([this] { Send(WM_COMMAND, IDOK); });
    EXPECT_EQ(Run(script), IDOK);
    EXPECT_EQ(answer, 42);
}

TEST_F(DialogTest, DefaultGivesTheDefaultProcessing)
{
    // The handler lets SC_RESTORE and SC_CLOSE through and swallows SC_MINIMIZE.
    std::vector<BOOL> iconic;
    UiScript script = Opened();
    script.Do([&] {
        ::ShowWindow(m_dlg.m_hWnd, SW_MINIMIZE); // not a system command: minimises
        iconic.push_back(::IsIconic(m_dlg.m_hWnd));
        Send(WM_SYSCOMMAND, SC_RESTORE);
        iconic.push_back(::IsIconic(m_dlg.m_hWnd));
        Send(WM_SYSCOMMAND, SC_MINIMIZE);
        iconic.push_back(::IsIconic(m_dlg.m_hWnd));
        Send(WM_SYSCOMMAND, SC_CLOSE); // through the dialog manager: IDCANCEL
    });
    EXPECT_EQ(Run(script), IDCANCEL);
    EXPECT_EQ(iconic, (std::vector<BOOL>{TRUE, FALSE, FALSE}));
    EXPECT_EQ(g_calls, (std::vector<std::string>{"syscommand", "syscommand", "syscommand"}));
}

TEST_F(DialogTest, DataExchangeBothWays)
{
    // Texts beyond ASCII, in characters the code page has.
    const std::wstring member = FirstWithAnsiForm({L"第二", L"Größe"});
    const std::wstring typed = FirstWithAnsiForm({L"键入的", L"入力した", L"Getippt: é"});
    m_dlg.m_strFirst = "initial";
    m_dlg.m_strSecond = ToAnsi(member).c_str();
    std::wstring first, second;
    UiScript script = Opened();
    script.Do([&] {
        first = ItemText(m_dlg.m_hWnd, IDC_FIRST); // filled by OnInitDialog
        second = ItemText(m_dlg.m_hWnd, IDC_SECOND);
        m_dlg.m_strFirst = "from the member";
        m_dlg.UpdateData(FALSE);
    });
    script.WaitFor("the member in the box",
                   [this] { return ItemText(m_dlg.m_hWnd, IDC_FIRST) == L"from the member"; })
        .Do([&] { ::SetDlgItemTextW(m_dlg.m_hWnd, IDC_SECOND, typed.c_str()); })
        .Do([] { GuiThread().PressKey(VK_RETURN); }); // IDOK: the boxes are read back

    EXPECT_EQ(Run(script), IDOK);
    EXPECT_EQ(first, L"initial");
    EXPECT_EQ(second, member);
    EXPECT_STREQ(m_dlg.m_strFirst, "from the member");
    EXPECT_EQ(FromAnsi(static_cast<LPCTSTR>(m_dlg.m_strSecond)), typed);
}

TEST_F(DialogTest, DialogsWithoutParentAreOwnedByTheMainWindow)
{
    BOOL mainEnabledMeanwhile = TRUE;
    UiScript script = Opened();
    script.Do([this] { Post(WM_COMMAND, ID_OPEN_NESTED); })
        .WaitFor("a dialog owned by the main window",
                 [this] { return GuiThread().OwnedWindow(m_dlg.m_hWnd) != NULL; })
        .Do([&] {
            mainEnabledMeanwhile = ::IsWindowEnabled(m_dlg.m_hWnd);
            ::PostMessageW(GuiThread().OwnedWindow(m_dlg.m_hWnd), WM_COMMAND, IDCANCEL, 0);
        })
        .WaitFor("the nested dialog to end", [] { return !g_calls.empty(); })
        .Do([this] { Send(WM_COMMAND, IDOK); });
    EXPECT_EQ(Run(script), IDOK);
    EXPECT_FALSE(mainEnabledMeanwhile);
    EXPECT_EQ(g_calls, std::vector<std::string>{"nested cancelled"});
}

// The dialog manager's loop offers every message to the dialog it is for
// before dispatching it: keys pressed in a control reach the dialog's
// PreTranslateMessage, which can take them; a key in a dialog opened over it
// is that dialog's; once that dialog has ended, the keys are the first's
// again.
TEST_F(DialogTest, PreTranslateMessageSeesTheLoopsMessagesFirst)
{
    auto press = [](HWND hWnd, UINT vk) {
        ::PostMessageW(hWnd, WM_KEYDOWN, vk, 1);
        ::PostMessageW(hWnd, WM_KEYUP, vk, 0xC0000001);
    };
    HWND hNested = NULL;
    std::wstring nestedText;
    UiScript script = Opened();
    script.Do([&] {
            HWND hFirst = ::GetDlgItem(m_dlg.m_hWnd, IDC_FIRST);
            ::SetFocus(hFirst);
            press(hFirst, 'T');
            press(hFirst, 'U');
        })
        .WaitFor("the key typed", [this] { return ItemText(m_dlg.m_hWnd, IDC_FIRST) == L"u"; })
        .Do([this] { Post(WM_COMMAND, ID_OPEN_NESTED); })
        .WaitFor("the nested dialog",
                 [&] { return (hNested = GuiThread().OwnedWindow(m_dlg.m_hWnd)) != NULL; })
        .Do([&] { press(::GetDlgItem(hNested, IDC_FIRST), 'T'); })
        .WaitFor("the key typed there", [&] { return ItemText(hNested, IDC_FIRST) == L"t"; })
        .Do([&] { ::PostMessageW(hNested, WM_COMMAND, IDCANCEL, 0); })
        .WaitFor("the nested dialog to end", [] { return g_calls.back() == "nested cancelled"; })
        .Do([&] { press(::GetDlgItem(m_dlg.m_hWnd, IDC_FIRST), 'V'); })
        .WaitFor("the key typed after", [this] {
            std::wstring text = ItemText(m_dlg.m_hWnd, IDC_FIRST); // "u" selected, or not
            return !text.empty() && text.back() == L'v';
        })
        .Do([this] { Send(WM_COMMAND, IDOK); });
    EXPECT_EQ(Run(script), IDOK);
    EXPECT_EQ(g_calls,
              (std::vector<std::string>{"key T", "key U", "nested cancelled", "key V"}));
}

TEST_F(DialogTest, ExceptionsStopAtTheDialogProcedure)
{
    LRESULT answer = -1;
    UiScript script = Opened();
    script.Do([&] { answer = Send(WM_THROW); }).Do([this] { Send(WM_COMMAND, IDOK); });
    EXPECT_EQ(Run(script), IDOK); // the dialog went on
    EXPECT_EQ(answer, 0);

    CProbeDlg failing;
    failing.m_bThrowInInit = true;
    EXPECT_EQ(failing.DoModal(), -1);
    EXPECT_EQ(failing.m_hWnd, (HWND)NULL);
}

} // namespace
