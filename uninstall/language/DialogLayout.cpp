#include "language/DialogLayout.h"

#include "base/WinVersion.h"
#include "language/DialogScale.h"

namespace {

ScaleRect ToScaleRect(const RECT& r) {
  return {r.left, r.top, r.right, r.bottom};
}

void TranslateWindowText(const LanguageResources& language, HWND window, const char* dialogName) {
  char text[LanguageResources::kDialogTextSize];
  if (GetWindowTextA(window, text, sizeof text) <= 0 || text[0] == '\0') return;
  language.Translate(text, text, sizeof text, dialogName, TranslationCategory::Dialog);
  SetWindowTextA(window, text);
}

bool IsDropDownCombo(HWND child) {
  char className[LanguageResources::kDialogTextSize];
  if (GetClassNameA(child, className, sizeof className) == 0) return false;
  if (CompareNoCase(className, "COMBOBOX") != 0) return false;
  return (GetWindowLongA(child, GWL_STYLE) & 3) != CBS_SIMPLE;
}

}  // namespace

void LocalizeDialog(const LanguageResources& language, HWND window, const char* dialogName, bool embedded) {
  int scaleX = 100;
  int scaleY = 100;
  bool scaling = language.GetDialogScale(dialogName, &scaleX, &scaleY);
  RECT windowRect = {};
  RECT clientRect = {};
  GetWindowRect(window, &windowRect);
  GetClientRect(window, &clientRect);
  ScaleRect w = ToScaleRect(windowRect);
  int frameX = 0;
  int frameY = 0;
  MeasureFrame(w, ToScaleRect(clientRect), &frameX, &frameY);

  if (scaling && !embedded) {
    int width = 0;
    int height = 0;
    ScaleDialogSize(ToScaleRect(clientRect), frameX, frameY, scaleX, scaleY, &width, &height);
    SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_NOMOVE);
  }
  if (!embedded) TranslateWindowText(language, window, dialogName);

  frameY -= GetSystemMetrics(SM_CYDLGFRAME);
  HWND first = GetWindow(window, GW_CHILD);
  HWND child = first;
  for (int n = 0; child != nullptr && n < LanguageResources::kMaxDialogChildren; ++n) {
    TranslateWindowText(language, child, dialogName);
    if (scaling) {
      RECT childRect = {};
      GetWindowRect(child, &childRect);
      Placement p = ScaleChild(w, ToScaleRect(childRect), frameX, frameY, scaleX, scaleY);
      if (IsDropDownCombo(child)) {
        RECT dropped = {};
        SendMessageA(child, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
        p.height = AddDroppedListHeight(p.height, ToScaleRect(dropped), scaleY);
      }
      SetWindowPos(child, nullptr, p.x, p.y, p.width, p.height, SWP_NOZORDER | SWP_NOOWNERZORDER);
    }
    child = GetWindow(child, GW_HWNDNEXT);
    if (child == first) break;
  }
}

void ApplyLayout(const LanguageResources& language, HWND window) {
  if (!language.rightToLeft) return;
  SetWindowLongA(window, GWL_EXSTYLE, GetWindowLongA(window, GWL_EXSTYLE) | WS_EX_LAYOUTRTL);
}
