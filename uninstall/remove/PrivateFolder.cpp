#include "remove/PrivateFolder.h"

#include <cstdint>
#include <string>

#include "base/SystemLibrary.h"
#include "base/TextHelpers.h"

namespace {

// The security functions came with Windows NT (the string forms with Windows 2000, the
// integrity levels with Vista); Windows 95, 98 and ME lack them, so they are looked up.
using OpenProcessTokenFunction = BOOL(WINAPI*)(HANDLE, DWORD, HANDLE*);
using GetTokenInformationFunction = BOOL(WINAPI*)(HANDLE, TOKEN_INFORMATION_CLASS, void*, DWORD, DWORD*);
using SidToStringFunction = BOOL(WINAPI*)(PSID, char**);
using StringToDescriptorFunction = BOOL(WINAPI*)(const char*, DWORD, PSECURITY_DESCRIPTOR*, ULONG*);

constexpr char kAdvapi[] = "advapi32.dll";
constexpr int kTokenIntegrityLevel = 25;  // TokenIntegrityLevel, Vista and later
constexpr unsigned long kHighIntegrity = 0x3000;
constexpr int kNameTries = 100;
constexpr DWORD kDescriptorRevision = 1;  // SDDL_REVISION_1

// A SID of the process's token (`kind`: TokenUser or the integrity level, whose record
// starts with the SID as well) as a string; empty when the system has no such record.
std::string TokenSid(HANDLE token, int kind) {
  auto getInformation = FindSystemFunction<GetTokenInformationFunction>(kAdvapi, "GetTokenInformation");
  auto toString = FindSystemFunction<SidToStringFunction>(kAdvapi, "ConvertSidToStringSidA");
  if (getInformation == nullptr || toString == nullptr) return "";
  alignas(SID_AND_ATTRIBUTES) unsigned char record[256];
  DWORD size = 0;
  if (!getInformation(token, static_cast<TOKEN_INFORMATION_CLASS>(kind), record, sizeof record, &size))
    return "";
  char* text = nullptr;
  if (!toString(reinterpret_cast<SID_AND_ATTRIBUTES*>(record)->Sid, &text)) return "";
  std::string sid = text;
  LocalFree(text);
  return sid;
}

}  // namespace

std::string PrivateSecurityText(const std::string& user, const std::string& integrity) {
  std::string text = "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;FA;;;" + user + ")";
  // The level is the SID's one number after "S-1-16-".
  const char kLevelPrefix[] = "S-1-16-";
  if (integrity.compare(0, sizeof kLevelPrefix - 1, kLevelPrefix) != 0) return text;
  unsigned long level = 0;
  for (size_t i = sizeof kLevelPrefix - 1;
       i < integrity.size() && i < 16 && integrity[i] >= '0' && integrity[i] <= '9'; ++i)
    level = level * 10 + static_cast<unsigned long>(integrity[i] - '0');
  if (level >= kHighIntegrity) text += "S:(ML;OICI;NW;;;HI)";
  return text;
}

namespace {

bool CreatePrivateFolder(const char* path, void* security) {
  return CreateDirectoryA(path, static_cast<SECURITY_ATTRIBUTES*>(security)) != FALSE;
}

}  // namespace

bool MakeNewName(const char* parent, const char* suffix, char* path, size_t capacity,
                 bool (*create)(const char* path, void* context), void* context) {
  // Unpredictable enough that nobody plants every name first; the names that exist
  // are passed over.
  unsigned seed = GetTickCount() ^ (GetCurrentProcessId() << 16) ^
                  static_cast<unsigned>(reinterpret_cast<uintptr_t>(path));
  for (int i = 0; i < kNameTries; ++i) {
    seed = seed * 1103515245u + 12345u;
    if (!FormatText(path, capacity, "%sKzp%05X%s", parent, (seed >> 8) & 0xFFFFF, suffix)) break;
    if (create(path, context)) return true;
    DWORD error = GetLastError();
    if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) break;
  }
  // Nothing of a cut or foreign name may be taken for ours.
  if (capacity > 0) path[0] = '\0';
  return false;
}

PrivateSecurity::PrivateSecurity() {
  auto openToken = FindSystemFunction<OpenProcessTokenFunction>(kAdvapi, "OpenProcessToken");
  auto toDescriptor = FindSystemFunction<StringToDescriptorFunction>(
      kAdvapi, "ConvertStringSecurityDescriptorToSecurityDescriptorA");
  HANDLE token = nullptr;
  if (openToken == nullptr || toDescriptor == nullptr || !openToken(GetCurrentProcess(), TOKEN_QUERY, &token))
    return;
  KernelHandle owned(token);
  const std::string user = TokenSid(token, TokenUser);
  if (user.empty()) return;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (toDescriptor(PrivateSecurityText(user, TokenSid(token, kTokenIntegrityLevel)).c_str(),
                   kDescriptorRevision, &descriptor, nullptr))
    attributes_.lpSecurityDescriptor = descriptor;
}

PrivateSecurity::~PrivateSecurity() {
  if (attributes_.lpSecurityDescriptor != nullptr) LocalFree(attributes_.lpSecurityDescriptor);
}

bool MakePrivateFolder(const char* parent, PrivateSecurity& security, char* folder, size_t capacity) {
  SECURITY_ATTRIBUTES* attributes = security.Attributes();
  return attributes != nullptr && MakeNewName(parent, "", folder, capacity, CreatePrivateFolder, attributes);
}

// On the NT family the batch file goes into a folder just made, where nobody else
// could have planted a link.
KernelHandle CreateNewFile(const char* path, SECURITY_ATTRIBUTES* security) {
  HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, security, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  return KernelHandle(file != INVALID_HANDLE_VALUE ? file : nullptr);
}
