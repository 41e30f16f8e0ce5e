#include "tests/LanguageTestSupport.h"

#include "language/ExtResource.h"

namespace language_test {

std::string Gbk(const std::string& utf8) {
  int wideLength = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
  std::wstring wide(wideLength, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, &wide[0], wideLength);
  int length = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string text(length, '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, &text[0], length, nullptr, nullptr);
  text.resize(length - 1);
  return text;
}

std::string ProgramFolder() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, sizeof path);
  std::string folder = path;
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

std::string WindowsPath(const std::string& unixPath) {
  std::string path = "Z:" + unixPath;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

std::string MakeScratchFolder(const std::string& name) {
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  std::string folder = std::string(temp) + name + "-" + std::to_string(GetCurrentProcessId()) + "\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

std::string Key(const std::string& text, const char* section, TranslationCategory category) {
  char key[LanguageResources::kKeyLength + 1];
  LanguageResources::MakeKey(text.c_str(), section, category, key);
  return key;
}

std::string Entry(const std::string& text, const std::string& translation, const char* section,
                  TranslationCategory category) {
  return Key(text, section, category) + "=\"" + translation + "\"\r\n";
}

void LanguageStateTest::SetUp() {
  extResource.Load(GetModuleHandleA(nullptr), "Z:\\no\\such\\folder\\uninstall.exe");
  languageResources.Clear();
  languageResources.rightToLeft = false;
  folder_ = MakeScratchFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
}

void LanguageStateTest::TearDown() {
  extResource.Unload();
  languageResources.Clear();
  for (const std::string& file : files_) DeleteFileA(file.c_str());
  RemoveDirectoryA(folder_.c_str());
}

void LanguageStateTest::LoadLibraryBeside(const char* variant) {
  extResource.Load(GetModuleHandleA(nullptr),
                   (ProgramFolder() + "lang-" + variant + "\\uninstall.exe").c_str());
}

std::string LanguageStateTest::Write(const std::string& name, const std::string& bytes) {
  std::string path = name.find('\\') == std::string::npos ? folder_ + name : name;
  WriteBytes(path, bytes);
  files_.push_back(path);
  return path;
}

void LanguageStateTest::LoadLanguageFile(const std::string& entries) {
  languageResources.Load(Write("uninstall.lng", kMarkerLine + entries).c_str());
}

}  // namespace language_test
