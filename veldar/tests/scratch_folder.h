// A fresh folder per test, removed afterwards, and whole-file helpers for tests.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "Base/FileAccess.h"
#include "test_caller.h"
#include "test_files.h"

class ScratchFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = test_support::MakeScratchFolder(
        ::testing::TempDir(), std::string("veldar_") + info->test_suite_name() + "_" + info->name());
    ASSERT_TRUE(std::filesystem::is_directory(folder_)) << folder_;
  }
  void TearDown() override { test_support::RemoveFolder(folder_); }

  std::string PathOf(const std::string& name) const { return folder_ + name; }
  static void WriteBytes(const std::string& file, const std::string& bytes,
                         test_support::Caller caller = {}) {
    test_support::CallerTrace trace(caller);
    ASSERT_TRUE(test_support::WriteFileBytes(file, bytes)) << file;
  }
  // The file's bytes; "<missing>" when it cannot be read.
  static std::string ReadBytes(const std::string& file) { return test_support::ReadFileBytes(file); }

  // Names of everything in the folder, to see that no stray file was left behind.
  std::set<std::string> Contents() const {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder_))
      names.insert(entry.path().filename().string());
    return names;
  }

  std::string folder_;  // with a trailing separator
};

// A call that returned `succeeded` failed: `kind` on `file`, with the system's code
// `error` (any code when it is 0) and the system's text for that code.
inline void ExpectFileFailure(bool succeeded, const FileFailure& failure, FileFailure::Kind kind,
                              const std::string& file, unsigned long error = 0,
                              test_support::Caller caller = {}) {
  test_support::CallerTrace trace(caller);
  EXPECT_FALSE(succeeded);
  EXPECT_EQ(kind, failure.kind);
  EXPECT_EQ(file, failure.file);
  if (error != 0) {
    EXPECT_EQ(error, failure.error);
  }
  EXPECT_NE(0u, failure.error);
  EXPECT_EQ(SystemErrorText(failure.error), failure.reason);
}
