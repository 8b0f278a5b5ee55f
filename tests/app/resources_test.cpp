// The resources as built into the program, read back from its module and
// compared field by field with what the dialogs are meant to be: both dialog
// templates, the string table and the icon, all in Chinese (Simplified, PRC).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "resource.h"

namespace {

const WORD CHINESE_PRC = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);
const LPCWSTR ICON = MAKEINTRESOURCEW(3), DIALOG = MAKEINTRESOURCEW(5),
              STRING = MAKEINTRESOURCEW(6), GROUP_ICON = MAKEINTRESOURCEW(14);

// Resource name of the given type: its bytes in Chinese (PRC), and every
// language it comes in.
std::vector<BYTE> ResourceBytes(LPCWSTR type, int name)
{
    HMODULE hModule = ::GetModuleHandleW(NULL);
    HRSRC hRes = ::FindResourceExW(hModule, type, MAKEINTRESOURCEW(name), CHINESE_PRC);
    if (hRes == NULL)
        return {};
    const BYTE *p = static_cast<const BYTE *>(::LockResource(::LoadResource(hModule, hRes)));
    return std::vector<BYTE>(p, p + ::SizeofResource(hModule, hRes));
}

std::vector<WORD> Languages(LPCWSTR type, int name)
{
    std::vector<WORD> languages;
    ::EnumResourceLanguagesW(
        ::GetModuleHandleW(NULL), type, MAKEINTRESOURCEW(name),
        [](HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR param) -> BOOL {
            reinterpret_cast<std::vector<WORD> *>(param)->push_back(language);
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&languages));
    return languages;
}

// Reads resource bytes in order.
class Reader {
public:
    explicit Reader(const std::vector<BYTE> &bytes) : m_bytes(bytes) {}

    template <typename T> T Read()
    {
        T value{};
        if (m_pos + sizeof(T) <= m_bytes.size())
            std::memcpy(&value, &m_bytes[m_pos], sizeof(T));
        m_pos += sizeof(T);
        return value;
    }

    // A zero-terminated text, or an ordinal (0xFFFF, then the number),
    // given as "#number".
    std::wstring Text()
    {
        WORD first = Read<WORD>();
        if (first == 0xFFFF)
            return L"#" + std::to_wstring(Read<WORD>());
        std::wstring text;
        for (WORD c = first; c != 0 && !AtEnd(); c = Read<WORD>())
            text += static_cast<wchar_t>(c);
        return text;
    }

    void AlignToDword() { m_pos = (m_pos + 3) & ~static_cast<std::size_t>(3); }
    bool AtEnd() const { return m_pos >= m_bytes.size(); }

private:
    const std::vector<BYTE> &m_bytes;
    std::size_t m_pos = 0;
};

struct Control {
    std::wstring cls; // the predefined classes' atoms by name
    int id;
    std::wstring text;
    short x, y, cx, cy;
    DWORD style;
    DWORD exStyle;

    bool operator==(const Control &o) const
    {
        return cls == o.cls && id == o.id && text == o.text && x == o.x && y == o.y &&
               cx == o.cx && cy == o.cy && style == o.style && exStyle == o.exStyle;
    }
    friend std::ostream &operator<<(std::ostream &os, const Control &c)
    {
        return os << testing::PrintToString(c.cls) << " " << c.id << " "
                  << testing::PrintToString(c.text) << " " << c.x << "," << c.y << "," << c.cx
                  << "," << c.cy << " style 0x" << std::hex << c.style << " ex 0x" << c.exStyle
                  << std::dec;
    }
};

struct Dialog {
    bool extended; // DLGTEMPLATEEX, not DLGTEMPLATE
    DWORD style, exStyle;
    short x, y, cx, cy;
    std::wstring menu, cls, caption;
    WORD points, weight; // weight, italic and character set: extended form only
    BYTE italic, charset;
    std::wstring face;
    std::vector<Control> controls;
};

std::wstring ClassName(const std::wstring &cls)
{
    return cls == L"#128" ? L"button" : cls == L"#129" ? L"edit" : cls == L"#130" ? L"static" : cls;
}

// Reads a dialog template of either form, down to its last control.
Dialog Parse(const std::vector<BYTE> &bytes, bool *pWhole)
{
    Reader r(bytes);
    Dialog d{};
    DWORD first = r.Read<DWORD>();
    d.extended = first == 0xFFFF0001; // version 1, signature 0xFFFF
    if (d.extended) {
        r.Read<DWORD>(); // help ID
        d.exStyle = r.Read<DWORD>();
        d.style = r.Read<DWORD>();
    } else {
        d.style = first;
        d.exStyle = r.Read<DWORD>();
    }
    WORD count = r.Read<WORD>();
    d.x = r.Read<short>(), d.y = r.Read<short>(), d.cx = r.Read<short>(), d.cy = r.Read<short>();
    d.menu = r.Text(), d.cls = r.Text(), d.caption = r.Text();
    d.points = r.Read<WORD>();
    if (d.extended)
        d.weight = r.Read<WORD>(), d.italic = r.Read<BYTE>(), d.charset = r.Read<BYTE>();
    d.face = r.Text();

    for (int i = 0; i < count; i++) {
        r.AlignToDword();
        Control c{};
        if (d.extended) {
            r.Read<DWORD>(); // help ID
            c.exStyle = r.Read<DWORD>();
            c.style = r.Read<DWORD>();
        } else {
            c.style = r.Read<DWORD>();
            c.exStyle = r.Read<DWORD>();
        }
        c.x = r.Read<short>(), c.y = r.Read<short>(), c.cx = r.Read<short>(), c.cy = r.Read<short>();
        c.id = d.extended ? static_cast<int>(r.Read<DWORD>()) : r.Read<short>();
        c.cls = ClassName(r.Text());
        c.text = r.Text();
        EXPECT_EQ(r.Read<WORD>(), 0) << "no creation data";
        d.controls.push_back(c);
    }
    *pWhole = r.AtEnd();
    return d;
}

const DWORD CHILD = WS_CHILD | WS_VISIBLE;

TEST(Resources, MainDialogTemplate)
{
    EXPECT_EQ(Languages(DIALOG, IDD_MAIN), std::vector<WORD>{CHINESE_PRC});
    bool whole = false;
    Dialog d = Parse(ResourceBytes(DIALOG, IDD_MAIN), &whole);
    EXPECT_TRUE(whole);
    EXPECT_TRUE(d.extended);
    EXPECT_EQ(d.style, 0x90C800C0u); // WS_POPUP WS_VISIBLE WS_CAPTION WS_SYSMENU DS_MODALFRAME DS_SETFONT
    EXPECT_EQ(d.exStyle, static_cast<DWORD>(WS_EX_APPWINDOW));
    EXPECT_EQ(std::vector<short>({d.x, d.y, d.cx, d.cy}), std::vector<short>({0, 0, 300, 89}));
    EXPECT_EQ(d.menu, L"");
    EXPECT_EQ(d.cls, L"");
    EXPECT_EQ(d.caption, L"Tesmoor MD5生成器");
    EXPECT_EQ(d.points, 9);
    EXPECT_EQ(d.weight, 0);
    EXPECT_EQ(d.italic, 0);
    EXPECT_EQ(d.charset, 1);
    EXPECT_EQ(d.face, L"宋体");
    EXPECT_EQ(d.controls, (std::vector<Control>{
        {L"static", -1, L"1、选择校验文件", 7, 14, 60, 17, CHILD | SS_LEFTNOWORDWRAP | WS_GROUP, 0},
        {L"edit", IDC_PATH, L"", 76, 15, 157, 17, CHILD | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 0},
        {L"static", -1, L"2、生成MD5 码", 7, 51, 62, 19, CHILD | SS_LEFT | WS_GROUP, 0},
        {L"edit", IDC_DIGEST, L"", 76, 51, 157, 19, CHILD | ES_AUTOHSCROLL | ES_READONLY | WS_BORDER, 0},
        {L"button", IDC_BROWSE, L"浏览", 240, 15, 47, 17, CHILD | BS_PUSHBUTTON | WS_TABSTOP, 0},
        {L"button", IDC_GENERATE, L"生成MD5", 240, 51, 47, 19, CHILD | BS_PUSHBUTTON | WS_TABSTOP, 0},
    }));
}

TEST(Resources, AboutDialogTemplate)
{
    EXPECT_EQ(Languages(DIALOG, IDD_ABOUT), std::vector<WORD>{CHINESE_PRC});
    bool whole = false;
    Dialog d = Parse(ResourceBytes(DIALOG, IDD_ABOUT), &whole);
    EXPECT_TRUE(whole);
    EXPECT_FALSE(d.extended);
    EXPECT_EQ(d.style, 0x80C800C0u); // WS_POPUP WS_CAPTION WS_SYSMENU DS_MODALFRAME DS_SETFONT
    EXPECT_EQ(d.exStyle, 0u);
    EXPECT_EQ(std::vector<short>({d.x, d.y, d.cx, d.cy}), std::vector<short>({0, 0, 235, 55}));
    EXPECT_EQ(d.menu, L"");
    EXPECT_EQ(d.cls, L"");
    EXPECT_EQ(d.caption, L"关于 Vorkel");
    EXPECT_EQ(d.points, 9);
    EXPECT_EQ(d.face, L"宋体");
    EXPECT_EQ(d.controls, (std::vector<Control>{
        {L"static", -1, L"#128", 11, 17, 20, 20, CHILD | SS_ICON, 0},
        {L"static", -1, L"Vorkel 1.0 版", 40, 10, 119, 8, CHILD | SS_NOPREFIX | WS_GROUP, 0},
        {L"static", -1, L"Copyright (C) 2026", 40, 25, 119, 8, CHILD | WS_GROUP, 0},
        {L"button", IDOK, L"确定", 178, 7, 50, 14, CHILD | BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP, 0},
    }));
}

TEST(Resources, StringTableHoldsTheAboutCaptionAlone)
{
    // Strings are stored sixteen to a block: 128 to 143 form block 9.
    const int block = IDS_ABOUT / 16 + 1;
    EXPECT_EQ(Languages(STRING, block), std::vector<WORD>{CHINESE_PRC});
    std::vector<BYTE> bytes = ResourceBytes(STRING, block);
    Reader r(bytes);
    for (int id = (block - 1) * 16; id < block * 16; id++) {
        std::wstring text(r.Read<WORD>(), L'\0');
        for (wchar_t &c : text)
            c = r.Read<wchar_t>();
        EXPECT_EQ(text, id == IDS_ABOUT ? L"关于 Vorkel(&A)..." : L"") << "string " << id;
    }
    EXPECT_TRUE(r.AtEnd());
}

TEST(Resources, IconIsOne32By32ImageOf32Bits)
{
    EXPECT_EQ(Languages(GROUP_ICON, IDI_MAIN), std::vector<WORD>{CHINESE_PRC});
    std::vector<BYTE> group = ResourceBytes(GROUP_ICON, IDI_MAIN);
    Reader r(group);
    EXPECT_EQ(r.Read<WORD>(), 0); // reserved
    EXPECT_EQ(r.Read<WORD>(), 1); // icons
    ASSERT_EQ(r.Read<WORD>(), 1); // images
    EXPECT_EQ(r.Read<BYTE>(), 32); // width
    EXPECT_EQ(r.Read<BYTE>(), 32); // height
    EXPECT_EQ(r.Read<BYTE>(), 0);  // colours: 0 for more than 256
    r.Read<BYTE>();
    EXPECT_EQ(r.Read<WORD>(), 1);  // planes
    EXPECT_EQ(r.Read<WORD>(), 32); // bits per pixel
    EXPECT_EQ(r.Read<DWORD>(), 4264u);
    WORD imageId = r.Read<WORD>();
    EXPECT_TRUE(r.AtEnd());

    // Header, 32 x 32 x 4 bytes of colour, 32 x 4 bytes of mask.
    std::vector<BYTE> image = ResourceBytes(ICON, imageId);
    ASSERT_EQ(image.size(), 4264u);
    BITMAPINFOHEADER header;
    std::memcpy(&header, image.data(), sizeof(header));
    EXPECT_EQ(header.biSize, 40u);
    EXPECT_EQ(header.biWidth, 32);
    EXPECT_EQ(header.biHeight, 64); // colour and mask, one above the other
    EXPECT_EQ(header.biPlanes, 1);
    EXPECT_EQ(header.biBitCount, 32);
    EXPECT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB));
}

} // namespace
