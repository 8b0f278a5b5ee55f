// The About box. OK, Enter and Esc end it through CDialog's own handlers.
#include "AboutBox.h"

CAboutBox::CAboutBox() : CDialog(CAboutBox::IDD)
{
}

void CAboutBox::DoDataExchange(CDataExchange *pDX)
{
    CDialog::DoDataExchange(pDX);
}

BEGIN_MESSAGE_MAP(CAboutBox, CDialog)
END_MESSAGE_MAP()
