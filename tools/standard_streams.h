// Standard input, output and error when md5hex was started with one of them
// closed; and standard input read as bytes on Windows. A file opened later must never land on descriptor 0, 1 or 2: a
// listed "-" would then read a sums file as if it were standard input, and
// output would go into whatever file got descriptor 1. So each closed one is
// taken at once by a stand-in that fails as the closed descriptor would (a
// read of standard input, a write of output or error: EBADF), and closing it
// fails as closing a closed descriptor does.
#ifndef VORKEL_TOOLS_STANDARD_STREAMS_H
#define VORKEL_TOOLS_STANDARD_STREAMS_H

#include <cstdio>

// Puts the stand-ins in place; first thing in main. (On Windows the C
// runtime keeps descriptors 0 to 2 for the standard streams whatever their
// handles are, and there is nothing to do.)
void ReserveStandardDescriptors();

// fclose(stream) for stdin, stdout or stderr: 0, or EOF with errno set
// (EBADF when the stream's descriptor was closed at start).
int CloseStandardStream(std::FILE *stream);

// Makes stream (standard input, for sums or for a listed "-") read its bytes
// as they are: the Windows C runtime's text mode would turn CR LF into LF
// and stop at a Ctrl+Z. Nothing to do elsewhere.
void SetBinary(std::FILE *stream);

#endif
