// The application manifest of the built Vorkel.exe, read back two ways: as
// the system reads it (an activation context made from the file, asked for
// its settings), and as XML from the resource itself, each element by its
// namespace and place, since a setting in the wrong namespace or element is
// ignored without a word (Windows is exact about case too: "UTF-8", not
// "utf-8").
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "e2e_inputs.h"
#include "resource_reader.h"
#include "windows_under_test.h"

namespace {

const std::string kAsmV1 = "urn:schemas-microsoft-com:asm.v1";
const std::string kAsmV3 = "urn:schemas-microsoft-com:asm.v3";
const std::string kCompatibility = "urn:schemas-microsoft-com:compatibility.v1";
const std::string kSettings2005 = "http://schemas.microsoft.com/SMI/2005/WindowsSettings";
const std::string kSettings2016 = "http://schemas.microsoft.com/SMI/2016/WindowsSettings";
const std::string kSettings2019 = "http://schemas.microsoft.com/SMI/2019/WindowsSettings";

// RT_MANIFEST (the header gives it as a narrow text).
const WORD RT_MANIFEST_ID = 24;

// Windows 7, 8, 8.1, and 10 and 11 (which share one).
const std::set<std::string> kSupportedOs = {
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",
};

// An element: its namespace and local name ("namespace|name"), those of
// the elements it is in, its attributes and its text.
struct Element {
    std::vector<std::string> path; // from the root element down to this one
    std::map<std::string, std::string> attributes;
    std::string text;
};

std::string Trimmed(const std::string &s)
{
    std::size_t first = s.find_first_not_of(" \t\r\n");
    std::size_t last = s.find_last_not_of(" \t\r\n");
    return first == std::string::npos ? "" : s.substr(first, last - first + 1);
}

// Takes XML apart as far as a manifest needs: elements, their attributes
// (xmlns ones become the namespaces in scope), their text; declarations and
// comments skipped. Malformed input ends the list early.
std::vector<Element> ParseXml(const std::string &xml)
{
    std::vector<Element> elements;
    std::vector<std::size_t> open;                         // indexes of the open elements
    std::vector<std::map<std::string, std::string>> scope; // prefix -> namespace, per open element
    std::size_t pos = 0;
    while ((pos = xml.find('<', pos)) != std::string::npos) {
        if (xml.compare(pos, 4, "<!--") == 0) {
            pos = xml.find("-->", pos);
            continue;
        }
        if (xml.compare(pos, 2, "<?") == 0) {
            pos = xml.find("?>", pos);
            continue;
        }
        std::size_t end = xml.find('>', pos);
        if (end == std::string::npos)
            break;
        if (xml[pos + 1] == '/') { // an end tag
            if (open.empty())
                break;
            open.pop_back();
            scope.pop_back();
            pos = end;
            continue;
        }
        bool empty = xml[end - 1] == '/';
        std::string tag = xml.substr(pos + 1, end - pos - 1 - (empty ? 1 : 0));

        // The name, then name="value" pairs (either quote).
        std::size_t nameEnd = tag.find_first_of(" \t\r\n");
        std::string qname = tag.substr(0, nameEnd);
        std::map<std::string, std::string> attributes;
        std::map<std::string, std::string> namespaces =
            scope.empty() ? std::map<std::string, std::string>() : scope.back();
        for (std::size_t at = nameEnd; at != std::string::npos && at < tag.size();) {
            std::size_t eq = tag.find('=', at);
            if (eq == std::string::npos)
                break;
            std::string name = Trimmed(tag.substr(at, eq - at));
            std::size_t quote = tag.find_first_of("\"'", eq);
            std::size_t close = quote == std::string::npos ? quote : tag.find(tag[quote], quote + 1);
            if (close == std::string::npos)
                break;
            std::string value = tag.substr(quote + 1, close - quote - 1);
            if (name == "xmlns")
                namespaces[""] = value;
            else if (name.compare(0, 6, "xmlns:") == 0)
                namespaces[name.substr(6)] = value;
            else
                attributes[name] = value;
            at = close + 1;
        }
        std::size_t colon = qname.find(':');
        std::string prefix = colon == std::string::npos ? "" : qname.substr(0, colon);
        std::string local = colon == std::string::npos ? qname : qname.substr(colon + 1);

        Element element;
        if (!open.empty())
            element.path = elements[open.back()].path;
        element.path.push_back(namespaces[prefix] + "|" + local);
        element.attributes = attributes;
        elements.push_back(element);
        if (!empty) {
            open.push_back(elements.size() - 1);
            scope.push_back(namespaces);
            std::size_t next = xml.find('<', end);
            elements.back().text = Trimmed(xml.substr(end + 1, next - end - 1));
        }
        pos = end;
    }
    return elements;
}

// The manifest: resource 1 of type RT_MANIFEST, the one the system reads for
// an executable; its bytes are UTF-8 XML.
class Manifest : public testing::Test {
protected:
    void SetUp() override
    {
        HMODULE hExe =
            ::LoadLibraryExW(Inputs().vorkelExe.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(hExe, nullptr);
        ::EnumResourceNamesW(
            hExe, MAKEINTRESOURCEW(RT_MANIFEST_ID),
            [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) -> BOOL {
                reinterpret_cast<std::vector<ULONG_PTR> *>(param)->push_back(
                    reinterpret_cast<ULONG_PTR>(name));
                return TRUE;
            },
            reinterpret_cast<LONG_PTR>(&m_names));
        HRSRC hRes = ::FindResourceW(hExe, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(RT_MANIFEST_ID));
        if (hRes != NULL) {
            const char *p = static_cast<const char *>(::LockResource(::LoadResource(hExe, hRes)));
            m_xml.assign(p, ::SizeofResource(hExe, hRes));
        }
        ::FreeLibrary(hExe);
        ASSERT_FALSE(m_xml.empty()) << "no manifest (RT_MANIFEST 1) in Vorkel.exe";
        m_elements = ParseXml(m_xml);

        ACTCTXW actCtx = {};
        actCtx.cbSize = sizeof(actCtx);
        actCtx.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
        actCtx.lpSource = Inputs().vorkelExe.c_str();
        actCtx.lpResourceName = MAKEINTRESOURCEW(1);
        m_hActCtx = ::CreateActCtxW(&actCtx);
        ASSERT_NE(m_hActCtx, INVALID_HANDLE_VALUE)
            << "the system does not take the manifest: error " << ::GetLastError();
    }

    void TearDown() override
    {
        if (m_hActCtx != INVALID_HANDLE_VALUE)
            ::ReleaseActCtx(m_hActCtx);
    }

    // The elements at this place, each "namespace|name" from the root down.
    std::vector<const Element *> At(const std::vector<std::string> &path) const
    {
        std::vector<const Element *> found;
        for (const Element &element : m_elements)
            if (element.path == path)
                found.push_back(&element);
        return found;
    }

    // The text of the one element at this place; "(none)" or "(several)".
    std::string TextAt(const std::vector<std::string> &path) const
    {
        std::vector<const Element *> found = At(path);
        return found.size() == 1 ? found[0]->text : found.empty() ? "(none)" : "(several)";
    }

    // A setting of the activation context, as the system answers for it;
    // "(none)" when it has none under that name in that namespace.
    std::string Setting(const std::string &ns, const wchar_t *name) const
    {
        wchar_t value[64] = L"";
        SIZE_T written = 0;
        if (!::QueryActCtxSettingsW(0, m_hActCtx, FromAnsi(ns).c_str(), name, value, 64, &written))
            return "(none)";
        return ToAnsi(value);
    }

    static std::vector<std::string> WindowsSettings(const std::string &setting)
    {
        return {kAsmV1 + "|assembly", kAsmV3 + "|application", kAsmV3 + "|windowsSettings",
                setting};
    }

    std::vector<ULONG_PTR> m_names;
    std::string m_xml;
    std::vector<Element> m_elements;
    HANDLE m_hActCtx = INVALID_HANDLE_VALUE;
};

TEST_F(Manifest, OneManifestResourceAnAssemblyOfVersionOne)
{
    EXPECT_EQ(m_names, std::vector<ULONG_PTR>{1});
    std::vector<const Element *> root = At({kAsmV1 + "|assembly"});
    ASSERT_EQ(root.size(), 1u) << m_xml;
    EXPECT_EQ(root[0]->attributes.at("manifestVersion"), "1.0");
}

// Each setting in its own namespace, and nothing else there that would be
// ignored (a misspelt element, or one in another namespace).
TEST_F(Manifest, WindowsSettingsEachInItsNamespace)
{
    std::vector<std::vector<std::string>> settings;
    for (const Element &element : m_elements)
        if (element.path.size() == 4 && element.path[2] == kAsmV3 + "|windowsSettings")
            settings.push_back(element.path);
    std::vector<std::vector<std::string>> expected = {
        WindowsSettings(kSettings2019 + "|activeCodePage"),
        WindowsSettings(kSettings2016 + "|dpiAwareness"),
        WindowsSettings(kSettings2005 + "|dpiAware"),
        WindowsSettings(kSettings2016 + "|longPathAware"),
    };
    std::sort(settings.begin(), settings.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(settings, expected);
}

TEST_F(Manifest, CodePageUtf8)
{
    EXPECT_EQ(TextAt(WindowsSettings(kSettings2019 + "|activeCodePage")), "UTF-8");
    EXPECT_EQ(Setting(kSettings2019, L"activeCodePage"), "UTF-8");
}

// PerMonitorV2 first; System for Windows 10 1607, which knows no
// PerMonitorV2 and reads no dpiAware once dpiAwareness is there; dpiAware
// for the Windows before.
TEST_F(Manifest, PerMonitorV2ThenSystemWithDpiAwareAsTheFallback)
{
    EXPECT_EQ(TextAt(WindowsSettings(kSettings2016 + "|dpiAwareness")), "PerMonitorV2, System");
    EXPECT_EQ(TextAt(WindowsSettings(kSettings2005 + "|dpiAware")), "true");
    EXPECT_EQ(Setting(kSettings2016, L"dpiAwareness"), "PerMonitorV2, System");
    EXPECT_EQ(Setting(kSettings2005, L"dpiAware"), "true");
}

TEST_F(Manifest, LongPathAware)
{
    EXPECT_EQ(TextAt(WindowsSettings(kSettings2016 + "|longPathAware")), "true");
    EXPECT_EQ(Setting(kSettings2016, L"longPathAware"), "true");
}

// As GUIDs in the text, and as the activation context holds them.
TEST_F(Manifest, SupportedOsWindows7To11)
{
    std::set<std::string> ids;
    for (const Element *os : At({kAsmV1 + "|assembly", kCompatibility + "|compatibility",
                                 kCompatibility + "|application", kCompatibility + "|supportedOS"}))
        ids.insert(os->attributes.count("Id") ? os->attributes.at("Id") : "(no Id)");
    EXPECT_EQ(ids, kSupportedOs);

    EXPECT_EQ(SupportedOsIds(m_hActCtx), kSupportedOs);
}

TEST_F(Manifest, RunsAsInvoker)
{
    std::vector<const Element *> level =
        At({kAsmV1 + "|assembly", kAsmV3 + "|trustInfo", kAsmV3 + "|security",
            kAsmV3 + "|requestedPrivileges", kAsmV3 + "|requestedExecutionLevel"});
    ASSERT_EQ(level.size(), 1u) << m_xml;
    EXPECT_EQ(level[0]->attributes,
              (std::map<std::string, std::string>{{"level", "asInvoker"}, {"uiAccess", "false"}}));

    ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION runLevel = {};
    SIZE_T written = 0;
    ASSERT_TRUE(::QueryActCtxW(0, m_hActCtx, NULL, RunlevelInformationInActivationContext,
                               &runLevel, sizeof(runLevel), &written));
    EXPECT_EQ(runLevel.RunLevel, ACTCTX_RUN_LEVEL_AS_INVOKER);
    EXPECT_EQ(runLevel.UiAccess, 0u);
}

// The dependency exactly as the system's Common Controls 6 is known by; the
// activation context has it among its assemblies once the system found it.
TEST_F(Manifest, DependsOnCommonControls6)
{
    std::vector<const Element *> identity =
        At({kAsmV1 + "|assembly", kAsmV1 + "|dependency", kAsmV1 + "|dependentAssembly",
            kAsmV1 + "|assemblyIdentity"});
    ASSERT_EQ(identity.size(), 1u) << m_xml;
    EXPECT_EQ(identity[0]->attributes, (std::map<std::string, std::string>{
                                           {"type", "win32"},
                                           {"name", "Microsoft.Windows.Common-Controls"},
                                           {"version", "6.0.0.0"},
                                           {"processorArchitecture", "*"},
                                           {"publicKeyToken", "6595b64144ccf1df"},
                                           {"language", "*"},
                                       }));

    std::vector<BYTE> buffer(16384);
    SIZE_T written = 0;
    ASSERT_TRUE(::QueryActCtxW(0, m_hActCtx, NULL, ActivationContextDetailedInformation,
                               buffer.data(), buffer.size(), &written));
    DWORD nAssemblies =
        reinterpret_cast<ACTIVATION_CONTEXT_DETAILED_INFORMATION *>(buffer.data())->ulAssemblyCount;
    std::vector<std::wstring> identities;
    for (DWORD index = 1; index <= nAssemblies; index++) {
        std::vector<BYTE> assembly(16384);
        ASSERT_TRUE(::QueryActCtxW(0, m_hActCtx, &index,
                                   AssemblyDetailedInformationInActivationContext,
                                   assembly.data(), assembly.size(), &written));
        const wchar_t *id =
            reinterpret_cast<ACTIVATION_CONTEXT_ASSEMBLY_DETAILED_INFORMATION *>(assembly.data())
                ->lpAssemblyEncodedAssemblyIdentity;
        identities.push_back(id != nullptr ? id : L"");
    }
    // "name,attribute="value",...": the name and the key, whatever build of
    // version 6 the system has.
    EXPECT_TRUE(std::any_of(identities.begin(), identities.end(), [](const std::wstring &id) {
        return id.compare(0, 34, L"Microsoft.Windows.Common-Controls,") == 0 &&
               id.find(L"publicKeyToken=\"6595b64144ccf1df\"") != std::wstring::npos &&
               id.find(L"version=\"6.") != std::wstring::npos;
    })) << testing::PrintToString(identities);
}

} // namespace
