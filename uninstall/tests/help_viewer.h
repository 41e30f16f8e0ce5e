// A stand-in window of the help viewer's class, to which the system's help function hands
// each request; its thread must handle messages (WaitUntil, PumpFor, a modal loop).
#pragma once

#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

namespace uninstall_test {

// What a help request asked for.
struct HelpRequest {
  UINT command;
  LONG data;
  std::string file;
  bool operator==(const HelpRequest& other) const {
    return command == other.command && data == other.data && file == other.file;
  }
};
inline void PrintTo(const HelpRequest& request, std::ostream* os) {
  *os << request.command << " " << request.data << " " << request.file;
}
// A request for the topic `context` of the program's help file.
inline HelpRequest Topic(LONG context) {
  return {HELP_CONTEXT, context, "zendra.hlp"};
}

class HelpViewerStandIn {
 public:
  HelpViewerStandIn();
  ~HelpViewerStandIn();
  HelpViewerStandIn(const HelpViewerStandIn&) = delete;
  HelpViewerStandIn& operator=(const HelpViewerStandIn&) = delete;

  bool Ready() const { return window_ != nullptr; }
  const std::vector<HelpRequest>& Requests() const { return requests_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND window_ = nullptr;
  std::vector<HelpRequest> requests_;
};

}  // namespace uninstall_test
