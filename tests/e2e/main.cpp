// The end-to-end tests of Vorkel.exe. Started by e2e_test.cmake, which makes
// the sample files and has md5sum compute their digests:
//   vorkel_e2e.exe [GTEST FLAGS] VORKEL.EXE MD5HEX.EXE PLANTED.DLL DROP_HOOK.DLL SAMPLES
// SAMPLES lists them as md5sum does, "<digest>  <path>" a line, in UTF-8 with
// Windows paths.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <fstream>

#include "e2e_inputs.h"
#include "windows_under_test.h"

namespace {

E2eInputs g_inputs;

bool ReadSamples(const char *listFile, std::vector<Sample> &samples)
{
    std::ifstream in(listFile, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (line.size() < 35 || line.compare(32, 2, "  ") != 0)
            return false;
        samples.push_back({FromUtf8(line.substr(34)), line.substr(0, 32)});
    }
    return !samples.empty();
}

} // namespace

const E2eInputs &Inputs()
{
    return g_inputs;
}

int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (argc != 6) {
        std::fprintf(stderr, "usage: vorkel_e2e [GTEST FLAGS] VORKEL.EXE MD5HEX.EXE PLANTED.DLL "
                             "DROP_HOOK.DLL SAMPLES\n");
        return 2;
    }
    g_inputs.vorkelExe = FromAnsi(argv[1]);
    g_inputs.md5hexExe = FromAnsi(argv[2]);
    g_inputs.plantedDll = FromAnsi(argv[3]);
    g_inputs.dropHook = FromAnsi(argv[4]);
    if (!ReadSamples(argv[5], g_inputs.samples)) {
        std::fprintf(stderr, "vorkel_e2e: no samples in %s\n", argv[5]);
        return 2;
    }
    return RUN_ALL_TESTS();
}
