// The deletion passes on a scratch folder: what the list names inside it goes, whatever
// its attributes and order, and nothing else does.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "remove/DeletionPasses.h"
#include "test_files.h"
#include "test_caller.h"

using namespace test_support;

namespace {

class DeletionPasses : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = MakeScratchFolder(TempFolder(), "deletion-passes-" + std::to_string(GetCurrentProcessId()));
    folder_ = root_ + "program\\";
    ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr));
  }
  void TearDown() override {
    if (list_ != nullptr) fclose(list_);
    RemoveFolder(root_);
  }
  void MakeFolder(const std::string& name, DWORD attributes = 0, test_support::Caller caller = {}) {
    test_support::CallerTrace trace(caller);
    ASSERT_TRUE(CreateDirectoryA((folder_ + name).c_str(), nullptr)) << name;
    attributes_.push_back({folder_ + name, attributes});
  }
  void MakeFile(const std::string& path, DWORD attributes = 0, test_support::Caller caller = {}) {
    test_support::CallerTrace trace(caller);
    WriteFileBytes(path, "content");
    ASSERT_TRUE(FileExists(path)) << path;
    attributes_.push_back({path, attributes});
  }
  // Runs the passes over a list with `text`; returns how many passes were made.
  int Passes(const std::string& text, test_support::Caller caller = {}) {
    test_support::CallerTrace trace(caller);
    for (const auto& [path, attributes] : attributes_) SetFileAttributesA(path.c_str(), attributes);
    if (list_ != nullptr) fclose(list_);
    WriteFileBytes(folder_ + "Uninstall.lst", text);
    list_ = fopen((folder_ + "Uninstall.lst").c_str(), "rb");
    EXPECT_NE(nullptr, list_);
    return list_ == nullptr ? 0 : RunDeletionPasses(list_, folder_.c_str());
  }

  std::string root_;
  std::string folder_;
  FILE* list_ = nullptr;
  std::vector<std::pair<std::string, DWORD>> attributes_;
};

TEST_F(DeletionPasses, FoldersListedBeforeTheirFilesGoInLaterPasses) {
  MakeFolder("a");
  MakeFolder("a\\b", FILE_ATTRIBUTE_READONLY);
  MakeFile(folder_ + "a\\b\\f.txt", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  MakeFile(folder_ + "top.txt", FILE_ATTRIBUTE_READONLY);
  // Pass 1 deletes the files, 2 the inner folder, 3 the outer one, 4 nothing.
  EXPECT_EQ(4, Passes("a\r\na\\b\na\\b\\f.txt \t\r\n\r\ntop.txt"));
  for (const char* name : {"a", "top.txt"}) EXPECT_FALSE(FileExists(folder_ + name)) << name;
  EXPECT_TRUE(FileExists(folder_ + "Uninstall.lst"));
}

TEST_F(DeletionPasses, AListOfMissingEntriesTakesOnePass) {
  EXPECT_EQ(1, Passes("missing.txt\r\nmissing\\deeper.txt\r\n"));
  EXPECT_EQ(1, Passes(""));
}

TEST_F(DeletionPasses, AFolderThatHoldsUnlistedFilesStays) {
  MakeFolder("data");
  MakeFile(folder_ + "data\\listed.txt");
  MakeFile(folder_ + "data\\users own.txt");
  EXPECT_EQ(2, Passes("data\r\ndata\\listed.txt\r\n"));
  EXPECT_FALSE(FileExists(folder_ + "data\\listed.txt"));
  EXPECT_TRUE(FileExists(folder_ + "data\\users own.txt"));
}

TEST_F(DeletionPasses, NothingOutsideTheFolderIsTouched) {
  MakeFile(root_ + "outside.txt", FILE_ATTRIBUTE_READONLY);
  MakeFolder("inside");
  std::string absolute = root_ + "outside.txt";
  EXPECT_EQ(1, Passes("..\\outside.txt\r\ninside\\..\\..\\outside.txt\r\n" + absolute + "\r\n\\\\?\\" +
                      absolute + "\r\n..\r\n.\\..\r\ninside\\.. \r\n"));
  EXPECT_TRUE(FileExists(root_ + "outside.txt"));
  EXPECT_TRUE(FileExists(folder_ + "inside"));
}

TEST_F(DeletionPasses, HelpIndexFilesGoFromTheCurrentDirectory) {
  MakeFile(folder_ + "zendra.gid", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  MakeFile(folder_ + "zendra.fts", FILE_ATTRIBUTE_SYSTEM);
  MakeFile(folder_ + "zendra.hlp", FILE_ATTRIBUTE_READONLY);
  for (const auto& [path, attributes] : attributes_) SetFileAttributesA(path.c_str(), attributes);
  const std::string saved = CurrentFolder();
  ASSERT_TRUE(SetCurrentDirectoryA(folder_.c_str()));
  DeleteHelpIndexFiles();
  DeleteHelpIndexFiles();  // a second time finds nothing, silently
  SetCurrentDirectoryA(saved.c_str());
  EXPECT_EQ(std::vector<std::string>{folder_ + "zendra.hlp"},
            Existing({folder_ + "zendra.gid", folder_ + "zendra.fts", folder_ + "zendra.hlp"}));
}

}  // namespace
