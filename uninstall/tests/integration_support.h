// The archiver's footprint (registry keys, shortcuts, program groups), stated once for
// every test, and the fixture of the integration tests: each starts and ends without it.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "base/ComPtr.h"
#include "integration/ShellExtension.h"
#include "test_files.h"
#include "test_registry.h"
#include "test_text.h"

namespace uninstall_test {

using namespace test_support;

// Every extension that an association group takes, group by group.
inline const char* const kArchiverExtensions[] = {".kzp",  ".zip", ".cab", ".arj", ".lzh", ".lha", ".ace",
                                                  ".tar",  ".gz",  ".tgz", ".uue", ".xxe", ".uu",  ".bz2",
                                                  ".tbz2", ".bz",  ".tbz", ".jar", ".iso"};
inline constexpr char kProductKey[] = "Software\\Zendra";
inline constexpr char kApprovedKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";
inline const std::string kClassId = kShellExtensionClassId;
// The key above the property sheet handler of programs, which the setup may have made.
inline constexpr char kProgramSheetHandlers[] = "exefile\\shellex\\PropertySheetHandlers";
// Handler keys that name the class identifier in their own name, and the drop handlers.
inline const std::string kClassHandlerKeys[] = {
    "Zendra\\shellex\\ContextMenuHandlers\\" + kClassId,
    "Zendra\\shellex\\PropertySheetHandlers\\" + kClassId,
    "Zendra.ZIP\\shellex\\ContextMenuHandlers\\" + kClassId,
    "Zendra.ZIP\\shellex\\PropertySheetHandlers\\" + kClassId,
    std::string(kProgramSheetHandlers) + "\\" + kClassId,
};
inline const std::string kDropHandlerKeys[] = {"Zendra\\shellex\\DropHandler",
                                               "Zendra.ZIP\\shellex\\DropHandler"};
// The handler keys of every file, folders and drives: other programs keep their entries
// beside the archiver's, so these stay, empty, when the extension is removed.
inline const std::string kSharedHandlerKeys[] = {
    "*\\shellex\\ContextMenuHandlers\\Zendra",         "Folder\\shellex\\ContextMenuHandlers\\Zendra",
    "Folder\\shellex\\DragDropHandlers\\Zendra",       "Drive\\shellex\\DragDropHandlers\\Zendra",
    "Directory\\shellex\\ContextMenuHandlers\\Zendra", "Directory\\shellex\\DragDropHandlers\\Zendra",
};
// The stored values of the context-menu items, in the order of the menu items dialog.
inline const char* const kMenuItemNames[] = {"ExtrTo", "ExtrHere", "Extr",     "ExtrSep", "OpenSFX",
                                             "AddTo",  "AddArc",   "EmailArc", "EmailOpt"};

// The name of a multi-volume extension: .k00, .k01, ...
std::string Volume(int n);
// The classes of `extensions` as ReadText gives them, joined by ", ".
std::string ClassesOf(std::initializer_list<const char*> extensions);
// The desktop and start menu shortcuts, the user's program group and the all-users one, in this order.
enum ShortcutPlace { kDesktopShortcut, kStartMenuShortcut, kUserGroup, kCommonGroup };
std::vector<std::string> ShortcutPaths();
// Removes every part of the footprint.
void RemoveArchiverFootprint();
// The registry trees where the footprint lies (classes, settings, App Paths, Uninstall, shell extensions).
std::vector<RegistryPlace> FootprintPlaces();

struct ShortcutFields {
  bool loaded = false;
  std::string target;
  std::string description;
};
// Loads a shortcut file back through the shell and reads its target and description.
ShortcutFields ReadShortcut(const std::string& file);
// The expected New-menu template, built so that no complete signature stands in the test program.
std::string ExpectedTemplate(bool kzp);

// Setup choices that take the association `groups`, with or without Explorer integration.
inline SetupOptions Taking(std::initializer_list<int> groups, bool explorerIntegration) {
  SetupOptions options;
  for (int group : groups) options.associations[group] = true;
  options.shellIntegration = explorerIntegration;
  return options;
}
// Setup choices of the shortcut places alone.
inline SetupOptions Interface(bool desktop, bool startMenu, bool programGroup) {
  SetupOptions options;
  options.desktopShortcut = desktop;
  options.startMenuShortcut = startMenu;
  options.programGroup = programGroup;
  return options;
}

class IntegrationTest : public ::testing::Test {
 protected:
  // A program folder with a blank and double-byte characters in its name.
  explicit IntegrationTest(std::string folderName = Ansi(u8"压缩 程序"))
      : folderName_(std::move(folderName)) {}
  void SetUp() override;
  void TearDown() override;
  // A folder `name` in the scratch root made the folder of "this program".
  std::string MakeProgramFolder(const std::string& name);

  OleSession ole_;
  const std::string root_ = "C:\\ZendraTests";
  std::string folderName_;
  std::string folder_;
};

}  // namespace uninstall_test
