// The end-to-end tests of Vorkel.exe. Started by e2e_test.cmake, which makes
// the sample file and has md5sum compute its digest:
//   vorkel_e2e.exe [GTEST FLAGS] VORKEL.EXE SAMPLE-FILE SAMPLE-DIGEST
// with Windows paths.
#include <gtest/gtest.h>

#include <cstdio>

#include "vorkel_process.h"
#include "windows_under_test.h"

namespace {

E2eInputs g_inputs;

} // namespace

const E2eInputs &Inputs()
{
    return g_inputs;
}

int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (argc != 4) {
        std::fprintf(stderr,
                     "usage: vorkel_e2e [GTEST FLAGS] VORKEL.EXE SAMPLE-FILE SAMPLE-DIGEST\n");
        return 2;
    }
    // The arguments come in the ANSI code page; paths may be Chinese.
    g_inputs = {FromAnsi(argv[1]), FromAnsi(argv[2]), FromAnsi(argv[3])};
    return RUN_ALL_TESTS();
}
