// The digest shown, compared with the MD5 the user copied from where the file
// was published: when Generate has computed it, and on Ctrl+V over the
// window. The verdict colours the digest box, and a balloon pointing at the
// box tells it until the user does anything else in the window.
#include "DigestDlg.h"

#include <string>

#include "ExpectedDigests.h"

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
            CheckClipboard(TRUE);
        return TRUE; // the path box gets nothing to paste
    }
    return CDialog::PreTranslateMessage(pMsg);
}

void CDigestDlg::CheckClipboard(BOOL bPasted)
{
    // Read now, once: the clipboard is never watched, and nothing of it
    // stays but the verdict.
    CExpectedDigests expected;
    expected.ReadClipboard(m_hWnd);

    CString strText;
    // Only MD5s are compared so far; other digests are named below.
    if (expected.GetKinds() == 1u << DIGEST_MD5) {
        std::string digests[DIGEST_KINDS];
        digests[DIGEST_MD5] = static_cast<LPCTSTR>(m_strDigest);
        const CExpectedDigests::CVerdict verdict = expected.Judge(digests);
        // Any of them will do: the user may have copied a list.
        if (verdict.bPass) {
            SetVerdict(VERDICT_MATCH);
            strText.LoadString(IDS_MATCH);
            ShowBalloon(TTI_INFO, IDS_MATCH_TITLE, strText);
            ::MessageBeep(MB_OK);
            return;
        }
        std::string strMismatch;
        strText.LoadString(IDS_MISMATCH);
        strMismatch = strText;
        if (!verdict.strValue.empty()) {
            // The one that was copied, to be compared by eye.
            strText.LoadString(IDS_CLIPBOARD_MD5);
            strMismatch += "\r\n";
            strMismatch += strText;
            strMismatch += verdict.strValue;
        }
        SetVerdict(VERDICT_MISMATCH);
        ShowBalloon(TTI_ERROR, IDS_MISMATCH_TITLE, strMismatch.c_str());
        ::MessageBeep(MB_ICONHAND);
        return;
    }

    // No MD5 to compare with: no verdict. The user may have copied another
    // kind of digest from the page, which is worth a word at Generate too.
    SetVerdict(VERDICT_NONE);
    static const int kLengths[DIGEST_KINDS] = {32, 40, 64, 96, 128};
    int nOtherLength = expected.m_nNearMissLength;
    for (int nKind = DIGEST_SHA1; nKind < DIGEST_KINDS; nKind++) {
        if (expected.GetKinds() == 1u << nKind)
            nOtherLength = kLengths[nKind];
    }
    if (nOtherLength != 0) {
        strText.Format(IDS_OTHER_DIGEST, nOtherLength);
        ShowBalloon(TTI_WARNING, IDS_CANNOT_CHECK_TITLE, strText);
    } else if (bPasted) {
        strText.LoadString(IDS_NO_MD5);
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

void CDigestDlg::ShowBalloon(UINT nIcon, UINT nIDTitle, const CString &strText)
{
    HideBalloon();

    CString strTitle;
    strTitle.LoadString(nIDTitle);
    // In the dialog's own font: it has the glyphs of the texts (where the
    // template's face lacks them, the stand-in's: see dialogfont.cpp), and
    // the size for the DPI of the window's monitor. The tooltip's own font
    // may lack them, or cut them off (Wine's does, by locale).
    m_balloon.SetFont(GetFont(), FALSE);
    m_balloon.SetTitle(nIcon, strTitle);
    m_balloon.UpdateTipText(strText, this, IDC_DIGEST);

    // The stem points at the middle of the digest box's lower edge.
    RECT rect;
    ::GetWindowRect(::GetDlgItem(m_hWnd, IDC_DIGEST), &rect);
    MONITORINFO mi = {};
    mi.cbSize = sizeof(mi);
    ::GetMonitorInfoA(::MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &mi);
    m_balloon.SetMaxTipWidth(mi.rcWork.right - mi.rcWork.left); // lines break where the text does
    m_balloon.TrackPosition((rect.left + rect.right) / 2, rect.bottom);
    m_balloon.TrackActivate(TRUE, this, IDC_DIGEST);
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
