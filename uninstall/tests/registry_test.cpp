// The registry layer on scratch keys of Wine's registry, in a prefix of its own.
#include <windows.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "registry/Registry.h"
#include "test_registry.h"
#include "test_caller.h"

using namespace test_support;

namespace {

const std::string kProduct = "Software\\Zendra";
const std::string kScratch = "RegistryTests";  // below the product key
const std::string kScratchFull = kProduct + "\\" + kScratch;

using Stored = std::pair<DWORD, std::string>;
// A value's type and bytes as stored under the current user.
Stored Raw(const std::string& key, const char* value) {
  std::string data;
  const DWORD type = RawQuery(HKEY_CURRENT_USER, key, value, &data);
  return {type, data};
}

// The full name that MakeKeyName makes of `name`; "<refused>" when it refuses it.
std::string KeyName(HKEY root, const std::string& name) {
  char full[kKeyNameSize];
  return MakeKeyName(root, name.c_str(), full) ? full : "<refused>";
}

using Read = std::pair<bool, std::string>;
// ReadUserString into a buffer of `size` bytes filled with 0x55 beforehand: its result and
// the text it left in the buffer.
Read ReadString(const std::string& key, const char* value, DWORD size, const char* defaultText) {
  std::vector<char> buffer(size, 0x55);
  const bool read = ReadUserString(key.c_str(), value, buffer.data(), size, defaultText);
  return {read, std::string(buffer.begin(), std::find(buffer.begin(), buffer.end(), '\0'))};
}

// Gives everyone the rights of an SDDL text on a key under the current user.
void SetRights(const std::string& key, const char* rights, test_support::Caller caller = {}) {
  test_support::CallerTrace trace(caller);
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  HKEY opened = nullptr;
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(rights, SDDL_REVISION_1, &descriptor, nullptr));
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, WRITE_DAC, &opened));
  EXPECT_EQ(ERROR_SUCCESS, RegSetKeySecurity(opened, DACL_SECURITY_INFORMATION, descriptor));
  RegCloseKey(opened);
  LocalFree(descriptor);
}

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { RawDeleteTree(HKEY_CURRENT_USER, kScratchFull); }
  void TearDown() override {
    RawDeleteTree(HKEY_CURRENT_USER, kScratchFull);
    RawDeleteTree(HKEY_CURRENT_USER, "Software\\ZendraTestOther");
  }
};

TEST_F(RegistryTest, MakeKeyNameUnderTheCurrentUser) {
  EXPECT_EQ("Software\\Zendra\\Setup\\MenuItems", KeyName(HKEY_CURRENT_USER, "Setup\\MenuItems"));
  EXPECT_EQ("Software\\Zendra", KeyName(HKEY_CURRENT_USER, ""));
  EXPECT_EQ("Software\\Other", KeyName(HKEY_CURRENT_USER, "\\Software\\Other"));
  EXPECT_EQ("Zendra\\shell", KeyName(HKEY_CLASSES_ROOT, "Zendra\\shell"));
  EXPECT_EQ("\\x", KeyName(HKEY_LOCAL_MACHINE, "\\x"))
      << "the backslash rule holds under HKEY_CURRENT_USER only";
}

TEST_F(RegistryTest, NamesOf236CharactersAreAcceptedAnd237Refused) {
  std::string name236 = kScratch + "\\" + std::string(236 - kScratch.size() - 1, 'n');
  std::string name237 = name236 + "m";
  ASSERT_EQ(236u, name236.size());
  EXPECT_EQ(kProduct + "\\" + name236, KeyName(HKEY_CURRENT_USER, name236));
  EXPECT_EQ("<refused>", KeyName(HKEY_CURRENT_USER, name237));

  WriteUserDword(name236.c_str(), "Set", 5);
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, name236.c_str()));
  EXPECT_EQ(5u, ReadUserDword(name236.c_str(), "Set", 0));

  // Refused: nothing written, reads give their defaults, the key "does not exist".
  WriteUserDword(name237.c_str(), "Set", 5);
  EXPECT_FALSE(RawKeyExists(HKEY_CURRENT_USER, kProduct + "\\" + name237));
  RawCreateKey(HKEY_CURRENT_USER, kProduct + "\\" + name237);
  ASSERT_TRUE(RawKeyExists(HKEY_CURRENT_USER, kProduct + "\\" + name237));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, name237.c_str()));
  EXPECT_EQ(9u, ReadUserDword(name237.c_str(), "Set", 9));
  DeleteKey(HKEY_CURRENT_USER, name237.c_str());
  EXPECT_TRUE(RawKeyExists(HKEY_CURRENT_USER, kProduct + "\\" + name237));
}

TEST_F(RegistryTest, BackslashRuleUnderTheCurrentUser) {
  WriteUserDword((kScratch + "\\Setup\\MenuItems").c_str(), "ExtrTo", 1);
  EXPECT_EQ(Stored(REG_DWORD, DwordBytes(1)), Raw(kScratchFull + "\\Setup\\MenuItems", "ExtrTo"));
  WriteUserDword("\\Software\\ZendraTestOther", "Value", 7);
  EXPECT_EQ(Stored(REG_DWORD, DwordBytes(7)), Raw("Software\\ZendraTestOther", "Value"));
  EXPECT_EQ(7u, ReadUserDword("\\Software\\ZendraTestOther", "Value", 0));
}

TEST_F(RegistryTest, WritesStoreTypeAndExactBytes) {
  WriteUserString(kScratch.c_str(), "Text", "abc");
  WriteUserString(kScratch.c_str(), "", "default value");
  const unsigned char bytes[] = {0x50, 0x4B, 0x00, 0x06};
  WriteBinary(HKEY_CURRENT_USER, kScratch.c_str(), "Bytes", bytes, sizeof bytes);
  EXPECT_EQ(Stored(REG_SZ, std::string("abc\0", 4)), Raw(kScratchFull, "Text"));
  EXPECT_EQ(Stored(REG_SZ, std::string("default value\0", 14)), Raw(kScratchFull, ""));
  EXPECT_EQ(Stored(REG_BINARY, std::string(reinterpret_cast<const char*>(bytes), 4)),
            Raw(kScratchFull, "Bytes"));
}

TEST_F(RegistryTest, ReadsGiveTheirDefaultsOnMissingKeysAndValues) {
  EXPECT_EQ(Read(false, "fallback"), ReadString(kScratch + "\\Missing", "Type", 32, "fallback"));
  WriteUserString(kScratch.c_str(), "Other", "x");
  EXPECT_EQ(Read(false, ""), ReadString(kScratch, "Type", 32, ""));
  EXPECT_EQ(1u, ReadUserDword((kScratch + "\\Missing").c_str(), "Set", 1));
  EXPECT_EQ(0u, ReadUserDword(kScratch.c_str(), "Set", 0));

  WriteUserString(kScratch.c_str(), "Type", "Zendra");
  EXPECT_EQ(Read(true, "Zendra"), ReadString(kScratch, "Type", 32, "fallback"));
}

TEST_F(RegistryTest, ValuesLargerThanTheBufferReadAsTheDefault) {
  WriteUserString(kScratch.c_str(), "Type", "0123456789");
  EXPECT_EQ(Read(false, "dflt"), ReadString(kScratch, "Type", 8, "dflt"));
  // A default longer than the buffer is cut inside it.
  EXPECT_EQ(Read(false, "lon"), ReadString(kScratch, "Type", 4, "longer default"));
  // A value of another size than a DWORD reads as the default number.
  const unsigned char eight[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  WriteBinary(HKEY_CURRENT_USER, kScratch.c_str(), "Wide", eight, sizeof eight);
  EXPECT_EQ(42u, ReadUserDword(kScratch.c_str(), "Wide", 42));
}

TEST_F(RegistryTest, StringsStoredWithoutTerminatorAreTerminatedInsideTheBuffer) {
  // Stored as four bytes without a terminating zero.
  RawSetValue(HKEY_CURRENT_USER, kScratchFull, "Raw", REG_BINARY, "abcd", 4);
  EXPECT_EQ(Read(true, "abcd"), ReadString(kScratch, "Raw", 16, "x"));
  // Exactly as large as the buffer: terminated in its last byte, nothing written past it.
  char exact[8];
  memset(exact, 0x55, sizeof exact);
  RawSetValue(HKEY_CURRENT_USER, kScratchFull, "Raw5", REG_BINARY, "abcde", 5);
  EXPECT_TRUE(ReadUserString(kScratch.c_str(), "Raw5", exact, 5, "x"));
  EXPECT_STREQ("abcd", exact);
  for (int i = 5; i < 8; ++i) EXPECT_EQ(0x55, exact[i]) << i;
}

TEST_F(RegistryTest, DeleteValueAndDeleteKey) {
  WriteUserString(kScratch.c_str(), "Keep", "1");
  WriteUserString(kScratch.c_str(), "Drop", "2");
  DeleteValue(HKEY_CURRENT_USER, kScratch.c_str(), "Drop");
  EXPECT_EQ(static_cast<DWORD>(REG_NONE), Raw(kScratchFull, "Drop").first);
  EXPECT_EQ(Stored(REG_SZ, std::string("1\0", 2)), Raw(kScratchFull, "Keep"));

  // A key with a subkey stays on the NT family; a leaf goes.
  RawCreateKey(HKEY_CURRENT_USER, kScratchFull + "\\Parent\\Child");
  DeleteKey(HKEY_CURRENT_USER, (kScratch + "\\Parent").c_str());
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, (kScratch + "\\Parent").c_str()));
  DeleteKey(HKEY_CURRENT_USER, (kScratch + "\\Parent\\Child").c_str());
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, (kScratch + "\\Parent\\Child").c_str()));
  DeleteKey(HKEY_CURRENT_USER, (kScratch + "\\Parent").c_str());
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, (kScratch + "\\Parent").c_str()));
}

TEST_F(RegistryTest, CreateAndOpenGiveHandlesOnlyForUsableKeys) {
  EXPECT_FALSE(OpenKeyForRead(HKEY_CURRENT_USER, (kScratch + "\\Missing").c_str()));
  KeyHandle created = CreateKeyForWrite(HKEY_CURRENT_USER, (kScratch + "\\Made").c_str());
  ASSERT_TRUE(created);
  EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(created.Release()));
  KeyHandle opened = OpenKeyForRead(HKEY_CURRENT_USER, (kScratch + "\\Made").c_str());
  ASSERT_TRUE(opened);
  EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(opened.Release()));
  // A full name gets no product key before it; a missing key gives the system's reason.
  LONG result = ERROR_SUCCESS;
  EXPECT_TRUE(OpenFullKey(HKEY_CURRENT_USER, (kScratchFull + "\\Made").c_str(), KEY_READ, &result));
  EXPECT_EQ(ERROR_SUCCESS, result);
  EXPECT_FALSE(OpenFullKey(HKEY_CURRENT_USER, (kScratch + "\\Made").c_str(), KEY_READ, &result));
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, result);
}

TEST_F(RegistryTest, DeleteKeyTreeRemovesWideAndDeepTrees) {
  int wide = MakeTree(HKEY_CURRENT_USER, kScratchFull + "\\Wide", 6, 3);
  ASSERT_EQ(1 + 6 + 36 + 216, wide);
  ASSERT_EQ(41, MakeTree(HKEY_CURRENT_USER, kScratchFull + "\\Deep", 1, 40));
  RawCreateKey(HKEY_CURRENT_USER, kScratchFull + "\\Sibling");

  DeleteKeyTree(HKEY_CURRENT_USER, (kScratch + "\\Wide").c_str());
  DeleteKeyTree(HKEY_CURRENT_USER, (kScratch + "\\Deep").c_str());
  EXPECT_FALSE(RawKeyExists(HKEY_CURRENT_USER, kScratchFull + "\\Wide"));
  EXPECT_FALSE(RawKeyExists(HKEY_CURRENT_USER, kScratchFull + "\\Deep"));
  EXPECT_TRUE(RawKeyExists(HKEY_CURRENT_USER, kScratchFull + "\\Sibling"));
}

TEST_F(RegistryTest, DeleteKeyTreeUnderOtherRootsTakesTheNameAsItIs) {
  const std::string classKey = "ZendraRegistryTestClass";
  const std::string keepKey = "ZendraRegistryTestKeep";
  MakeTree(HKEY_CLASSES_ROOT, classKey, 3, 2);
  RawCreateKey(HKEY_CLASSES_ROOT, keepKey);
  DeleteKeyTree(HKEY_CLASSES_ROOT, classKey.c_str());
  EXPECT_FALSE(RawKeyExists(HKEY_CLASSES_ROOT, classKey));
  // An empty name under another root names nothing and deletes nothing.
  DeleteKeyTree(HKEY_CLASSES_ROOT, "");
  EXPECT_TRUE(RawKeyExists(HKEY_CLASSES_ROOT, keepKey));
  RawDeleteTree(HKEY_CLASSES_ROOT, keepKey);
}

TEST_F(RegistryTest, DeleteKeyTreeOfTheEmptyNameRemovesTheProductKey) {
  MakeTree(HKEY_CURRENT_USER, kScratchFull, 2, 2);
  WriteUserDword("Setup\\.kzp", "Set", 1);
  RawCreateKey(HKEY_CURRENT_USER, "Software\\ZendraTestOther");
  DeleteKeyTree(HKEY_CURRENT_USER, "");
  EXPECT_FALSE(RawKeyExists(HKEY_CURRENT_USER, kProduct));
  EXPECT_TRUE(RawKeyExists(HKEY_CURRENT_USER, "Software\\ZendraTestOther"));
  EXPECT_TRUE(RawKeyExists(HKEY_CURRENT_USER, "Software"));
}

// The nearest existing key answers, by its own rights: an existing key must take values,
// keys and its deletion, the key above a missing one only the new key. A refusal is the
// answer, not a reason to ask the key above.
TEST_F(RegistryTest, CanChangeKeyAsksTheNearestExistingKeyForItsRights) {
  RawCreateKey(HKEY_CURRENT_USER, kScratchFull + "\\Read\\Open");
  RawCreateKey(HKEY_CURRENT_USER, kScratchFull + "\\Make");
  SetRights(kScratchFull + "\\Read", "D:P(A;;KR;;;WD)");
  SetRights(kScratchFull + "\\Make", "D:P(A;;0x2001d;;;WD)");  // read, and make keys
  const std::pair<const char*, bool> kKeys[] = {{"Read", false}, {"Read\\New\\Below", false}, {"Read\\Open\\New", true},
                                                {"Make", false}, {"Make\\New\\Below", true},  {"Other\\New", true}};
  for (const auto& key : kKeys)
    EXPECT_EQ(key.second, CanChangeKey(HKEY_CURRENT_USER, (kScratch + "\\" + key.first).c_str())) << key.first;
  EXPECT_FALSE(CanChangeKey(HKEY_CURRENT_USER, std::string(237, 'n').c_str())) << "a name the layer refuses";
  for (const char* key : {"\\Read", "\\Make"}) SetRights(kScratchFull + key, "D:(A;;KA;;;WD)");
  EXPECT_FALSE(RawKeyExists(HKEY_CURRENT_USER, kScratchFull + "\\Make\\New"));
}

}  // namespace
