// A module's resources read back as the system stores them: the bytes of one
// resource, the languages it comes in, and dialog templates of either form
// (DLGTEMPLATE, DLGTEMPLATEEX) taken apart field by field.
#ifndef VORKEL_TESTS_RESOURCE_READER_H
#define VORKEL_TESTS_RESOURCE_READER_H

#include <windows.h>

#include <cstring>
#include <ostream>
#include <set>
#include <string>
#include <vector>

// The language of all of the program's resources.
const WORD kChinesePrc = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);

// Resource name of the given type in that language: its bytes (none when
// there is no such resource), and every language it comes in.
std::vector<BYTE> ResourceBytes(HMODULE hModule, LPCWSTR type, int name,
                                WORD language = kChinesePrc);
std::vector<WORD> ResourceLanguages(HMODULE hModule, LPCWSTR type, int name);

// The systems that the manifest of an activation context declares
// (supportedOS), as the context holds them: GUIDs in lower case and braces.
// Records a test failure should the context hold the information in another
// shape or an element of another kind.
std::set<std::string> SupportedOsIds(HANDLE hActCtx);

// Reads resource bytes in order; past the end it reads zeros.
class ResourceReader {
public:
    explicit ResourceReader(const std::vector<BYTE> &bytes) : m_bytes(bytes) {}

    template <typename T> T Read()
    {
        T value{};
        if (m_pos + sizeof(T) <= m_bytes.size())
            std::memcpy(&value, &m_bytes[m_pos], sizeof(T));
        m_pos += sizeof(T);
        return value;
    }

    // A zero-terminated UTF-16 text, or an ordinal (0xFFFF, then the
    // number), given as "#number".
    std::wstring Text();

    void AlignToDword() { m_pos = (m_pos + 3) & ~static_cast<std::size_t>(3); }
    bool AtEnd() const { return m_pos >= m_bytes.size(); }

private:
    const std::vector<BYTE> &m_bytes;
    std::size_t m_pos = 0;
};

// A rectangle of a template, in dialog units.
struct DialogUnits {
    short x, y, cx, cy;
    bool operator==(const DialogUnits &o) const
    {
        return x == o.x && y == o.y && cx == o.cx && cy == o.cy;
    }
};

struct DialogItem {
    std::wstring cls; // the predefined classes' atoms by name: "button", "edit", "static"
    int id;
    std::wstring text; // an ordinal as "#number" (an icon's ID, for one)
    DialogUnits rect;
    DWORD style, exStyle;
    WORD creationDataBytes;

    bool operator==(const DialogItem &o) const
    {
        return cls == o.cls && id == o.id && text == o.text && rect == o.rect &&
               style == o.style && exStyle == o.exStyle && creationDataBytes == o.creationDataBytes;
    }
};
std::ostream &operator<<(std::ostream &os, const DialogItem &item);

struct DialogTemplate {
    bool extended; // DLGTEMPLATEEX, not DLGTEMPLATE
    DWORD style, exStyle;
    DialogUnits rect;
    std::wstring menu, cls, caption;
    WORD points, weight; // weight, italic and character set: extended form only
    BYTE italic, charset;
    std::wstring face;
    std::vector<DialogItem> items; // in tab order
    bool whole;                    // the bytes end right after the last item
};

DialogTemplate ParseDialogTemplate(const std::vector<BYTE> &bytes);

// Dialog template id of hModule (Chinese, PRC).
DialogTemplate LoadDialogTemplate(HMODULE hModule, int id);

#endif
