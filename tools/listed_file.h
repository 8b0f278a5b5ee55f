// The digest of one file that a sums file lists: the one place where md5hex
// -c hashes, so that how files get hashed can change without touching the
// reading of sums files or the reporting of results.
#ifndef VORKEL_TOOLS_LISTED_FILE_H
#define VORKEL_TOOLS_LISTED_FILE_H

// Hashes the file called name ("-": standard input, read to its end in
// binary) into digest. Returns MD5FILE_OK, or MD5FILE_OPEN_ERROR or
// MD5FILE_READ_ERROR (md5file.h) with errno saying why.
int HashListedFile(const char *name, unsigned char digest[16]);

// What the check calls to hash a listed file: HashListedFile, or another
// function that keeps its contract.
typedef int (*ListedFileHasher)(const char *name, unsigned char digest[16]);

#endif
