// Dialogs translated, scaled and mirrored on creation by the hook every dialog procedure
// calls first; and the help topics the hook opens.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "language/DialogScale.h"
#include "language/ExtResource.h"
#include "setup/DialogHook.h"
#include "test_text.h"
#include "test_windows.h"
#include "tests/help_viewer.h"
#include "tests/language_support.h"

using namespace test_support;
using namespace uninstall_test;

namespace {

// What a test does inside the dialog: before the hook handles WM_INITDIALOG, and after.
struct Probe {
  const char* templateName;
  std::function<void(HWND)> before;
  std::function<void(HWND)> after;
};

const Probe* currentProbe = nullptr;

INT_PTR CALLBACK ProbeProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG && currentProbe->before) currentProbe->before(dialog);
  PreprocessDialogMessage(dialog, message, wParam, lParam, 0, currentProbe->templateName);
  if (message != WM_INITDIALOG) return FALSE;
  if (currentProbe->after) currentProbe->after(dialog);
  EndDialog(dialog, 1);
  return TRUE;
}

void RunDialog(const Probe& probe, test_support::Caller caller = {}) {
  test_support::CallerTrace trace(caller);
  currentProbe = &probe;
  INT_PTR result = DialogBoxParamA(ExtResource::currentModule, probe.templateName, nullptr, ProbeProc, 0);
  currentProbe = nullptr;
  ASSERT_EQ(1, result);
}

RECT WindowRect(HWND window) {
  RECT r = {};
  GetWindowRect(window, &r);
  return r;
}
ScaleRect ToScale(const RECT& r) {
  return {r.left, r.top, r.right, r.bottom};
}

class DialogLocalizationTest : public LanguageStateTest {
 protected:
  void SetUp() override {
    LanguageStateTest::SetUp();
    LoadLibraryBeside("plain");
  }
};

TEST_F(DialogLocalizationTest, TemplateComesFromTheLibraryAndTextsAreTranslated) {
  LoadLanguageFile(DialogEntry(Ansi("库对话框"), Ansi("译文标题"), "TESTDLG") +
                   DialogEntry(Ansi("确定"), "OK", "TESTDLG") +
                   // The scale entry's key is that of an empty text: an empty control
                   // would take it if it were looked up.
                   DialogEntry("", "100*100", "TESTDLG"));
  RECT before = {}, after = {};
  std::vector<std::string> texts;  // the caption, then OK, help, the empty control and the note
  RunDialog({"TESTDLG", [&](HWND d) { before = WindowRect(d); },
             [&](HWND d) {
               after = WindowRect(d);
               texts.push_back(WindowText(d));
               for (int control : {IDOK, IDHELP, 101, 103})
                 texts.push_back(WindowText(GetDlgItem(d, control)));
             }});
  EXPECT_EQ((std::vector<std::string>{Ansi("译文标题"), "OK", Ansi("帮助"), "", Ansi("说明文字")}), texts);
  // 100*100: nothing is moved or resized.
  EXPECT_TRUE(EqualRect(&before, &after));
}

TEST_F(DialogLocalizationTest, WithoutLibraryTheProgramsOwnTemplateIsUsed) {
  extResource.Unload();
  std::string caption;
  RunDialog({"TESTDLG", nullptr, [&](HWND d) { caption = WindowText(d); }});
  EXPECT_EQ(Ansi("自己的对话框"), caption);
}

TEST_F(DialogLocalizationTest, ScaleEntryResizesTheDialogAndMovesItsControls) {
  LoadLanguageFile(DialogEntry("", "120*100", "TESTDLG"));
  RECT window = {}, client = {}, okBefore = {}, after = {}, okAfter = {};
  HWND ok = nullptr;
  RunDialog({"TESTDLG",
             [&](HWND d) {
               // The window of the worked example: 408 x 330 pixels.
               SetWindowPos(d, nullptr, 0, 0, 408, 330, SWP_NOMOVE | SWP_NOZORDER);
               window = WindowRect(d);
               GetClientRect(d, &client);
               ok = GetDlgItem(d, IDOK);
               okBefore = WindowRect(ok);
             },
             [&](HWND d) {
               after = WindowRect(d);
               okAfter = WindowRect(ok);
               MapWindowPoints(nullptr, d, reinterpret_cast<POINT*>(&okAfter), 2);
             }});
  int frameX = 0, frameY = 0;
  MeasureFrame(ToScale(window), ToScale(client), &frameX, &frameY);
  int width = 0, height = 0;
  ScaleDialogSize(ToScale(client), frameX, frameY, 120, 100, &width, &height);
  EXPECT_EQ(width, after.right - after.left);
  EXPECT_EQ(height, after.bottom - after.top);
  if (client.right == 400 && client.bottom == 300) {
    EXPECT_EQ(489, after.right - after.left);
    EXPECT_EQ(331, after.bottom - after.top);
  }
  Placement p = ScaleChild(ToScale(window), ToScale(okBefore), frameX,
                           frameY - GetSystemMetrics(SM_CYDLGFRAME), 120, 100);
  EXPECT_EQ(p.x, okAfter.left);
  EXPECT_EQ(p.y, okAfter.top);
  EXPECT_EQ(p.width, okAfter.right - okAfter.left);
  EXPECT_EQ(p.height, okAfter.bottom - okAfter.top);
  // The button grew by a fifth of its width.
  EXPECT_GT(okAfter.right - okAfter.left, okBefore.right - okBefore.left);
}

// Records the size a window is given: a combo box reports its list's height in its
// own way, so the test looks at the size that reaches the window.
WNDPROC comboProc = nullptr;
WINDOWPOS comboGiven = {};

LRESULT CALLBACK RecordSizeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_WINDOWPOSCHANGING) {
    auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
    // The first size is the one given from outside; the box then fits itself.
    if ((pos->flags & SWP_NOSIZE) == 0 && comboGiven.hwnd == nullptr) comboGiven = *pos;
  }
  return CallWindowProcA(comboProc, window, message, wParam, lParam);
}

TEST_F(DialogLocalizationTest, DropDownComboHeightIncludesItsList) {
  LoadLanguageFile(DialogEntry("", "110*100", "TESTDLG"));
  RECT comboBefore = {}, droppedBefore = {};
  comboGiven = {};
  RunDialog({"TESTDLG",
             [&](HWND d) {
               HWND combo = GetDlgItem(d, 102);
               comboBefore = WindowRect(combo);
               SendMessageA(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&droppedBefore));
               comboProc = reinterpret_cast<WNDPROC>(
                   SetWindowLongPtrA(combo, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordSizeProc)));
             },
             nullptr});
  // Its own height plus one, and its list's height plus one.
  int expected = AddDroppedListHeight(comboBefore.bottom - comboBefore.top + 1, ToScale(droppedBefore), 100);
  EXPECT_EQ(comboBefore.bottom - comboBefore.top + 1 + droppedBefore.bottom - droppedBefore.top + 1,
            expected);
  EXPECT_EQ(expected, comboGiven.cy);
  EXPECT_EQ((comboBefore.right - comboBefore.left + 1) * 110 / 100, comboGiven.cx);
}

TEST_F(DialogLocalizationTest, RightToLeftLanguagesMirrorTheDialog) {
  struct Case {
    const char* library;
    bool rtlEntry;
    bool mirrored;
  } cases[] = {{"plain", false, false}, {"plain", true, true}, {"rtl", false, true}};
  for (const Case& c : cases) {
    LoadLibraryBeside(c.library);
    LoadLanguageFile(c.rtlEntry ? DialogEntry("LTR", "RTL", "LTR") : Entry("LTR", "LTR"));
    LONG exStyle = 0;
    RunDialog({"TESTDLG", nullptr, [&](HWND d) { exStyle = GetWindowLongA(d, GWL_EXSTYLE); }});
    EXPECT_EQ(c.mirrored, (exStyle & WS_EX_LAYOUTRTL) != 0) << c.library << " " << c.rtlEntry;
  }
}

TEST_F(DialogLocalizationTest, AtMost512ChildrenAreHandled) {
  LoadLanguageFile(DialogEntry("x", "y", "EMPTYDLG"));
  int translated = 0, untouched = 0;
  RunDialog({"EMPTYDLG",
             [&](HWND d) {
               for (int i = 0; i < 600; ++i)
                 CreateWindowExA(0, "STATIC", "x", WS_CHILD, 0, 0, 10, 10, d,
                                 reinterpret_cast<HMENU>(1000 + i), nullptr, nullptr);
             },
             [&](HWND d) {
               for (HWND c = GetWindow(d, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
                 std::string text = WindowText(c);
                 if (text == "y") ++translated;
                 if (text == "x") ++untouched;
               }
             }});
  EXPECT_EQ(512, translated);
  EXPECT_EQ(88, untouched);
}

TEST_F(DialogLocalizationTest, HelpButtonAndF1OpenTheDialogsHelpTopic) {
  HelpViewerStandIn viewer;
  ASSERT_TRUE(viewer.Ready());
  HWND dialog = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);

  HELPINFO info = {};
  info.cbSize = sizeof info;
  PreprocessDialogMessage(dialog, WM_COMMAND, MAKEWPARAM(IDHELP, BN_CLICKED), 0, 268, "SETUPDLG");
  PreprocessDialogMessage(dialog, WM_HELP, 0, reinterpret_cast<LPARAM>(&info), 310, "CONTEXTITEMS");
  const std::vector<HelpRequest> topics = {Topic(268), Topic(310)};
  EXPECT_EQ(topics, viewer.Requests());

  // No help for a dialog with context 0, and other commands are no help requests.
  PreprocessDialogMessage(dialog, WM_HELP, 0, reinterpret_cast<LPARAM>(&info), 0, "DONEDLG");
  PreprocessDialogMessage(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0, 268, "SETUPDLG");
  EXPECT_EQ(topics, viewer.Requests());
  DestroyWindow(dialog);
}

}  // namespace
