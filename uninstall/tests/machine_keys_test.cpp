// The rights check asks about every machine-wide place of the setup and the uninstall and
// no other: each place, made first so that it answers for itself, refuses in turn through
// the registry layer's filter.
#include <gtest/gtest.h>

#include "integration/MachineKeys.h"
#include "registry/ChangeFilter.h"
#include "tests/integration_support.h"

using namespace uninstall_test;

namespace {

std::string refused;  // a key of HKEY_LOCAL_MACHINE, refused with the keys below it
bool RefuseBelow(HKEY root, const char* key) {
  const size_t n = refused.size();
  return root != HKEY_LOCAL_MACHINE || _strnicmp(key, refused.c_str(), n) != 0 || (key[n] != '\0' && key[n] != '\\');
}

TEST_F(IntegrationTest, TheRightsCheckAsksAboutEveryMachineWidePlaceAndNoOther) {
  const std::string c = "Software\\Classes\\", lists = "Software\\Microsoft\\Windows\\CurrentVersion\\";
  const std::pair<std::string, bool> kPlaces[] = {
      {c + ".kzp", false}, {c + ".tbz", false}, {c + ".zip\\ShellNew", false}, {c + ".k99", false},
      {c + ".rev", false}, {c + "Zendra.REV", false}, {c + "CLSID\\" + kClassId + "\\InProcServer32", false},
      {c + "Zendra.ZIP\\shellex\\DropHandler", false}, {c + kProgramSheetHandlers + "\\" + kClassId, false},
      {c + "Drive\\shellex\\DragDropHandlers\\Zendra", false}, {lists + "App Paths\\Zendra.exe", false},
      {lists + "Uninstall\\Zendra archiver", false}, {lists + "Shell Extensions\\Approved", false},
      {c + ".txt", true}, {lists + "Run", true}};
  SetChangeFilter(RefuseBelow);
  for (const auto& place : kPlaces) {
    RawCreateKey(HKEY_LOCAL_MACHINE, place.first);
    refused = place.first;
    EXPECT_EQ(place.second, CanChangeMachineKeys()) << place.first;
  }
  SetChangeFilter(nullptr);
}

}  // namespace
