// The resources as built into the program, read back from its module: the
// two dialog templates (IDs, classes, styles, texts, layout, font), the
// caption of the system menu's About item, the verdict's texts and the
// icon, each in Chinese (Simplified, PRC) and in no other language.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "program_texts.h"
#include "resource.h"
#include "resource_reader.h"

#include <afxres.h> // IDC_STATIC

namespace {

const LPCWSTR kIcon = MAKEINTRESOURCEW(3), kDialog = MAKEINTRESOURCEW(5),
              kStringTable = MAKEINTRESOURCEW(6), kGroupIcon = MAKEINTRESOURCEW(14);

HMODULE Program()
{
    return ::GetModuleHandleW(NULL);
}

// What every control of a template has, whatever else it asks for.
const DWORD kChild = WS_CHILD | WS_VISIBLE;

// Both dialogs: a fixed frame with a caption and a system menu, no minimise
// or maximise box, the template's own font. The main one is visible at once
// and has a button in the task bar.
const DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;

TEST(Resources, MainDialogTemplate)
{
    EXPECT_EQ(ResourceLanguages(Program(), kDialog, IDD_MAIN), std::vector<WORD>{kChinesePrc});
    DialogTemplate d = LoadDialogTemplate(Program(), IDD_MAIN);
    EXPECT_TRUE(d.whole) << "nothing after the last control";
    EXPECT_TRUE(d.extended) << "DIALOGEX: it names the font's character set";
    EXPECT_EQ(d.style, kDialogStyle | WS_VISIBLE); // 0x90C800C0
    EXPECT_EQ(d.exStyle, static_cast<DWORD>(WS_EX_APPWINDOW));
    EXPECT_EQ(d.menu, L"");
    EXPECT_EQ(d.cls, L"");
    EXPECT_EQ(d.caption, kMainCaption);
    // SimSun, 9 points, any weight, upright, DEFAULT_CHARSET.
    EXPECT_EQ(d.face, L"宋体");
    EXPECT_EQ(d.points, 9);
    EXPECT_EQ(d.weight, FW_DONTCARE);
    EXPECT_EQ(d.italic, FALSE);
    EXPECT_EQ(d.charset, DEFAULT_CHARSET);

    // In tab order, in dialog units: the labels on the left, the boxes in
    // the middle, the buttons on the right; neither button is the default
    // one, and the digest box is read-only and no tab stop.
    EXPECT_EQ(d.rect, (DialogUnits{0, 0, 300, 89}));
    const DWORD kLabel = kChild | WS_GROUP, kBox = kChild | ES_AUTOHSCROLL | WS_BORDER,
                kButton = kChild | BS_PUSHBUTTON | WS_TABSTOP;
    EXPECT_EQ(d.items, (std::vector<DialogItem>{
        {L"static", IDC_STATIC, L"1、选择校验文件", {7, 14, 60, 17}, kLabel | SS_LEFTNOWORDWRAP, 0, 0},
        {L"edit", IDC_PATH, L"", {76, 15, 157, 17}, kBox | WS_TABSTOP, 0, 0},
        {L"static", IDC_STATIC, L"2、生成MD5 码", {7, 51, 62, 19}, kLabel | SS_LEFT, 0, 0},
        {L"edit", IDC_DIGEST, L"", {76, 51, 157, 19}, kBox | ES_READONLY, 0, 0},
        {L"button", IDC_BROWSE, L"浏览", {240, 15, 47, 17}, kButton, 0, 0},
        {L"button", IDC_GENERATE, L"生成MD5", {240, 51, 47, 19}, kButton, 0, 0},
    }));
}

TEST(Resources, AboutDialogTemplate)
{
    EXPECT_EQ(ResourceLanguages(Program(), kDialog, IDD_ABOUT), std::vector<WORD>{kChinesePrc});
    DialogTemplate d = LoadDialogTemplate(Program(), IDD_ABOUT);
    EXPECT_TRUE(d.whole) << "nothing after the last control";
    EXPECT_FALSE(d.extended) << "a classic DIALOG template";
    EXPECT_EQ(d.style, kDialogStyle); // 0x80C800C0: shown by the dialog manager
    EXPECT_EQ(d.exStyle, 0u);
    EXPECT_EQ(d.menu, L"");
    EXPECT_EQ(d.cls, L"");
    EXPECT_EQ(d.caption, kAboutCaption);
    EXPECT_EQ(d.face, L"宋体");
    EXPECT_EQ(d.points, 9);

    // The icon by its ID, the name and version, the copyright, and OK as
    // the default button.
    EXPECT_EQ(d.rect, (DialogUnits{0, 0, 235, 55}));
    const std::wstring kProgramIcon = L"#" + std::to_wstring(IDI_MAIN);
    EXPECT_EQ(d.items, (std::vector<DialogItem>{
        {L"static", IDC_STATIC, kProgramIcon, {11, 17, 20, 20}, kChild | SS_ICON, 0, 0},
        {L"static", IDC_STATIC, L"Vorkel 1.0 版", {40, 10, 119, 8}, kChild | SS_NOPREFIX | WS_GROUP, 0, 0},
        {L"static", IDC_STATIC, L"Copyright (C) 2026", {40, 25, 119, 8}, kChild | WS_GROUP, 0, 0},
        {L"button", IDOK, L"确定", {178, 7, 50, 14}, kChild | BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP, 0, 0},
    }));
}

TEST(Resources, StringTableHoldsTheAboutCaptionAndTheVerdicts)
{
    // All in one block, and nothing else in it.
    const std::map<int, std::wstring> texts = {
        {IDS_ABOUT, kAboutMenuItem},
        {IDS_MATCH_TITLE, kMatchTitle},
        {IDS_MATCH, kMatch},
        {IDS_MISMATCH_TITLE, kMismatchTitle},
        {IDS_MISMATCH, kMismatch},
        {IDS_CLIPBOARD_VALUE, kClipboardValue},
        {IDS_CANNOT_CHECK_TITLE, kCannotCheckTitle},
        {IDS_OTHER_DIGEST, kOtherDigest},
        {IDS_NO_DIGEST, kNoDigest},
        {IDS_FILE_VALUE, kFileValue},
        {IDS_UNSUPPORTED, kUnsupported},
        {IDS_CLIPBOARD_BUSY, kClipboardBusy},
        {IDS_LIST_SEPARATOR, kListSeparator},
    };
    // Strings are stored sixteen to a block, each as its length and its
    // UTF-16 units: IDs 16n to 16n + 15 form block n + 1.
    const int block = IDS_ABOUT / 16 + 1;
    EXPECT_EQ(ResourceLanguages(Program(), kStringTable, block), std::vector<WORD>{kChinesePrc});
    std::vector<BYTE> bytes = ResourceBytes(Program(), kStringTable, block);
    ResourceReader r(bytes);
    for (int id = (block - 1) * 16; id < block * 16; id++) {
        std::wstring text(r.Read<WORD>(), L'\0');
        for (wchar_t &c : text)
            c = r.Read<wchar_t>();
        EXPECT_EQ(text, texts.count(id) ? texts.at(id) : L"") << "string " << id;
    }
    EXPECT_TRUE(r.AtEnd());
}

// The icon's one image is a device-independent bitmap: its header, 4 bytes
// of colour a pixel, and the AND mask of 1 bit a pixel in rows of whole
// 4-byte words.
const int kIconSide = 32;
const DWORD kIconColourBytes = kIconSide * kIconSide * 4;
const DWORD kIconMaskBytes = kIconSide * ((kIconSide + 31) / 32 * 4);
const DWORD kIconImageBytes = sizeof(BITMAPINFOHEADER) + kIconColourBytes + kIconMaskBytes; // 4264

TEST(Resources, IconIsOne32By32ImageOf32Bits)
{
    EXPECT_EQ(ResourceLanguages(Program(), kGroupIcon, IDI_MAIN), std::vector<WORD>{kChinesePrc});
    std::vector<BYTE> group = ResourceBytes(Program(), kGroupIcon, IDI_MAIN);
    ResourceReader r(group);
    EXPECT_EQ(r.Read<WORD>(), 0); // reserved
    EXPECT_EQ(r.Read<WORD>(), 1); // an icon, not a cursor
    ASSERT_EQ(r.Read<WORD>(), 1); // images
    EXPECT_EQ(r.Read<BYTE>(), kIconSide); // width
    EXPECT_EQ(r.Read<BYTE>(), kIconSide); // height
    EXPECT_EQ(r.Read<BYTE>(), 0);         // colours: 0 for more than 256
    r.Read<BYTE>();                       // reserved
    EXPECT_EQ(r.Read<WORD>(), 1);         // planes
    EXPECT_EQ(r.Read<WORD>(), 32);        // bits per pixel
    EXPECT_EQ(r.Read<DWORD>(), kIconImageBytes);
    WORD imageId = r.Read<WORD>();
    EXPECT_TRUE(r.AtEnd());

    std::vector<BYTE> image = ResourceBytes(Program(), kIcon, imageId);
    ASSERT_EQ(image.size(), kIconImageBytes);
    BITMAPINFOHEADER header;
    std::memcpy(&header, image.data(), sizeof(header));
    EXPECT_EQ(header.biSize, sizeof(BITMAPINFOHEADER));
    EXPECT_EQ(header.biWidth, kIconSide);
    EXPECT_EQ(header.biHeight, 2 * kIconSide); // colour and mask, one above the other
    EXPECT_EQ(header.biPlanes, 1);
    EXPECT_EQ(header.biBitCount, 32);
    EXPECT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB));
}

} // namespace
