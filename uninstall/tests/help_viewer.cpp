#include "tests/help_viewer.h"

#include <cstring>

namespace uninstall_test {

namespace {

// The magic number with which the system's help function hands over a request.
constexpr ULONG_PTR kHelpRequestMagic = 0xA1DE505;

// What the help function sends: a header, then the help file's name.
#pragma pack(push, 1)
struct HelpRequestHeader {
  WORD size;
  WORD command;
  LONG data;
  LONG reserved;
  WORD fileOffset;
  WORD dataOffset;
};
#pragma pack(pop)

}  // namespace

HelpViewerStandIn::HelpViewerStandIn() {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "MS_WINHELP";
  RegisterClassA(&windowClass);
  window_ = CreateWindowA("MS_WINHELP", "help viewer stand-in", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                          windowClass.hInstance, nullptr);
  SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

HelpViewerStandIn::~HelpViewerStandIn() {
  if (window_ != nullptr) DestroyWindow(window_);
  UnregisterClassA("MS_WINHELP", GetModuleHandleA(nullptr));
}

LRESULT CALLBACK HelpViewerStandIn::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* viewer = reinterpret_cast<HelpViewerStandIn*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (message != WM_COPYDATA || viewer == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
  if (copy->dwData != kHelpRequestMagic || copy->cbData < sizeof(HelpRequestHeader)) return FALSE;
  const auto* header = static_cast<const HelpRequestHeader*>(copy->lpData);
  HelpRequest request{header->command, header->data, ""};
  if (header->fileOffset != 0 && header->fileOffset < copy->cbData) {
    const char* file = static_cast<const char*>(copy->lpData) + header->fileOffset;
    request.file.assign(file, strnlen(file, copy->cbData - header->fileOffset));
  }
  viewer->requests_.push_back(request);
  return TRUE;
}

}  // namespace uninstall_test
