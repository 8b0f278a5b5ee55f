// The About box: the program's name, version and copyright, with an OK button.
#ifndef VORKEL_APP_ABOUTBOX_H
#define VORKEL_APP_ABOUTBOX_H

#include <afxwin.h>

#include "resource.h"

class CAboutBox : public CDialog {
public:
    CAboutBox();

    enum { IDD = IDD_ABOUT };

protected:
    void DoDataExchange(CDataExchange *pDX) override;

    DECLARE_MESSAGE_MAP()
};

#endif
