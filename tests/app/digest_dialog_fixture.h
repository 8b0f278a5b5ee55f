// The digest dialog under test: a CDigestDlg run as the application's main
// window, as the program runs it, driven by a script of user actions, with
// files of its own in a temporary folder.
#ifndef VORKEL_TESTS_DIGEST_DIALOG_FIXTURE_H
#define VORKEL_TESTS_DIGEST_DIALOG_FIXTURE_H

#include <gtest/gtest.h>

#include <string>

#include "DigestDlg.h"
#include "ui_script.h"

class DigestDialogTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    HWND Main() const { return m_dlg.m_hWnd; }
    std::wstring PathBox() const;
    std::wstring DigestBox() const;

    // Makes a file of these bytes in the test's folder (name: a path below
    // it); returns its full path.
    std::wstring MakeFile(const std::wstring &name, const std::string &bytes);

    // A script that starts once the dialog is up.
    UiScript Opened();

    // Steps: Browse, the path typed into the chooser, Open; done when the
    // path box shows it.
    void Browse(UiScript &script, const std::wstring &path);

    // Plays the script on the dialog; returns DoModal's result.
    INT_PTR Run(UiScript &script);

    // The digest box's text for a file of these bytes.
    static std::wstring DigestOf(const std::string &bytes);

    CDigestDlg m_dlg;
    std::wstring m_folder;
};

#endif
