// The program's texts, written once for all the tests.
#include "program_texts.h"

#include <cctype>

const wchar_t kMainCaption[] = L"Tesmoor MD5生成器";
const wchar_t kAboutCaption[] = L"关于 Vorkel";
const wchar_t kAboutMenuItem[] = L"关于 Vorkel(&A)...";

std::wstring ShownDigest(const std::string &hexDigest)
{
    std::wstring shown;
    for (char c : hexDigest) {
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            break;
        shown += static_cast<wchar_t>(std::toupper(static_cast<unsigned char>(c)));
    }
    // What no digest box shows, should the oracle have failed: no test can
    // then pass by comparing two empty texts.
    if (shown.size() != 32 || hexDigest.size() != 32)
        return L"(not an MD5 digest: " + std::wstring(hexDigest.begin(), hexDigest.end()) + L")";
    return shown;
}
