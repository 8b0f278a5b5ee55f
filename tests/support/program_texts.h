// The program's own texts as its resources hold them, for the tests that find
// its windows by them or check what they show; and the digest text as the
// main window shows it.
#ifndef VORKEL_TESTS_PROGRAM_TEXTS_H
#define VORKEL_TESTS_PROGRAM_TEXTS_H

#include <string>

extern const wchar_t kMainCaption[];   // the digest dialog
extern const wchar_t kAboutCaption[];  // the About box
extern const wchar_t kAboutMenuItem[]; // the About item of the system menu

// The verdict on the digests against those on the clipboard: the balloon's
// titles and texts. kMatch and kMismatch have "%s" where the names of the
// digests go (joined by kListSeparator), kOtherDigest "%d" where the number
// of digits goes: see Filled.
extern const wchar_t kMatchTitle[];
extern const wchar_t kMatch[];
extern const wchar_t kMismatchTitle[];
extern const wchar_t kMismatch[];
extern const wchar_t kClipboardValue[]; // a mismatch's line before the value copied
extern const wchar_t kFileValue[];      // and before the file's own
extern const wchar_t kCannotCheckTitle[];
extern const wchar_t kOtherDigest[];
extern const wchar_t kNoDigest[];
extern const wchar_t kUnsupported[];
extern const wchar_t kClipboardBusy[];
extern const wchar_t kListSeparator[];

// format with its one "%s" or "%d" replaced by value.
std::wstring Filled(const wchar_t *format, const std::wstring &value);

// The digest box's text for a digest given as hex digits of either case (an
// oracle's: md5sum, OpenSSL): the same 32 digits in upper case. Anything
// but 32 hex digits gives a text that no digest box shows.
std::wstring ShownDigest(const std::string &hexDigest);

#endif
