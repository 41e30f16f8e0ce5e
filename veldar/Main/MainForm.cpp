#include "Main/MainForm.h"

#include "Core/FileNames.h"
#include "Des/ScriptFile.h"
#include "Main/ExitCodes.h"
#include "Main/GlyphButton.h"
#include "Main/InstallerFiles.h"
#include "Main/MessageQueue.h"
#include "Main/SystemSettings.h"
#include "resources/resource.h"

namespace {

const char kClassName[] = "TMainForm";
// The layout is drawn for 96 pixels per inch and scaled to the system's setting.
constexpr int kDesignDpi = 96;
constexpr int kClientWidth = 288;
constexpr int kClientHeight = 150;
constexpr int kFontHeight = 12;
constexpr int kAnimationStopFrame = 20;
const char kDefaultLogin[] = "sa";
constexpr DWORD kMessageCheckIntervalMs = 50;
// Memo1 and the progress bar show changes four times a second at most: each refresh
// lays out and paints both controls, and four views a second keep a run's progress as
// readable as ten.
constexpr DWORD kViewRefreshIntervalMs = 250;

}  // namespace

std::string WindowText(HWND window) {
  const int length = GetWindowTextLengthA(window);
  if (length <= 0) return std::string();
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(window, &text[0], length + 1);
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return text;
}

TMainForm::TMainForm(HINSTANCE instance, std::vector<std::string> arguments)
    : FInstance(instance), FArguments(std::move(arguments)) {}

TMainForm::~TMainForm() {
  if (FWindow) DestroyWindow(FWindow);
}

bool TMainForm::Create() {
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = FInstance;
  windowClass.hIcon = LoadIconA(FInstance, MAKEINTRESOURCEA(IDI_VELDAR));
  windowClass.hIconSm =
      static_cast<HICON>(LoadImageA(FInstance, MAKEINTRESOURCEA(IDI_VELDAR), IMAGE_ICON,
                                    GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kClassName;
  if (!RegisterClassExA(&windowClass)) {
    FExitCode = kExitFailed;
    return false;
  }

  FDpi = GetDeviceCaps(WindowDC(nullptr).Get(), LOGPIXELSY);
  if (FDpi <= 0) FDpi = kDesignDpi;

  // A tool window's border; the taskbar button stays, as the form is the program's
  // only window.
  const DWORD style = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  const DWORD exStyle = WS_EX_TOOLWINDOW | WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;
  RECT frame = {0, 0, MulDiv(kClientWidth, FDpi, kDesignDpi), MulDiv(kClientHeight, FDpi, kDesignDpi)};
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  CreateWindowExA(exStyle, kClassName, "", style, left, top, width, height, nullptr, nullptr, FInstance,
                  this);
  if (!FWindow) {
    FExitCode = kExitFailed;
    return false;
  }
  return !FEnded;
}

void TMainForm::Show(int showCommand) {
  ShowWindow(FWindow, showCommand);
  // An unattended start's posted click comes before the first paint and hides the
  // input panel: painting the panel now would only cost time.
  if (!FUnattended) UpdateWindow(FWindow);
  // The first box starts with its text selected, as after a Tab into it.
  SetFocus(SNEdit);
  SendMessageA(SNEdit, EM_SETSEL, 0, -1);
}

void TMainForm::DispatchFormMessage(MSG& message) {
  // Key preview: the form sees key presses before the focused control.
  if ((message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) &&
      (message.hwnd == FWindow || IsChild(FWindow, message.hwnd)) &&
      FormKeyDown(static_cast<WORD>(message.wParam), GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_MENU) < 0,
                  (message.lParam & (1 << 30)) != 0)) {
    return;
  }
  if (FWindow && IsDialogMessageA(FWindow, &message)) return;
  TranslateMessage(&message);
  DispatchMessageA(&message);
}

LRESULT CALLBACK TMainForm::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* form = static_cast<TMainForm*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    form->FWindow = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = reinterpret_cast<TMainForm*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!form) return DefWindowProcA(window, message, wParam, lParam);
  return form->HandleMessage(message, wParam, lParam);
}

// Panel1 passes its controls' notifications on to the form.
LRESULT CALLBACK TMainForm::PanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* form = reinterpret_cast<TMainForm*>(GetWindowLongPtrA(GetParent(panel), GWLP_USERDATA));
  if (message == WM_COMMAND || message == WM_DRAWITEM) return form->HandleMessage(message, wParam, lParam);
  return CallWindowProcA(form->FPanelDefaultProc, panel, message, wParam, lParam);
}

LRESULT TMainForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      CreateControls();
      FormCreate();
      return 0;
    case WM_COMMAND:
      HandleCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_DRAWITEM:
      DrawGlyphButton(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam), FGlyphs.Get(), FGlyphSize, true);
      return TRUE;
    case DM_GETDEFID:
      // Enter presses the start button while the input panel is shown.
      return IsWindowVisible(Panel1) ? MAKELRESULT(IDC_SETUPBTN, DC_HASDEFID) : 0;
    case WM_CLOSE: {
      bool canClose = true;
      FormCloseQuery(canClose);
      if (canClose) EndProgram(kExitCancelled);
      return 0;
    }
    case WM_DESTROY:
      FormDestroy();
      return 0;
    case WM_SIZE:
      // Restored: what a run gathered while minimised shows at once, also while a
      // message box's loop runs instead of the run's.
      if (FRunStarted && wParam != SIZE_MINIMIZED) RefreshRunView(true);
      break;
  }
  return DefWindowProcA(FWindow, message, wParam, lParam);
}

void TMainForm::HandleCommand(WORD id, WORD code) {
  if (id == IDC_SETUPBTN && code == BN_CLICKED) SetupBtnClick();
}

void TMainForm::CreateControls() {
  auto scale = [this](int value) { return MulDiv(value, FDpi, kDesignDpi); };
  FFont.Reset(CreateFontA(-scale(kFontHeight), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET,
                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                          DEFAULT_PITCH | FF_DONTCARE, LoadText(IDS_FONT_NAME).c_str()));
  auto add = [&](HWND parent, int id, const char* className, const std::string& text, DWORD style,
                 DWORD exStyle, int x, int y, int width, int height) {
    HWND control = CreateWindowExA(exStyle, className, text.c_str(), WS_CHILD | style, scale(x), scale(y),
                                   scale(width), scale(height), parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), FInstance, nullptr);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(FFont.Get()), FALSE);
    return control;
  };
  // A label is as large as its text.
  auto label = [&](int id, UINT textId, int x, int y) {
    const std::string text = LoadText(textId);
    SIZE size = {};
    {
      WindowDC dc(FWindow);
      HGDIOBJ old = SelectObject(dc.Get(), FFont.Get());
      GetTextExtentPoint32A(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
      SelectObject(dc.Get(), old);
    }
    HWND control = CreateWindowExA(0, WC_STATICA, text.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                                   scale(x), scale(y), size.cx, size.cy, Panel1,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), FInstance, nullptr);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(FFont.Get()), FALSE);
    return control;
  };

  // The run's controls lie under the panel and show once it is hidden. The clip plays
  // on timer messages of this thread: a second thread would make every lock in the
  // process's libraries (the database driver's among them) cost more.
  Animate1 = add(FWindow, IDC_ANIMATE1, ANIMATE_CLASSA, "", ACS_CENTER | ACS_TRANSPARENT | ACS_TIMER, 0, 8, 2,
                 272, 60);
  Animate_OpenEx(Animate1, GetModuleHandleA("shell32.dll"), MAKEINTRESOURCEA(IDR_SHELL_FILECOPY_AVI));
  ProgressBar = add(FWindow, IDC_PROGRESSBAR, PROGRESS_CLASSA, "", 0, 0, 8, 62, 273, 16);
  Memo1.Attach(add(FWindow, IDC_MEMO1, WC_EDITA, "",
                   ES_MULTILINE | ES_READONLY | ES_AUTOHSCROLL | ES_AUTOVSCROLL, WS_EX_CLIENTEDGE, 8, 78, 273,
                   68));

  // The panel paints the background under its controls: Bevel1 draws only its frame.
  Panel1 = add(FWindow, IDC_PANEL1, WC_STATICA, "", WS_VISIBLE | SS_NOTIFY, WS_EX_CONTROLPARENT, 0, 0,
               kClientWidth, kClientHeight);
  FPanelDefaultProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(Panel1, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PanelProc)));

  // Created in tab order: server, login, password, start button.
  SNEdit = add(Panel1, IDC_SNEDIT, WC_EDITA, "", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE,
               172, 8, 105, 20);
  UNEdit = add(Panel1, IDC_UNEDIT, WC_EDITA, kDefaultLogin,
               WS_VISIBLE | WS_TABSTOP | WS_DISABLED | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 172, 34, 105, 20);
  UPEdit = add(Panel1, IDC_UPEDIT, WC_EDITA, "", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | ES_PASSWORD,
               WS_EX_CLIENTEDGE, 172, 60, 105, 20);
  SendMessageA(UPEdit, EM_SETPASSWORDCHAR, '*', 0);
  SetupBtn = add(Panel1, IDC_SETUPBTN, WC_BUTTONA, LoadText(IDS_SETUP_BUTTON),
                 WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, 0, 8, 8, 72, 72);
  Label1 = label(IDC_LABEL1, IDS_LABEL1, 104, 12);
  Label2 = label(IDC_LABEL2, IDS_LABEL2, 104, 38);
  Label3 = label(IDC_LABEL3, IDS_LABEL3, 104, 64);
  Bevel1 = add(Panel1, IDC_BEVEL1, WC_STATICA, "", WS_VISIBLE | SS_ETCHEDFRAME, 0, 8, 88, 269, 57);
  Label4 = label(IDC_LABEL4, IDS_LABEL4, 12, 96);
  Label5 = label(IDC_LABEL5, IDS_LABEL5, 12, 112);
  Label6 = label(IDC_LABEL6, IDS_LABEL6, 12, 128);

  FGlyphSize = scale(32) >= 48 ? 48 : 32;
  const UINT glyphImage = FGlyphSize == 48 ? IDB_GLYPH48 : IDB_GLYPH32;
  FGlyphs.Reset(ImageList_LoadImageA(FInstance, MAKEINTRESOURCEA(glyphImage), FGlyphSize, 0, RGB(255, 0, 255),
                                     IMAGE_BITMAP, LR_CREATEDIBSECTION));

  OpenDialog1.title = LoadText(IDS_OPEN_TITLE);
  OpenDialog1.defaultExt = "SQL";
  OpenDialog1.initialDir = ".";
  OpenDialog1.filter = LoadText(IDS_OPEN_FILTER);

  DES1.SetKey(kScriptKey);
  DES1.SetAction(TActionType::Encryption);
}

void TMainForm::FormCreate() {
  FExeName = ProgramFileName();
  FExePath = ExtractFilePath(FExeName, IsAnsiLeadByte);
  FExeDir = FExePath.empty() ? FExePath : FExePath.substr(0, FExePath.size() - 1);
  SetWindowTextA(FWindow, LoadText(IDS_CAPTION).c_str());
  SetWindowTextA(SNEdit, GetLocalComputerName().c_str());
  FLogLines.Clear();
  FErrorLines.Clear();

  const StartOptions options = ParseStartOptions(FArguments);
  if (options.showUsage) {
    MessageBoxA(nullptr, UsageText().c_str(), LoadText(IDS_CAPTION).c_str(), MB_ICONINFORMATION | MB_OK);
    EndProgram(kExitSucceeded);
    return;
  }
  FUnattended = options.unattended;
  FScriptFile.clear();
  if (!FUnattended) return;
  if (!options.server.empty()) SetWindowTextA(SNEdit, options.server.c_str());
  if (!options.login.empty()) SetWindowTextA(UNEdit, options.login.c_str());
  if (!options.password.empty()) SetWindowTextA(UPEdit, options.password.c_str());
  FScriptFile = options.scriptFile;
  FModuleName = options.moduleName;
  // The start button's click, handled once the message loop runs, after the window is
  // shown. It goes to the form as the button's notification: setup packages often start
  // the program hidden or not activated, and a click sent to a button of an inactive
  // window may be lost.
  PostMessageA(FWindow, WM_COMMAND, MAKEWPARAM(IDC_SETUPBTN, BN_CLICKED), reinterpret_cast<LPARAM>(SetupBtn));
}

void TMainForm::SetupBtnClick() {
  // A run starts once only, however the window is shown: Enter or Alt+S may still
  // reach the hidden button while a run goes on.
  if (FInstalling || FRunStarted) return;
  if (!FUnattended && AskQuestion(IDS_CONFIRM_START, MB_DEFBUTTON2) == IDNO) return;
  RunScript();
}

void TMainForm::FormCloseQuery(bool& canClose) {
  canClose = true;
  if (FRunStarted && !FInstalling) {
    // The run is writing its files or asking its last question; it ends the program.
    canClose = false;
    return;
  }
  if (!FInstalling) return;
  canClose = false;
  // The question may wait long for its answer: what the run has gathered is written first.
  FRecord.Write(GetTickCount());
  if (AskQuestion(IDS_CONFIRM_CANCEL, MB_DEFBUTTON2) == IDYES) FCancelRequested = true;
}

bool TMainForm::FormKeyDown(WORD key, bool ctrl, bool alt, bool repeated) {
  if (!ctrl || !alt) return false;
  if (key == VK_F3) {
    // Ctrl+Alt+F3 lets another login than "sa" be typed.
    EnableWindow(UNEdit, TRUE);
    return true;
  }
  if (key == VK_F4) {
    // Ctrl+Alt+F4 enciphers a script, but never during a run, and once per press.
    if (!FInstalling && !FRunStarted && !repeated) EncryptScriptCommand();
    return true;
  }
  return false;
}

void TMainForm::FormDestroy() {
  FLogLines.Clear();
  FErrorLines.Clear();
}

void TMainForm::ShowRunControls() {
  ShowWindow(Panel1, SW_HIDE);
  ShowWindow(Animate1, SW_SHOW);
  ShowWindow(ProgressBar, SW_SHOW);
  ShowWindow(Memo1.Window(), SW_SHOW);
  if (!Animate_Play(Animate1, 0, kAnimationStopFrame, -1)) {
    // Some systems' shells carry only a stub of the clip: the program's own plays instead.
    Animate_OpenEx(Animate1, FInstance, MAKEINTRESOURCEA(IDR_COPY_AVI));
    Animate_Play(Animate1, 0, kAnimationStopFrame, -1);
  }
  SetFocus(FWindow);
}

void TMainForm::RefreshRunView(bool force) {
  const DWORD now = GetTickCount();
  if (!force && now - FViewRefresh < kViewRefreshIntervalMs) return;
  FViewRefresh = now;
  // Changes made while nothing can be seen wait: they show at the first refresh after
  // the window is shown, restored or uncovered again.
  if (!RunViewVisible()) return;
  Memo1.Refresh();
  if (FProgressChanged) {
    SendMessageA(ProgressBar, PBM_SETRANGE32, 0,
                 static_cast<LPARAM>(std::min<size_t>(FProgressCount, 0x7fffffff)));
    SendMessageA(ProgressBar, PBM_SETPOS, static_cast<WPARAM>(FProgressPosition), 0);
    FProgressChanged = false;
  }
}

bool TMainForm::RunViewVisible() const {
  if (!IsWindowVisible(FWindow) || IsIconic(FWindow)) return false;
  // A window wholly covered by others has nothing left to draw on.
  RECT box;
  return GetClipBox(WindowDC(FWindow).Get(), &box) != NULLREGION;
}

void TMainForm::EndProgram(int exitCode) {
  if (FEnded) return;
  FEnded = true;
  FExitCode = exitCode;
  PostQuitMessage(exitCode);
}

std::string TMainForm::LoadText(UINT id) const {
  char text[2048];
  const int length = LoadStringA(FInstance, id, text, sizeof text);
  return std::string(text, length > 0 ? static_cast<size_t>(length) : 0);
}

int TMainForm::AskQuestion(UINT textId, UINT defaultButton) {
  return MessageBoxA(FWindow, LoadText(textId).c_str(), WindowText(FWindow).c_str(),
                     MB_ICONQUESTION | MB_YESNO | defaultButton);
}

void TMainForm::AddOutputLine(const std::string& line) {
  Memo1.AddLine(line);
}

void TMainForm::ClearOutput() {
  Memo1.Clear();
}

void TMainForm::ProcessMessages(unsigned timeoutMs) {
  // Between short batches the queue is looked at twenty times a second only: each look
  // is a round of calls into the system that slows the batches around it, and a window
  // served every 50 ms answers sooner than a person can notice.
  const DWORD now = GetTickCount();
  FRecord.WriteIfDue(now);
  if (timeoutMs == 0 && now - FLastMessageCheck < kMessageCheckIntervalMs) return;
  FLastMessageCheck = now;
  if (timeoutMs > 0) MsgWaitForMultipleObjectsEx(0, nullptr, timeoutMs, kAnyQueuedMessage, MWMO_INPUTAVAILABLE);
  PumpMessages();
}

void TMainForm::PumpMessages() {
  RefreshRunView(false);
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // Someone asks the program to end: stop the run at its next check.
      FCancelRequested = true;
      continue;
    }
    DispatchFormMessage(message);
  }
}

void TMainForm::SetProgress(size_t position, size_t count) {
  FProgressPosition = position;
  FProgressCount = count;
  FProgressChanged = true;
}
