// File names in messages, quoted as md5sum quotes them (gnulib's quotef: the
// shell-escape style, with ':' quoted too) in a UTF-8 locale: as they are
// when nothing in them means anything to a shell; else in '...', with
// control characters as $'\n' and the like, or in "..." when the only
// trouble is an apostrophe.
#ifndef VORKEL_TOOLS_QUOTE_H
#define VORKEL_TOOLS_QUOTE_H

#include <string>

std::string Quoted(const std::string &name);

#endif
