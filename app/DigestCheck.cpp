// The digest shown, compared with the digests the user copied from where the
// file was published (MD5, SHA-1, SHA-256, SHA-384, SHA-512): when Generate
// has computed it, and on Ctrl+V over the window. The verdict colours the
// digest box, and a balloon pointing at the box tells it until the user does
// anything else in the window.
#include "DigestDlg.h"

#include <string>

#include "ExpectedDigests.h"
#include "FileDigests.h"

namespace {

// In high contrast the user's colours are the only ones: no colour of ours.
bool IsHighContrast()
{
    HIGHCONTRASTA hc = {};
    hc.cbSize = sizeof(hc);
    return ::SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof(hc), &hc, 0) &&
           (hc.dwFlags & HCF_HIGHCONTRASTON);
}

// Something the user does in the window: a key, a click (on the caption or on
// the balloon too).
bool IsUserAction(UINT message)
{
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_NCXBUTTONDOWN:
        return true;
    default:
        return false;
    }
}

// Ctrl+V, the paste key (Ctrl with Alt is AltGr, which types a character).
bool IsPaste(const MSG *pMsg)
{
    return pMsg->message == WM_KEYDOWN && pMsg->wParam == 'V' && ::GetKeyState(VK_CONTROL) < 0 &&
           ::GetKeyState(VK_MENU) >= 0;
}

} // namespace

BOOL CDigestDlg::PreTranslateMessage(MSG *pMsg)
{
    if (IsUserAction(pMsg->message))
        HideBalloon();

    // Ctrl+V over any control compares the digest shown with the clipboard.
    // With none shown yet, the key pastes, as it always has.
    if (IsPaste(pMsg) && !m_strDigest.IsEmpty()) {
        if (!(pMsg->lParam & 0x40000000)) // a key held down repeats: once
            CheckClipboard();
        return TRUE; // the path box gets nothing to paste
    }
    return CDialog::PreTranslateMessage(pMsg);
}

// Ctrl+V with a digest shown: the clipboard as it is now. A SHA digest
// there is compared with the file's, which takes reading the file again;
// the box then shows the MD5 of that read, so that the verdict is about
// the digest shown.
void CDigestDlg::CheckClipboard()
{
    CExpectedDigests expected;
    BOOL bRead = expected.ReadClipboard(m_hWnd);
    CFileDigests digests;
    if (expected.GetKinds() & ~(1u << DIGEST_MD5)) {
        HashFile(expected.GetKinds(), digests);
        if (m_strDigest.IsEmpty())
            return; // the file can't be read now: no verdict, as at Generate
    }
    digests.m_strDigests[DIGEST_MD5] = m_strDigest;
    ShowVerdict(expected, bRead, digests, TRUE);
}

void CDigestDlg::HashFile(unsigned nKinds, CFileDigests &digests)
{
    {
        // MD5FileHex, beneath, takes a writable path: it gets a copy of its own.
        std::string strPath(m_strPath);
        m_strDigest = digests.Compute(&strPath[0], nKinds); // null when the file can't be read: empty
    }
    m_strDigest.MakeUpper();
    UpdateData(FALSE);
    SetVerdict(VERDICT_NONE);
}

namespace {

// The digests' names as the verdicts give them.
const wchar_t *const kKindNames[DIGEST_KINDS] = {L"MD5", L"SHA-1", L"SHA-256", L"SHA-384",
                                                 L"SHA-512"};

// The names of the kinds in nKinds, in their order: "MD5、SHA-256".
CStringW KindNames(unsigned nKinds)
{
    CStringW strSeparator, strNames;
    strSeparator.LoadString(IDS_LIST_SEPARATOR);
    for (int nKind = 0; nKind < DIGEST_KINDS; nKind++) {
        if (nKinds & (1u << nKind)) {
            if (!strNames.IsEmpty())
                strNames += strSeparator;
            strNames += kKindNames[nKind];
        }
    }
    return strNames;
}

// A line of the mismatch: its label and a digest. One of 128 digits would
// make the balloon as wide as most screens: its first 64 go on the label's
// line, the rest on a line of their own.
void AppendValueLine(CStringW &strText, UINT nIDLabel, const std::string &strValue)
{
    CStringW strLabel;
    strLabel.LoadString(nIDLabel);
    strText += L"\r\n";
    strText += strLabel;
    strText += CStringW(strValue.substr(0, 64).c_str());
    if (strValue.size() > 64) {
        strText += L"\r\n";
        strText += CStringW(strValue.substr(64).c_str());
    }
}

} // namespace

void CDigestDlg::ShowVerdict(const CExpectedDigests &expected, BOOL bRead,
                             const CFileDigests &digests, BOOL bPasted)
{
    CStringW strText;
    if (!bRead) {
        // Another program holds the clipboard: say so, rather than take it
        // for an empty one.
        strText.LoadString(IDS_CLIPBOARD_BUSY);
        ShowBalloon(TTI_WARNING, IDS_CANNOT_CHECK_TITLE, strText);
        return;
    }

    // The kinds there that the file's digests were computed for (the
    // system may lack one: it is left aside, as other algorithms are).
    unsigned nKinds = 0;
    for (int nKind = 0; nKind < DIGEST_KINDS; nKind++) {
        if ((expected.GetKinds() & (1u << nKind)) && !digests.m_strDigests[nKind].empty())
            nKinds |= 1u << nKind;
    }
    if (nKinds != 0) {
        CExpectedDigests::CVerdict verdict = expected.Judge(digests.m_strDigests);
        if (verdict.bPass) {
            SetVerdict(VERDICT_MATCH);
            strText.Format(IDS_MATCH, static_cast<LPCWSTR>(KindNames(verdict.nKinds)));
            if (ShowBalloon(TTI_INFO, IDS_MATCH_TITLE, strText))
                ::MessageBeep(MB_OK);
            return;
        }
        strText.Format(IDS_MISMATCH, static_cast<LPCWSTR>(KindNames(verdict.nKinds)));
        if (!verdict.strValue.empty()) {
            // The one value copied, and the file's own for a digest the
            // window doesn't show, to be compared by eye.
            AppendValueLine(strText, IDS_CLIPBOARD_VALUE, verdict.strValue);
            for (int nKind = DIGEST_SHA1; nKind < DIGEST_KINDS; nKind++) {
                if (verdict.nKinds == 1u << nKind)
                    AppendValueLine(strText, IDS_FILE_VALUE, digests.m_strDigests[nKind]);
            }
        }
        SetVerdict(VERDICT_MISMATCH);
        if (ShowBalloon(TTI_ERROR, IDS_MISMATCH_TITLE, strText))
            ::MessageBeep(MB_ICONHAND);
        return;
    }

    // No digest to compare with: no verdict. What the user copied may be a
    // digest all the same, which is worth a word at Generate too.
    SetVerdict(VERDICT_NONE);
    if (expected.GetKinds() != 0 || expected.m_bUnsupported) {
        strText.LoadString(IDS_UNSUPPORTED);
        ShowBalloon(TTI_WARNING, IDS_CANNOT_CHECK_TITLE, strText);
    } else if (expected.m_nNearMissLength != 0) {
        strText.Format(IDS_OTHER_DIGEST, expected.m_nNearMissLength);
        ShowBalloon(TTI_WARNING, IDS_CANNOT_CHECK_TITLE, strText);
    } else if (bPasted) {
        strText.LoadString(IDS_NO_DIGEST);
        ShowBalloon(TTI_WARNING, IDS_CANNOT_CHECK_TITLE, strText);
    }
}

void CDigestDlg::SetVerdict(Verdict nVerdict)
{
    if (nVerdict == m_nVerdict)
        return;
    m_nVerdict = nVerdict;
    ::InvalidateRect(::GetDlgItem(m_hWnd, IDC_DIGEST), NULL, TRUE); // in its new colour
}

BOOL CDigestDlg::ShowBalloon(UINT nIcon, UINT nIDTitle, LPCWSTR lpszText)
{
    HideBalloon();

    CStringW strTitle;
    strTitle.LoadString(nIDTitle);
    // In the dialog's own font: it has the glyphs of the texts (where the
    // template's face lacks them, the stand-in's: see dialogfont.cpp), and
    // the size for the DPI of the window's monitor. The tooltip's own font
    // may lack them, or cut them off (Wine's does, by locale).
    m_balloon.SetFont(GetFont(), FALSE);
    m_balloon.SetTitle(nIcon, strTitle);
    m_balloon.UpdateTipText(lpszText, this, IDC_DIGEST);

    RECT rect;
    ::GetWindowRect(::GetDlgItem(m_hWnd, IDC_DIGEST), &rect);
    MONITORINFO mi = {};
    mi.cbSize = sizeof(mi);
    ::GetMonitorInfoA(::MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &mi);
    m_balloon.SetMaxTipWidth(mi.rcWork.right - mi.rcWork.left); // lines break where the text does

    // The stem points at the middle of the digest box's lower edge, the
    // balloon below it; where it does not fit there, at its upper edge
    // from above. Never over the box: the user compares its digits with
    // the balloon's. How tall the balloon is, is known once it shows (the
    // tooltip measures its text as it shows it; Wine's, only then).
    RECT rcPad = {0, 0, 0, 0};
    m_balloon.SetMargin(&rcPad);
    m_balloon.TrackPosition((rect.left + rect.right) / 2, rect.bottom);
    m_balloon.TrackActivate(TRUE, this, IDC_DIGEST);
    RECT rcBalloon;
    if (m_balloon.m_hWnd != NULL && ::GetWindowRect(m_balloon.m_hWnd, &rcBalloon) &&
        rect.bottom + (rcBalloon.bottom - rcBalloon.top) > mi.rcWork.bottom) {
        // The tooltip puts a balloon above the point it tracks only where it
        // would not fit below it on the monitor: one that would fit below
        // the upper edge (over the box), though not below the lower one, is
        // made that much taller.
        const LONG cyBalloon = rcBalloon.bottom - rcBalloon.top;
        if (rect.top + cyBalloon <= mi.rcMonitor.bottom) {
            rcPad.bottom = mi.rcMonitor.bottom - (rect.top + cyBalloon) + 1;
            m_balloon.SetMargin(&rcPad);
        }
        m_balloon.TrackPosition((rect.left + rect.right) / 2, rect.top); // shows it there
    }
    if (m_balloon.m_hWnd != NULL && ::IsWindowVisible(m_balloon.m_hWnd))
        return TRUE;

    // No balloon: the tooltip could not be made, or the system shows no
    // balloons (a setting can turn them off). The verdict goes in a
    // message box instead, which sounds for itself.
    UINT nType = nIcon == TTI_INFO ? MB_ICONINFORMATION
                 : nIcon == TTI_ERROR ? MB_ICONERROR
                                      : MB_ICONWARNING;
    MessageBox(lpszText, strTitle, MB_OK | nType);
    return FALSE;
}

void CDigestDlg::HideBalloon()
{
    m_balloon.TrackActivate(FALSE, this, IDC_DIGEST);
}

HBRUSH CDigestDlg::OnCtlColor(CDC *pDC, CWnd *pWnd, UINT nCtlColor)
{
    if (pWnd->GetDlgCtrlID() == IDC_DIGEST && m_nVerdict != VERDICT_NONE && !IsHighContrast()) {
        // Black digits on the light colour, whatever colour the system's
        // text has.
        pDC->SetTextColor(RGB(0, 0, 0));
        pDC->SetBkColor(m_nVerdict == VERDICT_MATCH ? MATCH_COLOUR : MISMATCH_COLOUR);
        return m_nVerdict == VERDICT_MATCH ? m_hbrMatch : m_hbrMismatch;
    }
    return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
}

// The balloon would point at where the box was.
void CDigestDlg::OnMove(int x, int y)
{
    HideBalloon();
    CDialog::OnMove(x, y);
}

// The user has gone to another window (another program's, the About box,
// the file chooser): the balloon goes too, rather than stay over it.
void CDigestDlg::OnActivate(UINT nState, CWnd *pWndOther, BOOL bMinimized)
{
    if (nState == WA_INACTIVE)
        HideBalloon();
    CDialog::OnActivate(nState, pWndOther, bMinimized);
}
