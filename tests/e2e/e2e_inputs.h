// What the end-to-end tests are run with (see main.cpp).
#ifndef VORKEL_TESTS_E2E_INPUTS_H
#define VORKEL_TESTS_E2E_INPUTS_H

#include <string>
#include <vector>

struct Sample {
    std::wstring path;  // Windows path
    std::string digest; // md5sum's, in lower case
};

struct E2eInputs {
    std::wstring vorkelExe;  // Windows path of Vorkel.exe
    std::wstring md5hexExe;  // and of md5hex.exe
    std::wstring plantedDll; // a DLL that marks its loading (planted_dll.c)
    std::wstring dropHook;   // a hook DLL that drops a file (drop_hook.cpp)
    std::vector<Sample> samples;
};

const E2eInputs &Inputs();

#endif
