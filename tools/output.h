// md5hex's standard output and standard error. To a file or a pipe the text
// goes as the bytes it is (file names as they were read); to a Windows
// console it goes as UTF-16 through WriteConsoleW, converted from the ANSI
// code page (UTF-8 under md5hex.exe's manifest), so that names in any script
// show readably whatever the console's code page, which stays as it was.
#ifndef VORKEL_TOOLS_OUTPUT_H
#define VORKEL_TOOLS_OUTPUT_H

#include <string>

// The name messages start with, as md5sum's start with "md5sum".
extern const char kProgramName[];

// Writes text to standard output.
void Out(const std::string &text);

// Writes text to standard error, standard output flushed first so that the
// two keep their order on a screen (as GNU error() does).
void Err(const std::string &text);

// Err("md5hex: MESSAGE\n"): a diagnostic.
void Error(const std::string &message);

#endif
