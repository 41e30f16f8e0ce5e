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
  const ConversionResult result = EncryptScriptFile(DES1, input, output);
  SetCursor(LoadCursorA(nullptr, IDC_ARROW));

  switch (result.failure) {
    case ConversionResult::Failure::None:
      MessageBoxA(FWindow, LoadText(IDS_ENCRYPTED).c_str(), ApplicationTitle().c_str(), MB_OK);
      break;
    case ConversionResult::Failure::Read:
      ShowFileFailure(IDS_READ_FAILED, result.detail.file, result.detail.reason);
      break;
    case ConversionResult::Failure::Write:
      ShowFileFailure(IDS_WRITE_FAILED, result.detail.file, result.detail.reason);
      break;
  }
}

std::string TMainForm::ApplicationTitle() const {
  // The program's name as its file carries it, without the extension.
  return ChangeFileExt(ExtractFileName(FExeName, IsAnsiLeadByte), std::string(), IsAnsiLeadByte);
}
