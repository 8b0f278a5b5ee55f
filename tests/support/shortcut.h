// Shortcuts (.lnk files) as Explorer makes them, through the shell's link
// object. Wine stores a link's target in the ANSI code page of the program
// that writes it: the link is to be read by a program of the same code page.
#ifndef VORKEL_TESTS_SHORTCUT_H
#define VORKEL_TESTS_SHORTCUT_H

#include <string>

// Writes the shortcut link pointing at target; whether it was written.
bool MakeShortcut(const std::wstring &link, const std::wstring &target);

#endif
