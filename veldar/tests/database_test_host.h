// A window for the database connection that records what the connection asks of it,
// and where a test can confirm a cancel request at a chosen moment.
#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "Database/Database.h"

class TestHost : public DatabaseHost {
 public:
  void AddOutputLine(const std::string& line) override { lines.push_back(line); }
  Clock::time_point Now() const override { return ownClock ? clock : Clock::now(); }
  // Waits as long as the window would when no message arrives; with a clock of its
  // own only that clock moves on, by the wait or at least the millisecond a poll costs.
  void ProcessMessages(unsigned timeoutMs) override {
    waits.push_back({timeoutMs, Now()});
    if (ownClock) {
      clock += std::chrono::milliseconds(std::max(timeoutMs, 1u));
    } else if (timeoutMs > 0) {
      std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
    }
    if (onMessages) onMessages(*this);
  }
  bool CancelRequested() const override { return cancel; }
  std::string ResultLimitText(unsigned limit) const override {
    return "results limit " + std::to_string(limit);
  }

  std::vector<std::string> lines;
  bool ownClock = false;
  Clock::time_point clock{};
  struct Wait {
    unsigned timeoutMs;
    Clock::time_point at;
  };
  std::vector<Wait> waits;
  // Called at every ProcessMessages: the place where a user confirms a cancel.
  std::function<void(TestHost&)> onMessages;
  bool cancel = false;
};
