// The version record of the built Vorkel.exe, read back as Windows shows it
// (GetFileVersionInfoW, VerQueryValueW) and, for what those cannot list
// (which blocks and keys exist, the resource's language), from the raw
// resource.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "e2e_inputs.h"
#include "vorkel_version.h"

namespace {

const WORD kChineseSimplified = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED); // 0x0804

// The version the build states (project(VERSION ...)): the fixed fields
// hold it as two 32-bit halves, the strings as "1, 0, 0, 1" (made here from
// the numbers, not taken from the header's text).
const DWORD kVersionMS = VORKEL_VERSION_MAJOR << 16 | VORKEL_VERSION_MINOR;
const DWORD kVersionLS = VORKEL_VERSION_PATCH << 16 | VORKEL_VERSION_TWEAK;
const std::wstring kVersionText =
    std::to_wstring(VORKEL_VERSION_MAJOR) + L", " + std::to_wstring(VORKEL_VERSION_MINOR) + L", " +
    std::to_wstring(VORKEL_VERSION_PATCH) + L", " + std::to_wstring(VORKEL_VERSION_TWEAK);

// The block's keys and their values.
const std::map<std::wstring, std::wstring> kStrings = {
    {L"Comments", L""},
    {L"CompanyName", L""},
    {L"FileDescription", L"Vorkel Microsoft 基础类应用程序"},
    {L"FileVersion", kVersionText},
    {L"InternalName", L"Vorkel"},
    {L"LegalCopyright", L"Copyright (C) 2026"},
    {L"LegalTrademarks", L""},
    {L"OriginalFilename", L"Vorkel.EXE"},
    {L"PrivateBuild", L""},
    {L"ProductName", L"Vorkel 应用程序"},
    {L"ProductVersion", kVersionText},
    {L"SpecialBuild", L""},
};

class VersionRecord : public testing::Test {
protected:
    void SetUp() override
    {
        const std::wstring &path = Inputs().vorkelExe;
        DWORD handle = 0;
        DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &handle);
        ASSERT_NE(size, 0u) << "no version record in Vorkel.exe";
        m_data.resize(size);
        ASSERT_TRUE(::GetFileVersionInfoW(path.c_str(), 0, size, m_data.data()));
    }

    // The value under subBlock, or null; its length in *length.
    const void *Query(const std::wstring &subBlock, UINT *length)
    {
        void *value = NULL;
        if (!::VerQueryValueW(m_data.data(), subBlock.c_str(), &value, length))
            return NULL;
        return value;
    }

    std::vector<BYTE> m_data;
};

TEST_F(VersionRecord, FixedFields)
{
    UINT length = 0;
    auto info = static_cast<const VS_FIXEDFILEINFO *>(Query(L"\\", &length));
    ASSERT_NE(info, nullptr);
    ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(info->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(info->dwFileVersionMS, kVersionMS);
    EXPECT_EQ(info->dwFileVersionLS, kVersionLS);
    EXPECT_EQ(info->dwProductVersionMS, kVersionMS);
    EXPECT_EQ(info->dwProductVersionLS, kVersionLS);
    EXPECT_EQ(info->dwFileFlagsMask, 0x3Fu);
    EXPECT_EQ(info->dwFileFlags, 0u);
    EXPECT_EQ(info->dwFileOS, static_cast<DWORD>(VOS__WINDOWS32));
    EXPECT_EQ(info->dwFileType, static_cast<DWORD>(VFT_APP));
    EXPECT_EQ(info->dwFileSubtype, 0u);
}

TEST_F(VersionRecord, TranslationIsChineseSimplifiedInUtf16Alone)
{
    UINT length = 0;
    auto translation = static_cast<const WORD *>(Query(L"\\VarFileInfo\\Translation", &length));
    ASSERT_NE(translation, nullptr);
    ASSERT_EQ(length, 2 * sizeof(WORD)); // one language and code page pair
    EXPECT_EQ(translation[0], kChineseSimplified);
    EXPECT_EQ(translation[1], 1200); // UTF-16
}

TEST_F(VersionRecord, StringsOfTheBlock080404b0)
{
    for (const auto &entry : kStrings) {
        UINT length = 0;
        auto text = static_cast<const wchar_t *>(
            Query(L"\\StringFileInfo\\080404b0\\" + entry.first, &length));
        if (text == nullptr) {
            ADD_FAILURE() << testing::PrintToString(entry.first) << " is missing";
            continue;
        }
        // The length, in characters, may or may not count the terminating zero.
        std::wstring value(text, wcsnlen(text, length));
        EXPECT_EQ(value, entry.second) << testing::PrintToString(entry.first);
    }
}

// The raw record is a tree of blocks: each a length, a value length, a type
// (1 for text), a UTF-16 key, its value and then its children, each part
// starting on a 4-byte boundary.
class RawBlock {
public:
    explicit RawBlock(const BYTE *p) : m_p(p) {}

    std::wstring Key() const { return reinterpret_cast<const wchar_t *>(m_p + 6); }

    std::vector<RawBlock> Children() const
    {
        const BYTE *value = Aligned(m_p + 6 + (Key().size() + 1) * sizeof(wchar_t));
        const BYTE *child = Aligned(value + (Type() == 1 ? ValueLength() * 2 : ValueLength()));
        std::vector<RawBlock> children;
        while (child < m_p + Length() && RawBlock(child).Length() != 0) {
            children.emplace_back(child);
            child = Aligned(child + RawBlock(child).Length());
        }
        return children;
    }

    std::vector<std::wstring> ChildKeys() const
    {
        std::vector<std::wstring> keys;
        for (const RawBlock &child : Children())
            keys.push_back(child.Key());
        return keys;
    }

    RawBlock Child(const std::wstring &key) const
    {
        for (const RawBlock &child : Children())
            if (child.Key() == key)
                return child;
        return RawBlock(nullptr);
    }

    bool Exists() const { return m_p != nullptr; }

private:
    WORD Word(int index) const
    {
        WORD w;
        std::memcpy(&w, m_p + 2 * index, sizeof(w));
        return w;
    }
    WORD Length() const { return Word(0); }
    WORD ValueLength() const { return Word(1); }
    WORD Type() const { return Word(2); }
    const BYTE *Aligned(const BYTE *p) const { return m_p + ((p - m_p + 3) & ~3); }

    const BYTE *m_p;
};

std::vector<WORD> g_languages;

BOOL CALLBACK CollectLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR)
{
    g_languages.push_back(language);
    return TRUE;
}

TEST(VersionResource, OneRecordInChineseSimplifiedWithOneStringBlock)
{
    HMODULE hExe = ::LoadLibraryExW(Inputs().vorkelExe.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(hExe, nullptr);
    g_languages.clear();
    ::EnumResourceLanguagesA(hExe, RT_VERSION, MAKEINTRESOURCEA(VS_VERSION_INFO), CollectLanguage,
                             0);
    EXPECT_EQ(g_languages, std::vector<WORD>{kChineseSimplified});

    HRSRC hInfo =
        ::FindResourceExA(hExe, RT_VERSION, MAKEINTRESOURCEA(VS_VERSION_INFO), kChineseSimplified);
    ASSERT_NE(hInfo, nullptr);
    RawBlock root(static_cast<const BYTE *>(::LockResource(::LoadResource(hExe, hInfo))));
    EXPECT_EQ(root.Key(), L"VS_VERSION_INFO");
    EXPECT_EQ(root.ChildKeys(), (std::vector<std::wstring>{L"StringFileInfo", L"VarFileInfo"}));

    RawBlock strings = root.Child(L"StringFileInfo");
    ASSERT_TRUE(strings.Exists());
    EXPECT_EQ(strings.ChildKeys(), std::vector<std::wstring>{L"080404b0"});
    RawBlock block = strings.Child(L"080404b0");
    ASSERT_TRUE(block.Exists());
    // The keys whose values are checked above, and no others.
    std::vector<std::wstring> keys = block.ChildKeys();
    std::sort(keys.begin(), keys.end());
    std::vector<std::wstring> expectedKeys;
    for (const auto &entry : kStrings) // in order: a std::map
        expectedKeys.push_back(entry.first);
    EXPECT_EQ(keys, expectedKeys);
    ::FreeLibrary(hExe);
}

} // namespace
