// The ANSI code page and examples from it.
#include "code_page.h"

#include "windows_under_test.h" // FromAnsi, ToAnsi

bool HasAnsiForm(const std::wstring &text)
{
    return FromAnsi(ToAnsi(text)) == text;
}

std::wstring FirstWithAnsiForm(std::initializer_list<std::wstring> texts)
{
    for (const std::wstring &text : texts)
        if (HasAnsiForm(text))
            return text;
    return std::wstring();
}

UINT MaxCharSize()
{
    CPINFO info;
    return ::GetCPInfo(CP_ACP, &info) ? info.MaxCharSize : 0;
}

std::string DoubleByteCharacterEndingIn(char trailByte)
{
    CPINFO info;
    if (!::GetCPInfo(CP_ACP, &info))
        return std::string();
    // LeadByte: pairs of first and last byte of each range, up to a 0 pair.
    for (int i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i] != 0; i += 2) {
        for (int lead = info.LeadByte[i]; lead <= info.LeadByte[i + 1]; lead++) {
            std::string character = {static_cast<char>(lead), trailByte};
            wchar_t wide[2];
            if (::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, character.data(), 2, wide,
                                      2) == 1 &&
                ToAnsi(std::wstring(wide, 1)) == character)
                return character;
        }
    }
    return std::string();
}

std::string CodePageName()
{
    return "code page " + std::to_string(::GetACP());
}

bool CarriesUtf8Manifest()
{
    HRSRC hManifest = ::FindResourceA(NULL, CREATEPROCESS_MANIFEST_RESOURCE_ID, RT_MANIFEST);
    if (hManifest == NULL)
        return false;
    const char *text = static_cast<const char *>(::LockResource(::LoadResource(NULL, hManifest)));
    return std::string(text, ::SizeofResource(NULL, hManifest)).find(">UTF-8</activeCodePage>") !=
           std::string::npos;
}
