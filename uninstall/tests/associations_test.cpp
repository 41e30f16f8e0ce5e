// Associations taken and given back against Wine's registry, in a prefix of its own.
#include <windows.h>

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "integration/Associations.h"
#include "integration/ProgramFolder.h"
#include "tests/integration_support.h"

using namespace uninstall_test;

namespace {

const std::string kBackups = "Software\\Zendra\\Setup\\";

// The backup of an extension's previous owner: "Exist|Type|Content|ShellNew".
std::string Backup(const std::string& extension) {
  const std::string key = kBackups + extension;
  return std::to_string(ReadNumber(HKEY_CURRENT_USER, key, "Exist")) + "|" +
         ReadText(HKEY_CURRENT_USER, key, "Type") + "|" + ReadText(HKEY_CURRENT_USER, key, "Content") + "|" +
         ReadText(HKEY_CURRENT_USER, key, "ShellNew");
}

using AssociationsTest = IntegrationTest;

TEST_F(AssociationsTest, ExtensionWithoutKeyIsRecordedAsMissingAndDeletedWhenGivenBack) {
  ASSERT_FALSE(RawKeyExists(HKEY_CLASSES_ROOT, ".kzp"));
  SetAssociations(Taking({kGroupKzp}, true));
  EXPECT_EQ("Zendra", ReadText(HKEY_CLASSES_ROOT, ".kzp", ""));
  EXPECT_EQ("0|||", Backup(".kzp"));
  ASSERT_TRUE(RawKeyExists(HKEY_CLASSES_ROOT, ".kzp\\ShellNew"));

  SetAssociations(SetupOptions{});
  EXPECT_FALSE(RawKeyExists(HKEY_CLASSES_ROOT, ".kzp\\ShellNew"));
  EXPECT_FALSE(RawKeyExists(HKEY_CLASSES_ROOT, ".kzp"));
  for (int n = 0; n < 100; ++n) EXPECT_FALSE(RawKeyExists(HKEY_CLASSES_ROOT, Volume(n))) << Volume(n);
  EXPECT_TRUE(RawKeyExists(HKEY_CURRENT_USER, kBackups + ".kzp")) << "the backup outlives the give-back";
}

TEST_F(AssociationsTest, PreviousOwnersReturnExactly) {
  // .zip: a content type and a New-menu entry by NullFile; .kzp: by FileName; .lha:
  // a bare class, the second extension of its group.
  RawSetText(HKEY_CLASSES_ROOT, ".zip", "", "OtherArchiver.Zip");
  RawSetText(HKEY_CLASSES_ROOT, ".zip", "Content Type", "application/x-zip-compressed");
  RawSetText(HKEY_CLASSES_ROOT, ".zip\\ShellNew", "NullFile", "");
  RawSetText(HKEY_CLASSES_ROOT, ".kzp", "", "OtherArchiver.Kzp");
  RawSetText(HKEY_CLASSES_ROOT, ".kzp", "Content Type", "application/x-kzp");
  RawSetText(HKEY_CLASSES_ROOT, ".kzp\\ShellNew", "FileName", "C:\\Other\\new.kzp");
  RawSetText(HKEY_CLASSES_ROOT, ".lha", "", "OtherArchiver.Lha");
  const std::vector<RegistryPlace> owned = {
      {HKEY_CLASSES_ROOT, ".zip"}, {HKEY_CLASSES_ROOT, ".kzp"}, {HKEY_CLASSES_ROOT, ".lha"}};
  const Snapshot before = TakeSnapshot(owned);

  SetAssociations(Taking({kGroupKzp, kGroupZip, kGroupLzh}, true));
  EXPECT_EQ("Zendra.ZIP, Zendra, Zendra", ClassesOf({".zip", ".kzp", ".lha"}));
  EXPECT_EQ("<none>", ReadText(HKEY_CLASSES_ROOT, ".zip", "Content Type"));
  EXPECT_EQ("<none>", ReadText(HKEY_CLASSES_ROOT, ".zip\\ShellNew", "NullFile"));
  EXPECT_EQ(folder_ + "\\zipnew.dat", ReadText(HKEY_CLASSES_ROOT, ".zip\\ShellNew", "FileName"));
  EXPECT_EQ(folder_ + "\\kzpnew.dat", ReadText(HKEY_CLASSES_ROOT, ".kzp\\ShellNew", "FileName"));

  EXPECT_EQ("1|OtherArchiver.Zip|application/x-zip-compressed|*", Backup(".zip"));
  EXPECT_EQ("1|OtherArchiver.Kzp|application/x-kzp|C:\\Other\\new.kzp", Backup(".kzp"));
  EXPECT_EQ("1|OtherArchiver.Lha||", Backup(".lha"));

  SetAssociations(SetupOptions{});
  EXPECT_EQ(before, TakeSnapshot(owned));
  // The volumes go to the previous owner of .kzp, all hundred of them.
  for (int n = 0; n < 100; ++n) {
    EXPECT_EQ("OtherArchiver.Kzp", ReadText(HKEY_CLASSES_ROOT, Volume(n), "")) << Volume(n);
    EXPECT_EQ("application/x-kzp", ReadText(HKEY_CLASSES_ROOT, Volume(n), "Content Type")) << Volume(n);
  }
}

TEST_F(AssociationsTest, SecondSetupKeepsTheFirstBackup) {
  RawSetText(HKEY_CLASSES_ROOT, ".cab", "", "OtherCab");
  RawSetText(HKEY_CLASSES_ROOT, ".cab", "Content Type", "application/vnd.ms-cab-compressed");
  SetAssociations(Taking({kGroupCab}, false));
  SetAssociations(Taking({kGroupCab}, false));
  EXPECT_EQ("1|OtherCab|application/vnd.ms-cab-compressed|", Backup(".cab"));

  SetAssociations(SetupOptions{});
  EXPECT_EQ("OtherCab", ReadText(HKEY_CLASSES_ROOT, ".cab", ""));
  EXPECT_EQ("application/vnd.ms-cab-compressed", ReadText(HKEY_CLASSES_ROOT, ".cab", "Content Type"));
}

TEST_F(AssociationsTest, ExtensionTakenByAnotherProgramSinceIsLeftAlone) {
  RawSetText(HKEY_CLASSES_ROOT, ".ace", "", "OtherAce");
  SetAssociations(Taking({kGroupAce, kGroupKzp}, false));
  RawSetText(HKEY_CLASSES_ROOT, ".ace", "", "ThirdProgram.Ace");
  RawSetText(HKEY_CLASSES_ROOT, ".ace", "Content Type", "application/x-third");
  RawSetText(HKEY_CLASSES_ROOT, ".kzp", "", "ThirdProgram.Kzp");
  const std::vector<RegistryPlace> owned = {{HKEY_CLASSES_ROOT, ".ace"}, {HKEY_CLASSES_ROOT, ".kzp"}};
  const Snapshot before = TakeSnapshot(owned);

  SetAssociations(SetupOptions{});
  EXPECT_EQ(before, TakeSnapshot(owned));
  EXPECT_EQ("Zendra", ReadText(HKEY_CLASSES_ROOT, ".k00", "")) << "the volumes follow .kzp";
}

TEST_F(AssociationsTest, ArchiverClassInTheBackupRestoresAnEmptyClass) {
  // Backups that name the archiver in any letter case, and an extension without any
  // backup: each keeps its key with an empty class.
  for (const char* extension : {".tar", ".gz", ".tgz"})
    RawSetText(HKEY_CLASSES_ROOT, extension, "", "Zendra");
  RawSetNumber(HKEY_CURRENT_USER, kBackups + ".tar", "Exist", 1);
  RawSetText(HKEY_CURRENT_USER, kBackups + ".tar", "Type", "zENDRA");
  RawSetText(HKEY_CURRENT_USER, kBackups + ".tar", "Content", "application/x-tar");
  RawSetText(HKEY_CURRENT_USER, kBackups + ".gz", "Type", "ZENDRA.zip");

  SetAssociations(SetupOptions{});
  EXPECT_EQ("", ReadText(HKEY_CLASSES_ROOT, ".tar", ""));
  EXPECT_EQ("application/x-tar", ReadText(HKEY_CLASSES_ROOT, ".tar", "Content Type"));
  EXPECT_EQ("", ReadText(HKEY_CLASSES_ROOT, ".gz", ""));
  EXPECT_EQ("", ReadText(HKEY_CLASSES_ROOT, ".tgz", ""));
  EXPECT_FALSE(IsOwnAssociation(".tar"));
}

TEST_F(AssociationsTest, ThirtyVolumesOnTheNtFamilyAndAHundredGivenBack) {
  RawSetText(HKEY_CLASSES_ROOT, ".k05", "Content Type", "application/x-other");
  SetAssociations(Taking({kGroupKzp}, false));
  for (int n = 0; n < 30; ++n) EXPECT_EQ("Zendra", ReadText(HKEY_CLASSES_ROOT, Volume(n), "")) << Volume(n);
  EXPECT_EQ("<none>", ReadText(HKEY_CLASSES_ROOT, ".k05", "Content Type"));
  EXPECT_FALSE(RawKeyExists(HKEY_CLASSES_ROOT, ".k30"));

  // Volumes left by a setup on an older system go as well.
  for (int n = 30; n < 100; ++n) RawSetText(HKEY_CLASSES_ROOT, Volume(n), "", "Zendra");
  SetAssociations(SetupOptions{});
  for (int n = 0; n < 100; ++n) EXPECT_FALSE(RawKeyExists(HKEY_CLASSES_ROOT, Volume(n))) << Volume(n);
}

TEST_F(AssociationsTest, WithoutExplorerIntegrationTheNewMenuIsNotTouched) {
  RawSetText(HKEY_CLASSES_ROOT, ".zip", "", "OtherArchiver.Zip");
  RawSetText(HKEY_CLASSES_ROOT, ".zip\\ShellNew", "FileName", "C:\\Other\\empty.zip");
  Snapshot zipShellNew = TakeSnapshot(HKEY_CLASSES_ROOT, ".zip\\ShellNew");
  SetAssociations(Taking({kGroupKzp, kGroupZip}, false));
  EXPECT_EQ("Zendra.ZIP", ReadText(HKEY_CLASSES_ROOT, ".zip", ""));
  EXPECT_EQ(zipShellNew, TakeSnapshot(HKEY_CLASSES_ROOT, ".zip\\ShellNew"));
  EXPECT_FALSE(RawKeyExists(HKEY_CLASSES_ROOT, ".kzp\\ShellNew"));
  EXPECT_EQ(std::vector<std::string>{}, Existing({folder_ + "\\kzpnew.dat", folder_ + "\\zipnew.dat"}));
}

TEST_F(AssociationsTest, EachGroupTakesExactlyItsExtensions) {
  // The extensions each group takes, and the class they then name.
  const char* const expected[] = {".kzp", ".zip", ".cab",     ".arj",          ".lzh .lha",
                                  ".ace", ".tar", ".gz .tgz", ".uue .xxe .uu", ".bz2 .tbz2 .bz .tbz",
                                  ".jar", ".iso"};
  ASSERT_EQ(static_cast<size_t>(kAssociationGroupCount), std::size(expected));
  for (int group = 0; group < kAssociationGroupCount; ++group) {
    SCOPED_TRACE(AssociationGroups[group].name);
    SetAssociations(Taking({group}, false));
    std::string taken;
    for (const char* extension : kArchiverExtensions) {
      if (!IsOwnAssociation(extension)) continue;
      taken += (taken.empty() ? "" : " ") + std::string(extension);
      EXPECT_EQ(group == kGroupZip ? "Zendra.ZIP" : "Zendra", ReadText(HKEY_CLASSES_ROOT, extension, ""));
    }
    EXPECT_EQ(expected[group], taken);
    SetAssociations(SetupOptions{});
    for (const char* extension : kArchiverExtensions) EXPECT_FALSE(IsOwnAssociation(extension)) << extension;
  }
}

TEST_F(AssociationsTest, OwnAssociationIgnoresLetterCaseOnly) {
  RawSetText(HKEY_CLASSES_ROOT, ".arj", "", "zendra.zip");
  RawSetText(HKEY_CLASSES_ROOT, ".ace", "", "ZENDRA");
  RawSetText(HKEY_CLASSES_ROOT, ".cab", "", "Zendra.REV");
  RawSetText(HKEY_CLASSES_ROOT, ".tar", "", "ZendraX");
  EXPECT_TRUE(IsOwnAssociation(".arj"));
  EXPECT_TRUE(IsOwnAssociation(".ace"));
  EXPECT_FALSE(IsOwnAssociation(".cab"));
  EXPECT_FALSE(IsOwnAssociation(".tar"));
  EXPECT_FALSE(IsOwnAssociation(".iso")) << "no key at all";
}

TEST_F(AssociationsTest, ClassTableNamesTheArchiverQuoted) {
  RegisterProgIds();
  const std::string archiver = folder_ + "\\Zendra.exe";
  const std::string command = "\"" + archiver + "\" \"%1\"";
  EXPECT_EQ(Ansi(u8"Zendra 压缩文件"), ReadText(HKEY_CLASSES_ROOT, "Zendra", ""));
  EXPECT_EQ(command, ReadText(HKEY_CLASSES_ROOT, "Zendra\\shell\\open\\command", ""));
  EXPECT_EQ(archiver + ",0", ReadText(HKEY_CLASSES_ROOT, "Zendra\\DefaultIcon", ""));
  EXPECT_EQ(Ansi(u8"Zendra ZIP 压缩文件"), ReadText(HKEY_CLASSES_ROOT, "Zendra.ZIP", ""));
  EXPECT_EQ(command, ReadText(HKEY_CLASSES_ROOT, "Zendra.ZIP\\shell\\open\\command", ""));
  EXPECT_EQ(archiver + ",0", ReadText(HKEY_CLASSES_ROOT, "Zendra.ZIP\\DefaultIcon", ""));
  EXPECT_EQ("Zendra.REV", ReadText(HKEY_CLASSES_ROOT, ".rev", ""));
  EXPECT_EQ(Ansi(u8"KZP 恢复卷"), ReadText(HKEY_CLASSES_ROOT, "Zendra.REV", ""));
  EXPECT_EQ(command, ReadText(HKEY_CLASSES_ROOT, "Zendra.REV\\shell\\open\\command", ""));
  EXPECT_EQ(archiver + ",1", ReadText(HKEY_CLASSES_ROOT, "Zendra.REV\\DefaultIcon", ""));
}

TEST_F(AssociationsTest, TemplateFilesHoldEmptyArchivesAndAreNeverRewritten) {
  SetAssociations(Taking({kGroupKzp, kGroupZip}, true));
  EXPECT_EQ(ExpectedTemplate(true), ReadFileBytes(folder_ + "\\kzpnew.dat"));
  EXPECT_EQ(ExpectedTemplate(false), ReadFileBytes(folder_ + "\\zipnew.dat"));

  WriteFileBytes(folder_ + "\\zipnew.dat", "kept as it is");
  SetAssociations(Taking({kGroupKzp, kGroupZip}, true));
  EXPECT_EQ("kept as it is", ReadFileBytes(folder_ + "\\zipnew.dat"));
  EXPECT_EQ(folder_ + "\\zipnew.dat", ReadText(HKEY_CLASSES_ROOT, ".zip\\ShellNew", "FileName"));
}

TEST_F(AssociationsTest, ProgramFolderTooLongForAFileNameIsSkippedNotCut) {
  // The module path fits a path buffer, the folder with "kzpnew.dat" does not.
  std::string longFolder = "C:\\" + std::string(1012, 'a');
  OverrideProgramPath((longFolder + "\\u.exe").c_str());
  SetAssociations(Taking({kGroupKzp}, true));
  EXPECT_EQ("Zendra", ReadText(HKEY_CLASSES_ROOT, ".kzp", ""));
  EXPECT_EQ("<none>", ReadText(HKEY_CLASSES_ROOT, ".kzp\\ShellNew", "FileName"));
  RegisterProgIds();
  EXPECT_EQ(Ansi(u8"Zendra 压缩文件"), ReadText(HKEY_CLASSES_ROOT, "Zendra", ""));
  EXPECT_FALSE(RawKeyExists(HKEY_CLASSES_ROOT, "Zendra\\shell\\open\\command"));
}

TEST(ProgramFile, HoldsNoCompleteArchiveSignature) {
  char path[MAX_PATH];
  ASSERT_GT(GetModuleFileNameA(nullptr, path, MAX_PATH), 0u);
  std::string image = ReadFileBytes(path);
  ASSERT_GT(image.size(), 10000u);
  EXPECT_EQ(std::string::npos, image.find(ExpectedTemplate(true).substr(0, 7)));
  EXPECT_EQ(std::string::npos, image.find(ExpectedTemplate(false).substr(0, 4)));
}

}  // namespace
