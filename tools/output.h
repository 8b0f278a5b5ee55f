// md5hex's standard output and standard error. To a file or a pipe the text
// goes as the bytes it is (file names as they were read); to a Windows
// console it goes as UTF-16 through WriteConsoleW, converted from the ANSI
// code page (UTF-8 under md5hex.exe's manifest), so that names in any script
// show readably whatever the console's code page, which stays as it was.
// Write errors are md5sum's: each line goes out as it is written, a failed
// write doesn't stop the work, and at the end "write error" says that some
// output was lost and makes the exit status 1.
#ifndef VORKEL_TOOLS_OUTPUT_H
#define VORKEL_TOOLS_OUTPUT_H

#include <string>

// The name messages start with, as md5sum's start with "md5sum".
extern const char kProgramName[];

// Writes text to standard output, at once (as md5sum's line-buffered
// output does, so that a failed write is seen and a line is never torn).
void Out(const std::string &text);

// Writes text to standard error, standard output flushed first so that the
// two keep their order on a screen (as GNU error() does).
void Err(const std::string &text);

// Err("md5hex: MESSAGE\n"): a diagnostic.
void Error(const std::string &message);

// The end of the output, as md5sum's close_stdout ends it: standard output
// closed, and when a write to it failed (or closing it did, other than for
// a descriptor that was closed with nothing written), "md5hex: write error"
// with the reason when closing gave one; then standard error closed.
// Returns status, or 1 when either stream failed. Nothing may be written
// afterwards.
int FinishOutput(int status);

#endif
