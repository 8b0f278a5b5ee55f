// The resources as built into the program, read back from its module and
// compared field by field with what the dialogs are meant to be: both dialog
// templates, the string table and the icon, all in Chinese (Simplified, PRC).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "resource.h"

namespace {

const WORD CHINESE_PRC = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);

// The bytes of resource name of the given type, in Chinese (PRC).
std::vector<BYTE> ResourceBytes(LPCWSTR type, int name)
{
    HMODULE hModule = ::GetModuleHandleW(NULL);
    HRSRC hRes = ::FindResourceExW(hModule, type, MAKEINTRESOURCEW(name), CHINESE_PRC);
    if (hRes == NULL)
        return {};
    const BYTE *p = static_cast<const BYTE *>(::LockResource(::LoadResource(hModule, hRes)));
    return std::vector<BYTE>(p, p + ::SizeofResource(hModule, hRes));
}

// Every language resource name of the given type comes in.
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

// Reads a dialog template in order, keeping the DWORD alignment that its
// controls start at.
class TemplateReader {
public:
    explicit TemplateReader(const std::vector<BYTE> &bytes) : m_bytes(bytes) {}

    template <typename T> T Read()
    {
        T value{};
        if (m_pos + sizeof(T) <= m_bytes.size())
            std::memcpy(&value, &m_bytes[m_pos], sizeof(T));
        m_pos += sizeof(T);
        return value;
    }

    // A text, or an ordinal (0xFFFF then the number): "#number".
    std::wstring Text()
    {
        WORD first = Read<WORD>();
        if (first == 0xFFFF)
            return L"#" + std::to_wstring(Read<WORD>());
        std::wstring text;
        for (WORD c = first; c != 0 && m_pos <= m_bytes.size(); c = Read<WORD>())
            text += static_cast<wchar_t>(c);
        return text;
    }

    // A control's class: the predefined ones by their atoms, given their
    // names here.
    std::wstring ClassName()
    {
        std::wstring name = Text();
        return name == L"#128" ? L"button" : name == L"#129" ? L"edit" : name == L"#130" ? L"static" : name;
    }

    void AlignToDword() { m_pos = (m_pos + 3) & ~static_cast<std::size_t>(3); }
    bool AtEnd() const { return m_pos >= m_bytes.size(); }

private:
    const std::vector<BYTE> &m_bytes;
    std::size_t m_pos = 0;
};

struct Control {
    std::wstring cls;
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
};

void PrintTo(const Control &c, std::ostream *os)
{
    *os << "{" << testing::PrintToString(c.cls) << ", " << c.id << ", "
        << testing::PrintToString(c.text) << ", " << c.x << "," << c.y << "," << c.cx << ","
        << c.cy << ", style 0x" << std::hex << c.style << ", ex 0x" << c.exStyle << std::dec
        << "}";
}

const DWORD CHILD = WS_CHILD | WS_VISIBLE;

TEST(Resources, MainDialogTemplate)
{
    std::vector<BYTE> bytes = ResourceBytes(MAKEINTRESOURCEW(5) /* RT_DIALOG */, IDD_MAIN);
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(Languages(MAKEINTRESOURCEW(5), IDD_MAIN), std::vector<WORD>{CHINESE_PRC});

    TemplateReader r(bytes);
    EXPECT_EQ(r.Read<WORD>(), 1);      // dlgVer
    EXPECT_EQ(r.Read<WORD>(), 0xFFFF); // signature: the extended form
    EXPECT_EQ(r.Read<DWORD>(), 0u);    // helpID
    EXPECT_EQ(r.Read<DWORD>(), static_cast<DWORD>(WS_EX_APPWINDOW));
    // WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT
    EXPECT_EQ(r.Read<DWORD>(), 0x90C800C0u);
    WORD count = r.Read<WORD>();
    EXPECT_EQ(count, 6);
    EXPECT_EQ(r.Read<short>(), 0);
    EXPECT_EQ(r.Read<short>(), 0);
    EXPECT_EQ(r.Read<short>(), 300);
    EXPECT_EQ(r.Read<short>(), 89);
    EXPECT_EQ(r.Text(), L"");   // no menu
    EXPECT_EQ(r.Text(), L"");   // the standard dialog class
    EXPECT_EQ(r.Text(), L"Tesmoor MD5生成器");
    EXPECT_EQ(r.Read<WORD>(), 9); // points
    EXPECT_EQ(r.Read<WORD>(), 0); // weight
    EXPECT_EQ(r.Read<BYTE>(), 0); // italic
    EXPECT_EQ(r.Read<BYTE>(), 1); // character set
    EXPECT_EQ(r.Text(), L"宋体");

    std::vector<Control> controls;
    for (int i = 0; i < count; i++) {
        r.AlignToDword();
        Control c;
        r.Read<DWORD>(); // helpID
        c.exStyle = r.Read<DWORD>();
        c.style = r.Read<DWORD>();
        c.x = r.Read<short>();
        c.y = r.Read<short>();
        c.cx = r.Read<short>();
        c.cy = r.Read<short>();
        c.id = static_cast<int>(r.Read<DWORD>());
        c.cls = r.ClassName();
        c.text = r.Text();
        EXPECT_EQ(r.Read<WORD>(), 0); // no creation data
        controls.push_back(c);
    }
    EXPECT_TRUE(r.AtEnd());

    const std::vector<Control> expected = {
        {L"static", -1, L"1、选择校验文件", 7, 14, 60, 17, CHILD | SS_LEFTNOWORDWRAP | WS_GROUP, 0},
        {L"edit", IDC_PATH, L"", 76, 15, 157, 17, CHILD | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 0},
        {L"static", -1, L"2、生成MD5 码", 7, 51, 62, 19, CHILD | SS_LEFT | WS_GROUP, 0},
        {L"edit", IDC_DIGEST, L"", 76, 51, 157, 19, CHILD | ES_AUTOHSCROLL | ES_READONLY | WS_BORDER, 0},
        {L"button", IDC_BROWSE, L"浏览", 240, 15, 47, 17, CHILD | BS_PUSHBUTTON | WS_TABSTOP, 0},
        {L"button", IDC_GENERATE, L"生成MD5", 240, 51, 47, 19, CHILD | BS_PUSHBUTTON | WS_TABSTOP, 0},
    };
    EXPECT_EQ(controls, expected);
}

TEST(Resources, AboutDialogTemplate)
{
    std::vector<BYTE> bytes = ResourceBytes(MAKEINTRESOURCEW(5) /* RT_DIALOG */, IDD_ABOUT);
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(Languages(MAKEINTRESOURCEW(5), IDD_ABOUT), std::vector<WORD>{CHINESE_PRC});

    TemplateReader r(bytes);
    // The classic form starts with the style: WS_POPUP | WS_CAPTION |
    // WS_SYSMENU | DS_MODALFRAME | DS_SETFONT.
    EXPECT_EQ(r.Read<DWORD>(), 0x80C800C0u);
    EXPECT_EQ(r.Read<DWORD>(), 0u);
    WORD count = r.Read<WORD>();
    EXPECT_EQ(count, 4);
    EXPECT_EQ(r.Read<short>(), 0);
    EXPECT_EQ(r.Read<short>(), 0);
    EXPECT_EQ(r.Read<short>(), 235);
    EXPECT_EQ(r.Read<short>(), 55);
    EXPECT_EQ(r.Text(), L"");
    EXPECT_EQ(r.Text(), L"");
    EXPECT_EQ(r.Text(), L"关于 Vorkel");
    EXPECT_EQ(r.Read<WORD>(), 9);
    EXPECT_EQ(r.Text(), L"宋体");

    std::vector<Control> controls;
    for (int i = 0; i < count; i++) {
        r.AlignToDword();
        Control c;
        c.style = r.Read<DWORD>();
        c.exStyle = r.Read<DWORD>();
        c.x = r.Read<short>();
        c.y = r.Read<short>();
        c.cx = r.Read<short>();
        c.cy = r.Read<short>();
        c.id = r.Read<short>();
        c.cls = r.ClassName();
        c.text = r.Text();
        EXPECT_EQ(r.Read<WORD>(), 0);
        controls.push_back(c);
    }
    EXPECT_TRUE(r.AtEnd());

    const std::vector<Control> expected = {
        {L"static", -1, L"#128", 11, 17, 20, 20, CHILD | SS_ICON, 0},
        {L"static", -1, L"Vorkel 1.0 版", 40, 10, 119, 8, CHILD | SS_NOPREFIX | WS_GROUP, 0},
        {L"static", -1, L"Copyright (C) 2026", 40, 25, 119, 8, CHILD | WS_GROUP, 0},
        {L"button", IDOK, L"确定", 178, 7, 50, 14, CHILD | BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP, 0},
    };
    EXPECT_EQ(controls, expected);
}

TEST(Resources, StringTable)
{
    // One block of sixteen strings, the one holding IDs 128 to 143: only 128
    // is there.
    EXPECT_EQ(Languages(MAKEINTRESOURCEW(6) /* RT_STRING */, IDS_ABOUT / 16 + 1),
              std::vector<WORD>{CHINESE_PRC});
    std::vector<BYTE> bytes = ResourceBytes(MAKEINTRESOURCEW(6), IDS_ABOUT / 16 + 1);
    TemplateReader r(bytes);
    for (int id = IDS_ABOUT & ~15; id < (IDS_ABOUT & ~15) + 16; id++) {
        std::wstring text(r.Read<WORD>(), L'\0');
        for (wchar_t &c : text)
            c = r.Read<wchar_t>();
        EXPECT_EQ(text, id == IDS_ABOUT ? L"关于 Vorkel(&A)..." : L"") << "string " << id;
    }
    EXPECT_TRUE(r.AtEnd());
}

TEST(Resources, IconIsOne32By32ImageOf32Bits)
{
    EXPECT_EQ(Languages(MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */, IDI_MAIN),
              std::vector<WORD>{CHINESE_PRC});
    std::vector<BYTE> group = ResourceBytes(MAKEINTRESOURCEW(14), IDI_MAIN);
    TemplateReader r(group);
    EXPECT_EQ(r.Read<WORD>(), 0); // reserved
    EXPECT_EQ(r.Read<WORD>(), 1); // icons
    ASSERT_EQ(r.Read<WORD>(), 1); // images
    EXPECT_EQ(r.Read<BYTE>(), 32);
    EXPECT_EQ(r.Read<BYTE>(), 32);
    EXPECT_EQ(r.Read<BYTE>(), 0); // colours: 0 for more than 256
    r.Read<BYTE>();
    EXPECT_EQ(r.Read<WORD>(), 1);  // planes
    EXPECT_EQ(r.Read<WORD>(), 32); // bits per pixel
    EXPECT_EQ(r.Read<DWORD>(), 4264u);
    WORD imageId = r.Read<WORD>();
    EXPECT_TRUE(r.AtEnd());

    std::vector<BYTE> image = ResourceBytes(MAKEINTRESOURCEW(3) /* RT_ICON */, imageId);
    ASSERT_EQ(image.size(), 4264u); // header, 32 x 32 x 4 bytes of colour, 32 x 4 of mask
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
