// The program's own texts as its resources hold them, for the tests that find
// its windows by them or check what they show; and the digest text as the
// main window shows it.
#ifndef VORKEL_TESTS_PROGRAM_TEXTS_H
#define VORKEL_TESTS_PROGRAM_TEXTS_H

#include <string>

extern const wchar_t kMainCaption[];   // the digest dialog
extern const wchar_t kAboutCaption[];  // the About box
extern const wchar_t kAboutMenuItem[]; // the About item of the system menu

// The verdict on the digest against the MD5 on the clipboard: the balloon's
// titles and texts. kOtherDigest has "%d" where the number of digits goes.
extern const wchar_t kMatchTitle[];
extern const wchar_t kMatch[];
extern const wchar_t kMismatchTitle[];
extern const wchar_t kMismatch[];
extern const wchar_t kClipboardMd5[]; // the mismatch's second line, before the MD5
extern const wchar_t kCannotCheckTitle[];
extern const wchar_t kOtherDigest[];
extern const wchar_t kNoMd5[];

// The digest box's text for a digest given as hex digits of either case (an
// oracle's: md5sum, OpenSSL): the same 32 digits in upper case. Anything
// but 32 hex digits gives a text that no digest box shows.
std::wstring ShownDigest(const std::string &hexDigest);

#endif
