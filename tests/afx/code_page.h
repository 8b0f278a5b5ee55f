// The ANSI code page the tests run under, and examples taken from it: the
// same tests run under 936 (Chinese), 932 (Japanese), 1252 (Western) and
// 65001 (UTF-8), and each text they use must be one the code page can write.
#ifndef VORKEL_TESTS_AFX_CODE_PAGE_H
#define VORKEL_TESTS_AFX_CODE_PAGE_H

#include <windows.h>

#include <initializer_list>
#include <string>

// Whether the ANSI code page writes every character of text: it comes back
// unchanged, not as '?' or a look-alike.
bool HasAnsiForm(const std::wstring &text);

// The first of texts that the ANSI code page writes; empty when none is.
std::wstring FirstWithAnsiForm(std::initializer_list<std::wstring> texts);

// The most bytes one character of the ANSI code page takes.
UINT MaxCharSize();

// A character of two bytes of the ANSI code page whose second byte is
// trailByte; empty when the code page has none (in UTF-8 and single-byte
// code pages no byte of a longer character is below 0x80).
std::string DoubleByteCharacterEndingIn(char trailByte);

// "code page N", for messages and skips.
std::string CodePageName();

// Whether this program carries the test manifest that asks for the ANSI
// code page UTF-8 (utf8_code_page.manifest).
bool CarriesUtf8Manifest();

#endif
