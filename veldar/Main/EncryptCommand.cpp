// The script encryption command (Ctrl+Alt+F4): enciphers a plain script beside the
// program, or one the user chooses, into its ".SQE" form with the window's cipher.
#include "Core/FileNames.h"
#include "Des/ScriptFile.h"
#include "Main/InstallerFiles.h"
#include "Main/MainForm.h"
#include "resources/resource.h"

void TMainForm::EncryptScriptCommand() {
  // The program's own script: VELDAR.SQL beside VELDAR.EXE becomes VELDAR.SQE.
  std::string input = ChangeFileExt(FExeName, ".SQL", IsAnsiLeadByte);
  std::string output = ChangeFileExt(FExeName, ".SQE", IsAnsiLeadByte);
  if (!::FileExists(input)) {
    if (!OpenDialog1.Execute(FWindow, input)) return;
    // A chosen ".SQE" is its own output: it is enciphered once more.
    output = ChangeFileExt(input, ".SQE", IsAnsiLeadByte);
  }

  // No message is handled until the conversion returns, so the cursor stays.
  SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  std::size_t lines = 0;
  FileFailure failure;
  const bool encrypted = EncryptScriptFile(DES1, input, output, lines, failure);
  SetCursor(LoadCursorA(nullptr, IDC_ARROW));

  if (encrypted)
    MessageBoxA(FWindow, LoadText(IDS_ENCRYPTED).c_str(), ApplicationTitle().c_str(), MB_OK);
  else
    ShowFileFailure(failure);
}

std::string TMainForm::ApplicationTitle() const {
  // The program's name as its file carries it, without the extension.
  return ChangeFileExt(ExtractFileName(FExeName, IsAnsiLeadByte), std::string(), IsAnsiLeadByte);
}
