// The main window: a path box with Browse, a digest box with Generate, and
// the About box in the system menu. The digest's check against the MD5 on
// the clipboard: DigestCheck.cpp.
#include "DigestDlg.h"

#include <afxdlgs.h>

#include <string>
#include <vector>

#include "AboutBox.h"

CDigestDlg::CDigestDlg(CWnd *pParent) : CDialog(CDigestDlg::IDD, pParent)
{
    m_strPath = "";
    m_strDigest = "";
    // A shared icon from the resources: the system frees it, we never do.
    m_hIcon = ::LoadIcon(AfxFindResourceHandle(MAKEINTRESOURCE(IDI_MAIN), RT_GROUP_ICON),
                         MAKEINTRESOURCE(IDI_MAIN));
    m_nVerdict = VERDICT_NONE;
    m_hbrMatch = ::CreateSolidBrush(MATCH_COLOUR);
    m_hbrMismatch = ::CreateSolidBrush(MISMATCH_COLOUR);
}

CDigestDlg::~CDigestDlg()
{
    ::DeleteObject(m_hbrMatch);
    ::DeleteObject(m_hbrMismatch);
}

void CDigestDlg::DoDataExchange(CDataExchange *pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_PATH, m_strPath);
    DDX_Text(pDX, IDC_DIGEST, m_strDigest);
}

BEGIN_MESSAGE_MAP(CDigestDlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_BN_CLICKED(IDC_BROWSE, OnBrowse)
    ON_BN_CLICKED(IDC_GENERATE, OnGenerate)
    ON_WM_DROPFILES()
    ON_WM_CTLCOLOR()
    ON_WM_MOVE()
    ON_WM_ACTIVATE()
END_MESSAGE_MAP()

BOOL CDigestDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    // The About item goes at the end of the system menu, after a separator.
    CMenu *pSysMenu = GetSystemMenu(FALSE);
    if (pSysMenu != NULL) {
        CStringW strAboutMenu; // in UTF-16, whatever the code page
        strAboutMenu.LoadString(IDS_ABOUT);
        if (!strAboutMenu.IsEmpty()) {
            pSysMenu->AppendMenu(MF_SEPARATOR);
            pSysMenu->AppendMenu(MF_STRING, IDM_ABOUT, strAboutMenu);
        }
    }

    SetIcon(m_hIcon, TRUE);  // the large icon
    SetIcon(m_hIcon, FALSE); // the small icon

    DragAcceptFiles(); // a file dropped on the window is chosen too

    // The balloon that tells the verdict on the digest, pointing at the
    // digest box (see DigestCheck.cpp). Shown at once, without fading in:
    // the title is drawn over what the tooltip paints (see CToolTipCtrl).
    if (m_balloon.Create(this, TTS_BALLOON | TTS_NOANIMATE | TTS_NOFADE))
        m_balloon.AddTool(this, IDC_DIGEST, TTF_TRACK | TTF_ABSOLUTE);

    return TRUE; // the focus goes to the path box, the first tab stop
}

void CDigestDlg::OnSysCommand(UINT nID, LPARAM lParam)
{
    // The system uses the low four bits of a command for itself.
    if ((nID & 0xFFF0) == IDM_ABOUT) {
        HideBalloon();
        CAboutBox dlgAbout;
        dlgAbout.DoModal();
    } else {
        CDialog::OnSysCommand(nID, lParam);
    }
}

// Minimised, the dialog draws its icon in the middle of its window itself;
// otherwise painting is the dialog manager's.
void CDigestDlg::OnPaint()
{
    if (IsIconic()) {
        CPaintDC dc(this);

        SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);

        int cxIcon = GetSystemMetrics(SM_CXICON);
        int cyIcon = GetSystemMetrics(SM_CYICON);
        RECT rect;
        GetClientRect(&rect);
        int x = (rect.right - rect.left - cxIcon + 1) / 2;
        int y = (rect.bottom - rect.top - cyIcon + 1) / 2;

        dc.DrawIcon(x, y, m_hIcon);
    } else {
        CDialog::OnPaint();
    }
}

// The picture shown while the minimised window is dragged.
HCURSOR CDigestDlg::OnQueryDragIcon()
{
    return static_cast<HCURSOR>(m_hIcon);
}

void CDigestDlg::OnBrowse()
{
    HideBalloon();
    CFileDialog dlg(TRUE, "exe", "*.exe", OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                    "Exe files(*.exe)|*.exe|All files(*.*)|*.*||", NULL);
    if (dlg.DoModal() == IDOK) {
        m_strPath = dlg.GetPathName();
        m_strDigest = "";
        UpdateData(FALSE);
        SetVerdict(VERDICT_NONE);
    }
}

namespace {

// Whether name (in the ANSI code page) is a file that exists, not a folder.
// Asked in UTF-16: the ANSI functions refuse paths of 260 characters and
// more, the wide ones do not, and fopen opens such paths too.
bool IsExistingFile(const std::string &strName)
{
    int nWide = ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, strName.c_str(), -1, NULL, 0);
    if (nWide <= 0)
        return false;
    std::vector<wchar_t> wideName(nWide);
    ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, strName.c_str(), -1, wideName.data(),
                          nWide);
    DWORD dwAttributes = ::GetFileAttributesW(wideName.data());
    return dwAttributes != INVALID_FILE_ATTRIBUTES && !(dwAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

// Files dropped on the window (from Explorer, or a browser's downloads):
// the first that is an existing file is chosen, as Browse chooses one, a
// shortcut standing for its target. Folders, names that are gone or can't
// be spelt in the code page, and shortcuts to none of those are passed
// over; with none left, nothing changes.
void CDigestDlg::OnDropFiles(HDROP hDropInfo)
{
    HideBalloon();
    UINT nFiles = AfxDragQueryFile(hDropInfo, 0xFFFFFFFF, NULL, 0);
    for (UINT i = 0; i < nFiles; i++) {
        // The name's length first, so that a long path is read whole.
        UINT nLength = AfxDragQueryFile(hDropInfo, i, NULL, 0);
        if (nLength == 0)
            continue;
        std::string strName(nLength + 1, '\0');
        if (AfxDragQueryFile(hDropInfo, i, &strName[0], nLength + 1) != nLength)
            continue;
        strName.resize(nLength);
        // A shortcut stands for the file it points at, as in the chooser.
        if (AfxIsShortcut(strName.c_str())) {
            CString strTarget;
            if (!AfxResolveShortcut(strName.c_str(), strTarget))
                continue;
            strName = strTarget;
        }
        if (IsExistingFile(strName)) {
            m_strPath = strName.c_str();
            m_strDigest = "";
            UpdateData(FALSE);
            SetVerdict(VERDICT_NONE);
            break;
        }
    }
    AfxDragFinish(hDropInfo);
}

// Hashes the file last chosen with Browse: what the path box shows now may
// have been typed over, and is replaced by the stored path. Then compares
// the digests with those the user copied, if there are any on the
// clipboard; that is read first, so that the one read of the file serves
// every digest it asks for.
void CDigestDlg::OnGenerate()
{
    HideBalloon();
    CExpectedDigests expected;
    BOOL bRead = expected.ReadClipboard(m_hWnd);
    CFileDigests digests;
    HashFile(expected.GetKinds(), digests);
    if (!m_strDigest.IsEmpty()) {
        digests.m_strDigests[DIGEST_MD5] = m_strDigest;
        ShowVerdict(expected, bRead, digests, FALSE);
    }
}
