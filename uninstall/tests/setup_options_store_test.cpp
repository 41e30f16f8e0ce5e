// The stored setup choices in Wine's registry: defaults, the ISO rule, values written
// and read back, and the context-menu items.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "setup/SetupOptionsStore.h"
#include "tests/integration_support.h"

using namespace uninstall_test;

namespace {

const std::string kProduct = kProductKey;

// The flags as digits: twelve associations, a blank, six interface flags.
std::string Describe(const SetupOptions& options) {
  std::string text;
  for (bool on : options.associations) text += on ? '1' : '0';
  text += ' ';
  for (bool on : {options.desktopShortcut, options.startMenuShortcut, options.programGroup,
                  options.shellIntegration, options.cascadedMenu, options.menuIcons}) {
    text += on ? '1' : '0';
  }
  return text;
}

void SetIsoOwner(const char* owner) {
  RawDeleteTree(HKEY_CLASSES_ROOT, ".iso");
  if (owner != nullptr) RawSetText(HKEY_CLASSES_ROOT, ".iso", "", owner);
}

class SetupOptionsStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RawDeleteTree(HKEY_CURRENT_USER, kProduct);
    SetIsoOwner(nullptr);
  }
  void TearDown() override { SetUp(); }
};

TEST_F(SetupOptionsStoreTest, NothingStoredGivesTheDefaults) {
  EXPECT_EQ("111111111111 001101", Describe(ReadSetupOptions()));
  EXPECT_FALSE(RawKeyExists(HKEY_CURRENT_USER, kProduct)) << "reading writes nothing";
}

TEST_F(SetupOptionsStoreTest, IsoIsClearedOnlyWhileAnotherProgramOwnsIt) {
  const struct {
    const char* owner;  // null: no .iso key at all
    bool iso;
  } cases[] = {
      {nullptr, true}, {"", true}, {"OtherBurner.Image", false}, {"Zendra", true}, {"zendra.zip", true},
  };
  for (const auto& c : cases) {
    SetIsoOwner(c.owner);
    EXPECT_EQ(c.iso, ReadSetupOptions().associations[kGroupIso]) << (c.owner ? c.owner : "(no key)");
  }
  // A choice stored by someone under Setup\.iso is read like the others.
  SetIsoOwner(nullptr);
  RawSetNumber(HKEY_CURRENT_USER, kProduct + "\\Setup\\.iso", "Set", 0);
  EXPECT_FALSE(ReadSetupOptions().associations[kGroupIso]);
}

TEST_F(SetupOptionsStoreTest, StoreWritesElevenChoicesAndTheInterfaceFlagsThatReadBack) {
  SetupOptions options = Taking({kGroupKzp, kGroupCab, kGroupArj, kGroupAce, kGroupUue, kGroupJar}, false);
  options.desktopShortcut = true;
  options.cascadedMenu = true;
  StoreSetupOptions(options);

  Snapshot expected = {{"|(key)", {REG_NONE, ""}},
                       {"\\Setup|(key)", {REG_NONE, ""}},
                       {"\\Setup\\Links|(key)", {REG_NONE, ""}}};
  const char* firstExtensions[] = {".kzp", ".zip", ".cab", ".arj", ".lzh", ".ace",
                                   ".tar", ".gz",  ".uue", ".bz2", ".jar"};
  for (int i = 0; i < 11; ++i) {
    const std::string key = "\\Setup\\" + std::string(firstExtensions[i]);
    expected[key + "|(key)"] = {REG_NONE, ""};
    expected[key + "|Set"] = {REG_DWORD, DwordBytes(options.associations[i])};
  }
  const std::pair<const char*, DWORD> interfaceFlags[] = {
      {"\\Setup\\Links|Desktop", 1}, {"\\Setup\\Links|StartMenu", 0}, {"\\Setup\\Links|Programs", 0},
      {"\\Setup|ShellExt", 0},       {"\\Setup|CascadedMenu", 1},     {"\\Setup|MenuIcons", 0}};
  for (const auto& [name, number] : interfaceFlags) expected[name] = {REG_DWORD, DwordBytes(number)};
  EXPECT_EQ(expected, TakeSnapshot(HKEY_CURRENT_USER, kProduct));

  // ISO is not stored: it reads as on again while nobody else owns .iso.
  EXPECT_EQ("101101001011 100010", Describe(ReadSetupOptions()));
}

TEST_F(SetupOptionsStoreTest, AnyNonZeroStoredNumberMeansOn) {
  RawSetNumber(HKEY_CURRENT_USER, kProduct + "\\Setup\\Links", "Desktop", 7);
  RawSetNumber(HKEY_CURRENT_USER, kProduct + "\\Setup\\.tar", "Set", 0);
  EXPECT_EQ("111111011111 101101", Describe(ReadSetupOptions()));
}

TEST_F(SetupOptionsStoreTest, MenuItemsDefaultToShownAndReadBackAsStored) {
  MenuItems items = ReadMenuItems();
  for (bool shown : items.shown) EXPECT_TRUE(shown);

  for (int i = 0; i < kMenuItemCount; ++i) items.shown[i] = i % 3 != 1;
  StoreMenuItems(items);
  Snapshot expected = {{"|(key)", {REG_NONE, ""}}};
  for (int i = 0; i < kMenuItemCount; ++i)
    expected["|" + std::string(kMenuItemNames[i])] = {REG_DWORD, DwordBytes(i % 3 != 1)};
  EXPECT_EQ(expected, TakeSnapshot(HKEY_CURRENT_USER, kProduct + "\\Setup\\MenuItems"));
  MenuItems read = ReadMenuItems();
  for (int i = 0; i < kMenuItemCount; ++i) EXPECT_EQ(i % 3 != 1, read.shown[i]) << kMenuItemNames[i];
}

}  // namespace
