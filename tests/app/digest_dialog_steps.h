// Steps of a user's session with the digest dialog, for scripts of tests and
// of the screenshot driver.
#ifndef VORKEL_TESTS_DIGEST_DIALOG_STEPS_H
#define VORKEL_TESTS_DIGEST_DIALOG_STEPS_H

#include <string>

#include "DigestDlg.h"
#include "ui_script.h"

// Waits for the dialog to be up.
void AddOpened(UiScript &script, const CDigestDlg &dlg);

// Browse, the path (ANSI) typed into the file chooser, Open; done when the
// path box shows the path.
void AddBrowse(UiScript &script, const CDigestDlg &dlg, const std::string &path);

#endif
