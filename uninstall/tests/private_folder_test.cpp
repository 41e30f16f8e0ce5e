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

// The folder's owner-independent rights (and label, if any) in the string form.
std::string SecurityText(const std::string& path) {
  const SECURITY_INFORMATION parts = DACL_SECURITY_INFORMATION | LABEL_SECURITY_INFORMATION;
  char descriptor[4096];
  DWORD size = 0;
  char* text = nullptr;
  if (!GetFileSecurityA(path.c_str(), parts, descriptor, sizeof descriptor, &size) ||
      !ConvertSecurityDescriptorToStringSecurityDescriptorA(descriptor, SDDL_REVISION_1, parts, &text,
                                                            nullptr))
    return "<unreadable>";
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
  const std::string rights = SecurityText(first);
  EXPECT_EQ(0u, rights.find("D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;FA;;;S-1-5-")) << rights;

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
