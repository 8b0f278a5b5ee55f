// The windowing classes: command targets and their message maps, windows,
// modal dialogs, the application object, menus, paint contexts and dialog
// data exchange.
#ifndef VORKEL_AFX_AFXWIN_H
#define VORKEL_AFX_AFXWIN_H

#include "afx.h"
#include "afxmsg_.h"
#include "afxstat_.h"

#include <string>

class CDC;
class CDataExchange;
class CMenu;

// Anything that has a message map.
class CCmdTarget {
public:
    CCmdTarget() = default;
    virtual ~CCmdTarget() = default;
    CCmdTarget(const CCmdTarget &) = delete;
    CCmdTarget &operator=(const CCmdTarget &) = delete;

    // Offers a message to the message map, the most derived class's entries
    // first. TRUE when an entry took it; a result it has goes to *pResult,
    // which the caller sets to 0 before.
    virtual BOOL ProcessMessageMap(UINT message, WPARAM wParam, LPARAM lParam,
                                   LRESULT *pResult);
};

// A window of the program; m_hWnd is its handle while it exists.
class CWnd : public CCmdTarget {
public:
    HWND m_hWnd = NULL;

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    HICON SetIcon(HICON hIcon, BOOL bBigIcon);
    BOOL IsIconic() const;
    void GetClientRect(LPRECT lpRect) const;

    // The window's system menu, for adding items; null when it has none.
    // The object is the library's, to be used right away and not kept.
    CMenu *GetSystemMenu(BOOL bRevert) const;

    // Whether files dragged from Explorer (or any other program) may be
    // dropped on the window: they then arrive as WM_DROPFILES, for the
    // message map's ON_WM_DROPFILES(). Without shell32 the window takes none.
    void DragAcceptFiles(BOOL bAccept = TRUE);

    // Moves data between the members bound in DoDataExchange and the
    // controls: FALSE fills the controls, TRUE reads them back.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    // The font the window draws its text with (WM_GETFONT; null: the
    // system's), and a font for it to draw with, which stays the caller's.
    HFONT GetFont() const;
    void SetFont(HFONT hFont, BOOL bRedraw = TRUE);

    // The control's ID in its dialog.
    int GetDlgCtrlID() const;

    // A message box owned by the window, its texts in UTF-16 (MessageBoxW);
    // nType the MB_ buttons and icon. The button that ended it (IDOK, ...),
    // or 0 when it could not be shown.
    int MessageBox(LPCWSTR lpszText, LPCWSTR lpszCaption, UINT nType = MB_OK);

    // A message the thread's loop has taken for this window (or, for a
    // dialog, for any window inside it or owned by it), offered before it is
    // translated and dispatched: TRUE takes it, and it goes no further. For
    // keys meant for the whole window, whatever control has the focus. The
    // library offers them while a modal dialog runs (see afxpriv.h); the
    // base takes none.
    virtual BOOL PreTranslateMessage(MSG *pMsg);

    // Takes a message for this window: its own message map, then, for a
    // command nobody in the window handles, the application object's. FALSE
    // when the message is to have the window's default processing: no entry
    // took it, or the handler asked for that with Default().
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT *pResult);

protected:
    virtual void DoDataExchange(CDataExchange *pDX);

    // Asks for the default processing of the message being handled, once
    // the handler returns (so its result isn't known here: 0 is returned).
    LRESULT Default();

    // The default handlers, for derived classes to fall back on.
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnPaint();
    afx_msg void OnDropFiles(HDROP hDropInfo);
    afx_msg void OnMove(int x, int y);
    afx_msg void OnActivate(UINT nState, CWnd *pWndOther, BOOL bMinimized);
    afx_msg HBRUSH OnCtlColor(CDC *pDC, CWnd *pWnd, UINT nCtlColor);

private:
    // Set while a message is being handled: where Default() leaves its mark.
    BOOL *m_pbWantDefault = NULL;
};

// A modal dialog from a dialog template in the program's resources.
class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd *pParentWnd = NULL);

    // Shows the dialog and returns, when it has ended, the result it was
    // ended with; -1 when it could not be created.
    virtual INT_PTR DoModal();

    // Called as the dialog is created, its controls ready: fills them from
    // the members (UpdateData(FALSE)). TRUE lets the dialog manager set the
    // focus to the first control with a tab stop.
    virtual BOOL OnInitDialog();

    void EndDialog(int nResult);

    // While the dialog runs: the face its font has in place of its
    // template's, where the template's lacks glyphs for its texts (see
    // dialogfont.cpp); empty when the template's own serves. The file
    // chooser opened over it follows it.
    std::wstring m_strStandInFace;

protected:
    // Accept (IDOK: the Enter key, an OK button) reads the controls back
    // into the members and ends the dialog with IDOK; cancel (IDCANCEL: Esc,
    // the close box, the system menu's Close) ends it with IDCANCEL.
    virtual void OnOK();
    virtual void OnCancel();

    // The window a modal dialog is to be owned by: its parent, or when it
    // has none the application's main window, unless that is the dialog
    // itself or does not exist (yet or any more).
    HWND GetOwnerForModal() const;

    LPCTSTR m_lpszTemplateName;
    CWnd *m_pParentWnd;

    DECLARE_MESSAGE_MAP()

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    // Centres the dialog over its owner when that is visible and not
    // minimised, else over the work area of the owner's monitor (with no
    // owner the one holding the cursor), and keeps it inside that work
    // area, its top left corner first.
    void CenterWindow();

    // Whether the template leaves the dialog's place to the library: at x
    // or y 0 and without DS_ABSALIGN.
    BOOL m_bAutoCenter = FALSE;
};

// The application object: one per program, constructed before the program
// starts running and found with AfxGetApp(). The start-up code runs it by
// calling InitInstance; its message map gets the commands that none of the
// program's windows handles.
class CWinApp : public CCmdTarget {
public:
    explicit CWinApp(LPCTSTR lpszAppName = NULL);
    ~CWinApp() override;

    // Sets the program up; FALSE means there is nothing more to run and the
    // program ends.
    virtual BOOL InitInstance();

    // Asks for three-dimensional controls. Win32's dialog controls have that
    // look already; there is nothing to load and the answer is always TRUE.
    BOOL Enable3dControls();

    // Runs the message loop of a program whose InitInstance returned TRUE
    // (as the base's does), until WM_QUIT; returns the code that came with it.
    virtual int Run();

    // The default handling of the help command (ID_HELP).
    afx_msg void OnHelp();

    LPCTSTR m_pszAppName; // as given to the constructor
    CWnd *m_pMainWnd;     // the main window, owner of dialogs given no parent

    // What the program was started with, set by AfxWinMain before
    // InitInstance: the module's handle, the arguments part of the command
    // line (the program's name skipped, see AfxSkipProgramName) and the show
    // state for the main window (SW_SHOWDEFAULT when the starter gave none).
    HINSTANCE m_hInstance;
    LPTSTR m_lpCmdLine;
    int m_nCmdShow;
};

CWinApp *AFXAPI AfxGetApp();
CWnd *AFXAPI AfxGetMainWnd();

// Runs the program: gives the application object what the program was
// started with, then calls its InitInstance, and Run when that returned
// TRUE. Returns the program's exit code: 0 for a program that ends when
// InitInstance returns FALSE, -1 for one without an application object.
int AFXAPI AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine,
                      int nCmdShow);

// The arguments part of a command line: what follows the program's name (up
// to and including its closing quote when it opens with one, otherwise every
// byte above the space) and the control characters and blanks after it.
// Bytes are compared unsigned, so that 0x80 to 0xFF count as part of a name.
// That is right byte by byte in every code page: a character of several
// bytes begins with one from 0x80 up, and none of its bytes is a blank or a
// quote (UTF-8's are all from 0x80 up; in 936 and 932 the second byte is
// from 0x40 up).
LPTSTR AFXAPI AfxSkipProgramName(LPTSTR lpszCommandLine);

// The files of a drop (WM_DROPFILES), as shell32's DragQueryFile and
// DragFinish give them; shell32 is loaded at run time (see afxpriv.h), so
// programs of the library call these instead. iFile 0xFFFFFFFF gives the
// number of files; a null lpszFile the length in bytes of file iFile's name,
// without its terminator. The name is read in UTF-16 and converted exactly:
// one the ANSI code page can't spell (which DragQueryFileA would give as a
// look-alike, or with '?'), or one that does not fit cch bytes whole, gives
// 0, as does a drop when shell32 can't be had.
UINT AFXAPI AfxDragQueryFile(HDROP hDrop, UINT iFile, LPSTR lpszFile, UINT cch);
void AFXAPI AfxDragFinish(HDROP hDrop);

// Shortcuts: Explorer hands a dragged shortcut over as the .lnk file's own
// path, where the system's file chooser gives the file it points at.
// AfxIsShortcut tells a shortcut by its name (".lnk" in any case).
// AfxResolveShortcut reads the shortcut and puts its target's path into
// strTarget, never searching for a target that has moved and never showing a
// window; FALSE when the shortcut can't be read, its target has no path in
// the file system or one the ANSI code page can't spell exactly, or is itself
// a shortcut. Whether the target exists, and is a file, is the caller's to
// ask.
BOOL AFXAPI AfxIsShortcut(LPCTSTR lpszFileName);
BOOL AFXAPI AfxResolveShortcut(LPCTSTR lpszShortcutFile, CString &strTarget);

// A menu, by its handle.
class CMenu {
public:
    HMENU m_hMenu = NULL;

    // The library's object for hMenu, made on first request and kept for
    // the program's life; null for a null handle.
    static CMenu *PASCAL FromHandle(HMENU hMenu);

    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = NULL);
    // An item's text in UTF-16, whatever the ANSI code page.
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCWSTR lpszNewItem);
};

// A device context, for drawing.
class CDC {
public:
    CDC() = default;
    CDC(const CDC &) = delete;
    CDC &operator=(const CDC &) = delete;

    HDC m_hDC = NULL;

    HDC GetSafeHdc() const;
    BOOL DrawIcon(int x, int y, HICON hIcon);
    COLORREF SetBkColor(COLORREF crColor);
    COLORREF SetTextColor(COLORREF crColor);
};

// The context for painting a window in answer to WM_PAINT, from BeginPaint
// to EndPaint: make one in the handler, whatever it draws.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd *pWnd);
    ~CPaintDC();

    PAINTSTRUCT m_ps;

protected:
    HWND m_hWnd;
};

// One run of DoDataExchange: which window and which direction.
class CDataExchange {
public:
    CDataExchange(CWnd *pDlgWnd, BOOL bSaveAndValidate);

    BOOL m_bSaveAndValidate; // TRUE: controls to members; FALSE: members to controls
    CWnd *m_pDlgWnd;
};

#include "afxdd_.h"

#endif
