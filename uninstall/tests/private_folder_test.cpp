// The self-removal batch's place: new names only, never what stands at a name, and a
// folder that only the system, the administrators and this user may open.
#include <windows.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <string>

#include "remove/PrivateFolder.h"
#include "test_files.h"

using namespace test_support;

namespace {

TEST(PrivateFolder, NewNamesOnlyAndRightsForTheSystemTheAdministratorsAndTheUser) {
  const std::string parent =
      MakeScratchFolder(TempFolder(), "private-folder-" + std::to_string(GetCurrentProcessId()));
  PrivateSecurity security;
  char first[MAX_PATH], second[MAX_PATH];
  ASSERT_TRUE(MakePrivateFolder(parent.c_str(), security, first, sizeof first));
  ASSERT_TRUE(MakePrivateFolder(parent.c_str(), security, second, sizeof second));
  EXPECT_NE(std::string(first), second);
  EXPECT_EQ(parent + "Kzp", std::string(first).substr(0, parent.size() + 3));
  EXPECT_EQ(parent.size() + 8, std::string(first).size());

  // Processes of lower integrity are kept out when the program runs at high integrity or above (Vista on).
  const std::string rights = "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;FA;;;S-1-5-21-1-2-3-1000)";
  const char* const levels[] = {"", "S-1-16-8192", "S-1-16-12288", "S-1-16-16384"};
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(rights + (i >= 2 ? "S:(ML;OICI;NW;;;HI)" : ""),
              PrivateSecurityText("S-1-5-21-1-2-3-1000", levels[i]));
  PSECURITY_DESCRIPTOR labelled = nullptr;
  EXPECT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(
      PrivateSecurityText("S-1-5-21-1-2-3-1000", levels[2]).c_str(), SDDL_REVISION_1, &labelled, nullptr));
  LocalFree(labelled);

  // A name that exists is passed over, another error ends the search; a path too long makes nothing.
  int calls = 0;
  auto taken = [](const char*, void* count) {
    SetLastError(++*static_cast<int*>(count) < 3 ? ERROR_ALREADY_EXISTS : ERROR_ACCESS_DENIED);
    return false;
  };
  char path[MAX_PATH] = "sentinel";
  EXPECT_FALSE(MakeNewName(parent.c_str(), ".Bat", path, sizeof path, taken, &calls));
  EXPECT_FALSE(MakeNewName(parent.c_str(), ".Bat", path, parent.size() + 8, taken, &calls));
  EXPECT_EQ(3, calls);
  EXPECT_STREQ("", path);

  // A file (or a link) at the name is never written through.
  WriteFileBytes(parent + "existing.bat", "kept");
  EXPECT_FALSE(CreateNewFile((parent + "existing.bat").c_str(), nullptr).IsValid());
  EXPECT_EQ("kept", ReadFileBytes(parent + "existing.bat"));
  RemoveFolder(parent);
}

}  // namespace
