// A folder of its own for a test's files: made empty under the system's
// temporary folder, named after the process and the running test, and
// removed with all it holds when the test ends. For the tests of every
// build, native and Windows: the same test of two builds (native and
// native-asan, say) may run at the same time, each in a process of its own.
#ifndef VORKEL_TESTS_SUPPORT_TEST_FOLDER_H
#define VORKEL_TESTS_SUPPORT_TEST_FOLDER_H

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

class TestFolder {
public:
    // prefix starts the folder's name, the process's ID and a number that
    // tells the folders of one process apart follow, the test's name ends it.
    explicit TestFolder(const std::string &prefix)
        : m_path(std::filesystem::temp_directory_path() /
                 (prefix + std::to_string(ProcessId()) + "-" + std::to_string(Serial()++) + "-" +
                  testing::UnitTest::GetInstance()->current_test_info()->name()))
    {
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }

    ~TestFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }

    TestFolder(const TestFolder &) = delete;
    TestFolder &operator=(const TestFolder &) = delete;

    const std::filesystem::path &Path() const { return m_path; }

private:
    static long ProcessId()
    {
#ifdef _WIN32
        return _getpid();
#else
        return getpid();
#endif
    }

    static std::atomic<int> &Serial()
    {
        static std::atomic<int> serial{0};
        return serial;
    }

    std::filesystem::path m_path;
};

#endif
