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

// A security descriptor's rights and label in the string form.
std::string SecurityText(PSECURITY_DESCRIPTOR descriptor) {
  const SECURITY_INFORMATION parts = DACL_SECURITY_INFORMATION | LABEL_SECURITY_INFORMATION;
  char* text = nullptr;
  if (descriptor == nullptr || !ConvertSecurityDescriptorToStringSecurityDescriptorA(
                                   descriptor, SDDL_REVISION_1, parts, &text, nullptr))
    return "<none>";
  std::string result = text;
  LocalFree(text);
  return result;
}

TEST(PrivateFolder, NewNamesOnlyAndRightsForTheSystemTheAdministratorsAndTheUser) {
  const std::string parent =
      MakeScratchFolder(TempFolder(), "private-folder-" + std::to_string(GetCurrentProcessId()));
  PrivateSecurity security;
  char first[MAX_PATH], second[MAX_PATH];
  ASSERT_TRUE(MakePrivateFolder(parent.c_str(), security, first, sizeof first));
  ASSERT_TRUE(MakePrivateFolder(parent.c_str(), security, second, sizeof second));
  EXPECT_NE(std::string(first), second);
  EXPECT_EQ(parent.size() + 8, std::string(first).size());
  EXPECT_EQ(0u, std::string(first).find(parent + "Kzp"));
  // What the folder is made with (Wine keeps no descriptors of files on every file system).
  const std::string rights = SecurityText(security.Attributes()->lpSecurityDescriptor);
  EXPECT_EQ(0u, rights.find("D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;FA;;;S-1-5-")) << rights;
  // Processes of lower integrity are kept out when the program runs at high integrity or above.
  const std::string user = "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;FA;;;S-1-5-21-1-2-3-1000)";
  const struct {
    const char* level;  // empty before Vista
    bool labelled;
  } levels[] = {{"", false}, {"S-1-16-8192", false}, {"S-1-16-12288", true}, {"S-1-16-16384", true}};
  for (const auto& c : levels)
    EXPECT_EQ(user + (c.labelled ? "S:(ML;OICI;NW;;;HI)" : ""),
              PrivateSecurityText("S-1-5-21-1-2-3-1000", c.level))
        << c.level;
  // The system reads the labelled form too.
  PSECURITY_DESCRIPTOR labelled = nullptr;
  EXPECT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(
      PrivateSecurityText("S-1-5-21-1-2-3-1000", "S-1-16-12288").c_str(), SDDL_REVISION_1, &labelled,
      nullptr));
  LocalFree(labelled);

  // A name that exists is passed over, another error ends the search; a path too long makes nothing.
  int calls = 0;
  auto taken = [](const char*, void* count) {
    SetLastError(++*static_cast<int*>(count) < 3 ? ERROR_ALREADY_EXISTS : ERROR_ACCESS_DENIED);
    return false;
  };
  char path[MAX_PATH] = "sentinel";
  EXPECT_FALSE(MakeNewName(parent.c_str(), ".Bat", path, sizeof path, taken, &calls));
  EXPECT_EQ(3, calls);
  EXPECT_STREQ("", path);
  EXPECT_FALSE(MakeNewName(parent.c_str(), ".Bat", path, parent.size() + 8, taken, &calls));
  EXPECT_EQ(3, calls);

  // A file (or a link) at the name is never written through.
  const std::string existing = parent + "existing.bat";
  WriteFileBytes(existing, "kept");
  EXPECT_FALSE(CreateNewFile(existing.c_str(), nullptr).IsValid());
  EXPECT_EQ("kept", ReadFileBytes(existing));
  RemoveFolder(parent);
}

}  // namespace
