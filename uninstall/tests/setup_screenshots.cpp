// Takes pictures of the setup dialogs under Wine and Xvfb for the documentation:
// SETUPDLG, CONTEXTITEMS and DONEDLG as they are, SETUPDLG scaled by a language file
// (120*100), and all three laid out right to left. Each picture is the part of the
// display's root window that the dialog covers, taken with ImageMagick's "import".
//   uninstall_setup_screenshots.exe <Unix folder for the PNG files>
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/language_support.h"
#include "tests/setup_support.h"

using namespace uninstall_test;

namespace {

int failures = 0;

// Wine draws the buttons of a title bar with the symbol font that it ships; a prefix
// whose font folder lacks it shows letters in their place.
void InstallCaptionButtonFont() {
  char fonts[MAX_PATH];
  GetWindowsDirectoryA(fonts, sizeof fonts);
  std::string target = std::string(fonts) + "\\Fonts\\marlett.ttf";
  CopyFileA("Z:\\usr\\share\\wine\\fonts\\marlett.ttf", target.c_str(), TRUE);
}

// Wine starts a Unix program given by its path on drive Z:, with the arguments as they
// stand, but cannot wait for it: the shell that runs "import" leaves its exit code in a
// file, which is waited for.
void Capture(HWND dialog, const std::string& file) {
  PumpFor(800);  // let the dialog finish painting
  RECT r;
  GetWindowRect(dialog, &r);
  const std::string status = file + ".status";
  const std::string statusOnDriveZ = WindowsPath(status);
  DeleteFileA(statusOnDriveZ.c_str());
  char command[2048];
  snprintf(command, sizeof command,
           "Z:\\bin\\sh -c \"import -window root -crop %ldx%ld+%ld+%ld +repage '%s'; echo $? > '%s'\"",
           r.right - r.left, r.bottom - r.top, r.left, r.top, file.c_str(), status.c_str());
  Process shell;
  std::string code = "not started";
  if (shell.StartCommandLine(command)) {
    WaitUntil([&] { return ReadFileBytes(statusOnDriveZ) != "<missing>"; });
    PumpFor(100);  // the line may still be on its way
    code = ReadFileBytes(statusOnDriveZ);
    DeleteFileA(statusOnDriveZ.c_str());
  }
  bool written = code == "0\n";
  printf("%s %s\n", written ? "wrote" : "FAILED", file.c_str());
  if (!written) ++failures;
}

bool Expect(bool condition, const char* what) {
  if (!condition) {
    printf("FAILED: %s\n", what);
    ++failures;
  }
  return condition;
}

// One run of the setup: pictures of SETUPDLG, and unless `setupOnly`, of CONTEXTITEMS
// and DONEDLG.
void TakePictures(const Installation& installation, const std::string& folder, const std::string& suffix,
                  bool setupOnly) {
  SetupProcess setup(installation, "/setup");
  HWND dialog = setup.WaitFor(kSetupDialog);
  if (!Expect(dialog != nullptr, "the setup dialog came up")) return;
  Capture(dialog, folder + "/uninstall-setupdlg" + suffix + ".png");
  if (setupOnly) {
    PressCloseBox(dialog);
    Expect(setup.WaitForExit(), "the setup ended");
    return;
  }
  HWND items = setup.OpenContextItems(dialog);
  if (!Expect(items != nullptr, "the context item dialog came up")) return;
  Capture(items, folder + "/uninstall-contextitems" + suffix + ".png");
  setup.CloseContextItems(items, IDCANCEL);
  Press(dialog, IDOK);
  HWND done = setup.WaitFor(kDoneDialog);
  if (!Expect(done != nullptr, "the completion dialog came up")) return;
  Capture(done, folder + "/uninstall-donedlg" + suffix + ".png");
  Press(done, IDOK);
  Expect(setup.WaitForExit(), "the setup ended");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: uninstall_setup_screenshots.exe <Unix folder for the PNG files>\n");
    return 2;
  }
  const std::string folder = argv[1];
  InstallCaptionButtonFont();
  ResetSetupState("");
  RegisterOpeners();
  Installation installation = MakeInstallation();
  const std::string languageFile = installation.File("uninstall.lng");

  TakePictures(installation, folder, "", false);
  WriteFileBytes(languageFile, ScalingLanguageFile());
  TakePictures(installation, folder, "-scaled", true);
  WriteFileBytes(languageFile, RightToLeftLanguageFile());
  TakePictures(installation, folder, "-rtl", false);

  ResetSetupState("");
  RemoveFolder(installation.folder);
  return failures == 0 ? 0 : 1;
}
