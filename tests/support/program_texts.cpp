// The program's texts, written once for all the tests.
#include "program_texts.h"

#include <cctype>

const wchar_t kMainCaption[] = L"Tesmoor MD5生成器";
const wchar_t kAboutCaption[] = L"关于 Vorkel";
const wchar_t kAboutMenuItem[] = L"关于 Vorkel(&A)...";

const wchar_t kMatchTitle[] = L"校验通过";
const wchar_t kMatch[] = L"与剪贴板中的 %s 一致。";
const wchar_t kMismatchTitle[] = L"校验失败";
const wchar_t kMismatch[] = L"与剪贴板中的 %s 不一致。";
const wchar_t kClipboardValue[] = L"剪贴板中的是 ";
const wchar_t kFileValue[] = L"此文件的是 ";
const wchar_t kCannotCheckTitle[] = L"无法校验";
const wchar_t kOtherDigest[] = L"剪贴板中是 %d 位的十六进制值，不是 MD5（32 位）、SHA-1（40 位）、"
                               L"SHA-256（64 位）、SHA-384（96 位）或 SHA-512（128 位）。";
const wchar_t kNoDigest[] = L"剪贴板中没有 MD5 或 SHA 摘要值。";
const wchar_t kUnsupported[] = L"剪贴板中的摘要用的是本程序不支持的算法。";
const wchar_t kClipboardBusy[] = L"剪贴板正被其他程序占用，请稍后按 Ctrl+V 再试。";
const wchar_t kListSeparator[] = L"、";

std::wstring Filled(const wchar_t *format, const std::wstring &value)
{
    std::wstring text = format;
    std::size_t at = text.find(L'%');
    return at == std::wstring::npos ? text : text.replace(at, 2, value);
}

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
