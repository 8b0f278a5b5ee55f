// The dialogs' texts as the program shows them, whatever the system locale:
// its ANSI code page is UTF-8 (the manifest asks for it), every text of the
// dialogs reads back as the resources hold it (an ANSI dialog's texts pass
// through that code page: in another one they came back as "?"), and the
// font each control draws with has a glyph for every character of its text
// (without, each shows as an empty box); the balloon of the verdict on the
// digest too. The system menu's About item: see system_menu_test.cpp.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <vector>

#include "dialogs_on_screen.h"
#include "program_texts.h"
#include "resource_reader.h"
#include "windows_under_test.h"

namespace {

// The dialog's caption and its controls' texts are the template's, and each
// control's font has their glyphs.
void ExpectTheTemplatesTexts(HWND hDlg, int nIDTemplate)
{
    DialogTemplate dlg = LoadDialogTemplate(::GetModuleHandleW(NULL), nIDTemplate);
    EXPECT_EQ(TextOf(hDlg), dlg.caption);
    std::vector<HWND> controls = Controls(hDlg);
    ASSERT_EQ(controls.size(), dlg.items.size());
    int nWithText = 0;
    for (std::size_t i = 0; i < controls.size(); i++) {
        const DialogItem &item = dlg.items[i];
        if (item.text.compare(0, 1, L"#") == 0)
            continue; // an icon, by its resource ID
        EXPECT_EQ(TextOf(controls[i]), item.text) << item;
        EXPECT_EQ(ToAnsi(MissingGlyphs(controls[i])), "")
            << item << " in " << ToAnsi(FontDC(controls[i]).Face());
        nWithText += !item.text.empty();
    }
    EXPECT_GT(nWithText, 0);
}

TEST(CodePage, Utf8AsTheManifestAsks)
{
    EXPECT_EQ(::GetACP(), static_cast<UINT>(CP_UTF8));
}

TEST_F(DialogsOnScreenTest, MainDialogShowsItsTextsWithTheirGlyphs)
{
    LookAtMain([](HWND hDlg) { ExpectTheTemplatesTexts(hDlg, IDD_MAIN); });
}

// The balloon of the verdict on the digest: every title and text it can
// show, in the font it draws with (its titles in the bold one of the same
// face), as it is shown after Generate.
TEST_F(DialogsOnScreenTest, VerdictBalloonShowsItsTextsWithTheirGlyphs)
{
    m_dlg.m_strPath = ToAnsi(MakeFile(L"file.bin", "file")).c_str();
    ASSERT_TRUE(SetClipboardText(L"9e107d9d372bb6826bd81d3542a419d6")); // another MD5
    LookAtMain([](HWND hDlg) {
        ClickNow(hDlg, IDC_GENERATE);
        HWND hBalloon = GuiThread().Tooltip(hDlg);
        ASSERT_NE(hBalloon, nullptr);
        std::wstring texts = std::wstring(kMatchTitle) + kMatch + kMismatchTitle + kMismatch +
                             kClipboardValue + kFileValue + kCannotCheckTitle + kOtherDigest +
                             kNoDigest + kUnsupported + kClipboardBusy + kListSeparator +
                             TextOf(hBalloon);
        texts.erase(std::remove_if(texts.begin(), texts.end(), iswcntrl), texts.end()); // \r\n
        EXPECT_EQ(ToAnsi(MissingGlyphs(hBalloon, texts)), "")
            << "in " << ToAnsi(FontDC(hBalloon).Face());
        // The dialog's own font, in which the window's texts are laid out:
        // a font of the system's for tooltips may have the glyphs, but lines
        // too low for them (Wine's cuts Chinese off at the top).
        EXPECT_EQ(FontDC(hBalloon).Face(), FontDC(hDlg).Face());
    });
    SetClipboardText(L"");
}

TEST_F(DialogsOnScreenTest, AboutBoxShowsItsTextsWithTheirGlyphs)
{
    LookAtAbout([](HWND hAbout) { ExpectTheTemplatesTexts(hAbout, IDD_ABOUT); });
}

} // namespace
