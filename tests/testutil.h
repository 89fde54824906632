// Shared fixture: clean globals and hooks, and a fresh program folder per test.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "core/FData.h"
#include "core/uihooks.h"

namespace quorlet::test {

// The whole file as bytes ("" when it cannot be read).
inline std::string ReadFileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A folder under `base` (created) whose path is `length` characters long with its trailing
// "/": the folder itself can be used, while a name of more than 4095 - length characters in it
// cannot even be looked up (the system refuses paths of 4096 characters and more).
inline std::string FolderOfPathLength(const std::string& base, std::size_t length) {
    std::string folder = base;
    while (length > folder.size() + 201)
        folder += std::string(100, 'd') + "/";
    if (length > folder.size() + 1) folder += std::string(length - folder.size() - 1, 'd') + "/";
    std::filesystem::create_directories(folder);
    return folder;
}

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetGlobals();
        ResetUiHooks();
        namespace fs = std::filesystem;
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(info->test_suite_name()) + "." + info->name();
        for (char& c : name)
            if (c == '/') c = '_';
        home_ = fs::temp_directory_path() / ("quorlet-test-" + std::to_string(::getpid()) + "-" + name);
        fs::remove_all(home_);
        fs::create_directories(home_);
        ::setenv("QUORLET_HOME", home_.c_str(), 1);
        Options.LastPath = home_.string() + "/";
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(home_, ec);
        ResetUiHooks();
    }
    // The test's program folder, with a trailing "/".
    std::string Home() const { return home_.string() + "/"; }

private:
    std::filesystem::path home_;
};

} // namespace quorlet::test
