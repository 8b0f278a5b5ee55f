// The two dialogs up on the screen.
#include "dialogs_on_screen.h"

#include "windows_under_test.h"

void DialogsOnScreenTest::LookAtMain(const std::function<void(HWND)> &look)
{
    UiScript script = Opened();
    script.Do([&] {
        look(Main());
        ::PostMessageW(Main(), WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(Run(script), IDCANCEL);
}

void DialogsOnScreenTest::LookAtAbout(const std::function<void(HWND)> &look)
{
    HWND hAbout = NULL;
    UiScript script = Opened();
    script.Do([this] { ::PostMessageW(Main(), WM_SYSCOMMAND, IDM_ABOUT, 0); })
        .WaitFor("the About box", [&] { return (hAbout = GuiThread().OwnedWindow(Main())) != NULL; })
        .Do([&] {
            look(hAbout);
            ::PostMessageW(hAbout, WM_COMMAND, IDOK, 0);
        })
        .WaitFor("the About box to close", [this] { return GuiThread().OwnedWindow(Main()) == NULL; })
        .Do([this] { ::PostMessageW(Main(), WM_COMMAND, IDCANCEL, 0); });
    EXPECT_EQ(Run(script), IDCANCEL);
}

FontDC::FontDC(HWND hWnd) : m_hWnd(hWnd), m_hDC(::GetDC(hWnd))
{
    HFONT hFont = reinterpret_cast<HFONT>(::SendMessageW(hWnd, WM_GETFONT, 0, 0));
    if (hFont != NULL)
        m_hOld = ::SelectObject(m_hDC, hFont);
}

FontDC::~FontDC()
{
    if (m_hOld != NULL)
        ::SelectObject(m_hDC, m_hOld);
    ::ReleaseDC(m_hWnd, m_hDC);
}

std::wstring FontDC::Face() const
{
    wchar_t face[LF_FACESIZE] = L"";
    ::GetTextFaceW(m_hDC, LF_FACESIZE, face);
    return face;
}

std::wstring MissingGlyphs(HWND hWnd)
{
    return MissingGlyphs(hWnd, TextOf(hWnd));
}

std::wstring MissingGlyphs(HWND hWnd, const std::wstring &text)
{
    FontDC dc(hWnd);
    std::vector<WORD> glyphs(text.size());
    ::GetGlyphIndicesW(dc.Get(), text.c_str(), static_cast<int>(text.size()), glyphs.data(),
                       GGI_MARK_NONEXISTING_GLYPHS);
    std::wstring missing;
    for (std::size_t i = 0; i < text.size(); i++)
        if (glyphs[i] == 0xFFFF)
            missing += text[i];
    return missing;
}
