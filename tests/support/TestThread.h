// A second thread for tests that play the user while the code under test waits in a
// modal loop. The programs are built without std::thread (single-threaded runtime), so
// this is a plain Win32 thread that runs a function and is joined on destruction.
#pragma once

#include <windows.h>

#include <functional>
#include <utility>

class TestThread {
 public:
  explicit TestThread(std::function<void()> body) : body_(std::move(body)) {
    handle_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
  }
  ~TestThread() { Join(); }
  TestThread(const TestThread&) = delete;
  TestThread& operator=(const TestThread&) = delete;

  void Join() {
    if (!handle_) return;
    WaitForSingleObject(handle_, INFINITE);
    CloseHandle(handle_);
    handle_ = nullptr;
  }

 private:
  static DWORD WINAPI Run(void* self) {
    static_cast<TestThread*>(self)->body_();
    return 0;
  }

  std::function<void()> body_;
  HANDLE handle_ = nullptr;
};
