// The application object: runs the digest dialog as the program's main
// window, and ends the program when the dialog ends.
#ifndef VORKEL_APP_DIGESTAPP_H
#define VORKEL_APP_DIGESTAPP_H

#include <afxwin.h>

class CDigestApp : public CWinApp {
public:
    CDigestApp();

    BOOL InitInstance() override;

    DECLARE_MESSAGE_MAP()
};

#endif
