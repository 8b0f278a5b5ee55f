// A folder of its own for a test's files: made empty under the system's
// temporary folder, named after the running test, and removed with all it
// holds when the test ends. For the tests of every build, native and Windows.
#ifndef VORKEL_TESTS_SUPPORT_TEST_FOLDER_H
#define VORKEL_TESTS_SUPPORT_TEST_FOLDER_H

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <system_error>

class TestFolder {
public:
    // prefix starts the folder's name, a number that tells the folders of
    // one run apart follows, the test's name ends it.
    explicit TestFolder(const std::string &prefix)
        : m_path(std::filesystem::temp_directory_path() /
                 (prefix + std::to_string(Serial()++) + "-" +
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
    static std::atomic<int> &Serial()
    {
        static std::atomic<int> serial{0};
        return serial;
    }

    std::filesystem::path m_path;
};

#endif
