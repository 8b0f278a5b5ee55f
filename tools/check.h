// md5hex -c: checks the files that sums files list, as md5sum -c does
// (coreutils 9.1's digest_check): a line on standard output for each
// ("NAME: OK", "NAME: FAILED", "NAME: FAILED open or read"), md5sum's
// messages and warnings on standard error, and its exit status.
#ifndef VORKEL_TOOLS_CHECK_H
#define VORKEL_TOOLS_CHECK_H

#include "options.h"

// Checks every sums file of options (standard input for "-" or none) and
// returns the exit status: 0 when each of them had a properly formatted
// line and every listed file that was checked matched.
int CheckSums(const CheckOptions &options);

#endif
