// The MD5 digest of a file, as text.
#ifndef VORKEL_CORE_MD5FILE_H
#define VORKEL_CORE_MD5FILE_H

// Hashes the file named by path (handed to fopen unchanged) and returns its
// digest as 32 lowercase hex digits, or null when the file can't be opened or
// read; the reason then goes to standard output. The text lives in one static
// buffer that the next successful call overwrites: copy it at once. Not
// reentrant.
char *MD5FileHex(char *path);

#endif
