// Reading resources back from a module.
#include "resource_reader.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdio>

#include "windows_under_test.h"

std::vector<BYTE> ResourceBytes(HMODULE hModule, LPCWSTR type, int name, WORD language)
{
    HRSRC hRes = ::FindResourceExW(hModule, type, MAKEINTRESOURCEW(name), language);
    if (hRes == NULL)
        return {};
    const BYTE *p = static_cast<const BYTE *>(::LockResource(::LoadResource(hModule, hRes)));
    return std::vector<BYTE>(p, p + ::SizeofResource(hModule, hRes));
}

std::vector<WORD> ResourceLanguages(HMODULE hModule, LPCWSTR type, int name)
{
    std::vector<WORD> languages;
    ::EnumResourceLanguagesW(
        hModule, type, MAKEINTRESOURCEW(name),
        [](HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR param) -> BOOL {
            reinterpret_cast<std::vector<WORD> *>(param)->push_back(language);
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&languages));
    return languages;
}

std::wstring ResourceReader::Text()
{
    WORD first = Read<WORD>();
    if (first == 0xFFFF)
        return L"#" + std::to_wstring(Read<WORD>());
    std::wstring text;
    for (WORD c = first; c != 0 && !AtEnd(); c = Read<WORD>())
        text += static_cast<wchar_t>(c);
    return text;
}

namespace {

// Templates name the predefined classes by their atoms.
std::wstring ClassName(const std::wstring &cls)
{
    return cls == L"#128" ? L"button" : cls == L"#129" ? L"edit" : cls == L"#130" ? L"static" : cls;
}

DialogUnits ReadRect(ResourceReader &r)
{
    DialogUnits rect;
    rect.x = r.Read<short>(), rect.y = r.Read<short>();
    rect.cx = r.Read<short>(), rect.cy = r.Read<short>();
    return rect;
}

} // namespace

std::ostream &operator<<(std::ostream &os, const DialogItem &item)
{
    return os << ToUtf8(item.cls) << " " << item.id << " \"" << ToUtf8(item.text) << "\" "
              << item.rect.x << "," << item.rect.y << "," << item.rect.cx << "," << item.rect.cy
              << " style 0x" << std::hex << item.style << " ex 0x" << item.exStyle << std::dec
              << " creation data " << item.creationDataBytes;
}

DialogTemplate ParseDialogTemplate(const std::vector<BYTE> &bytes)
{
    ResourceReader r(bytes);
    DialogTemplate d{};
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
    d.rect = ReadRect(r);
    d.menu = r.Text(), d.cls = r.Text(), d.caption = r.Text();
    if (d.style & (DS_SETFONT | DS_SHELLFONT)) {
        d.points = r.Read<WORD>();
        if (d.extended)
            d.weight = r.Read<WORD>(), d.italic = r.Read<BYTE>(), d.charset = r.Read<BYTE>();
        d.face = r.Text();
    }

    for (int i = 0; i < count; i++) {
        r.AlignToDword();
        DialogItem item{};
        if (d.extended) {
            r.Read<DWORD>(); // help ID
            item.exStyle = r.Read<DWORD>();
            item.style = r.Read<DWORD>();
        } else {
            item.style = r.Read<DWORD>();
            item.exStyle = r.Read<DWORD>();
        }
        item.rect = ReadRect(r);
        item.id = d.extended ? static_cast<int>(r.Read<DWORD>()) : r.Read<short>();
        item.cls = ClassName(r.Text());
        item.text = r.Text();
        item.creationDataBytes = r.Read<WORD>();
        for (WORD n = 0; n < item.creationDataBytes; n++)
            r.Read<BYTE>();
        d.items.push_back(item);
    }
    d.whole = r.AtEnd();
    return d;
}

DialogTemplate LoadDialogTemplate(HMODULE hModule, int id)
{
    return ParseDialogTemplate(ResourceBytes(hModule, MAKEINTRESOURCEW(5) /* RT_DIALOG */, id));
}

std::set<std::string> SupportedOsIds(HANDLE hActCtx)
{
    // The element of this information: a GUID, its kind, and (since Windows
    // 10 1903, and in Wine) the maxversiontested that goes with it.
    struct CompatibilityElement {
        GUID Id;
        ACTCTX_COMPATIBILITY_ELEMENT_TYPE Type;
        ULONGLONG MaxVersionTested;
    };
    struct CompatibilityInformation {
        DWORD ElementCount;
        CompatibilityElement Elements[8];
    } info = {};
    SIZE_T written = 0;
    std::set<std::string> ids;
    if (!::QueryActCtxW(0, hActCtx, NULL, CompatibilityInformationInActivationContext, &info,
                        sizeof(info), &written)) {
        ADD_FAILURE() << "QueryActCtxW: error " << ::GetLastError();
        return ids;
    }
    EXPECT_EQ(written, offsetof(CompatibilityInformation, Elements) +
                           info.ElementCount * sizeof(CompatibilityElement));
    for (DWORD i = 0; i < info.ElementCount && i < 8; i++) {
        EXPECT_EQ(info.Elements[i].Type, ACTCTX_COMPATIBILITY_ELEMENT_TYPE_OS);
        const GUID &g = info.Elements[i].Id;
        char id[40];
        std::snprintf(id, sizeof(id), "{%08lx-%04x-%04x-%02x%02x-%02x%02x%02x%02x%02x%02x}",
                      g.Data1, g.Data2, g.Data3, g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3],
                      g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
        ids.insert(id);
    }
    return ids;
}
