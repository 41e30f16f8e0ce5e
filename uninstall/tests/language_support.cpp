#include "tests/language_support.h"

#ifdef _WIN32
#include <windows.h>

#include "language/ExtResource.h"
#include "test_files.h"
#endif

namespace uninstall_test {

std::string Key(const std::string& text, const char* section, TranslationCategory category) {
  char key[LanguageResources::kKeyLength + 1];
  LanguageResources::MakeKey(text.c_str(), section, category, key);
  return key;
}

std::string Entry(const std::string& text, const std::string& translation, const char* section,
                  TranslationCategory category) {
  return Key(text, section, category) + "=\"" + translation + "\"\r\n";
}

#ifdef _WIN32

void LanguageStateTest::SetUp() {
  extResource.Load(GetModuleHandleA(nullptr), "Z:\\no\\such\\folder\\uninstall.exe");
  languageResources.Clear();
  languageResources.rightToLeft = false;
  folder_ = test_support::MakeScratchFolder(test_support::TempFolder(),
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name() +
                                                std::string("-") + std::to_string(GetCurrentProcessId()));
}

void LanguageStateTest::TearDown() {
  extResource.Unload();
  languageResources.Clear();
  for (const std::string& file : files_) DeleteFileA(file.c_str());
  test_support::RemoveFolder(folder_);
}

void LanguageStateTest::LoadLibraryBeside(const char* variant, test_support::Caller caller) {
  test_support::CallerTrace trace(caller);
  extResource.Load(GetModuleHandleA(nullptr),
                   (test_support::ProgramFolder() + "lang-" + variant + "\\uninstall.exe").c_str());
  EXPECT_TRUE(extResource.loaded);
}

std::string LanguageStateTest::Write(const std::string& name, const std::string& bytes) {
  std::string path = name.find('\\') == std::string::npos ? folder_ + name : name;
  test_support::WriteFileBytes(path, bytes);
  files_.push_back(path);
  return path;
}

void LanguageStateTest::LoadLanguageFile(const std::string& entries, test_support::Caller caller) {
  test_support::CallerTrace trace(caller);
  languageResources.Load(Write("uninstall.lng", kMarkerLine + entries).c_str());
  EXPECT_TRUE(languageResources.IsLoaded());
}

#endif

}  // namespace uninstall_test
