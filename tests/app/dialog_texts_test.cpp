// The dialogs' texts as the program shows them, whatever the system locale:
// its ANSI code page is UTF-8 (the manifest asks for it), every text of the
// dialogs reads back as the resources hold it (an ANSI dialog's texts pass
// through that code page: in another one they came back as "?"), and the
// font each control draws with has a glyph for every character of its text
// (without, each shows as an empty box). The system menu's About item: see
// system_menu_test.cpp.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "dialogs_on_screen.h"
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

TEST_F(DialogsOnScreenTest, AboutBoxShowsItsTextsWithTheirGlyphs)
{
    LookAtAbout([](HWND hAbout) { ExpectTheTemplatesTexts(hAbout, IDD_ABOUT); });
}

} // namespace
