// A handle together with the function that releases it. Ownership moves, never copies;
// Release hands the handle out, for example once an operation has succeeded.
#pragma once

#include <cstdio>
#include <utility>

template <class T, auto Closer, T Invalid = T{}>
class Handle {
 public:
  Handle() = default;
  explicit Handle(T handle) : handle_(handle) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  Handle(Handle&& other) noexcept : handle_(other.Release()) {}
  Handle& operator=(Handle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  ~Handle() { Reset(); }

  T Get() const { return handle_; }
  bool IsValid() const { return handle_ != Invalid; }
  explicit operator bool() const { return IsValid(); }
  T Release() { return std::exchange(handle_, Invalid); }
  void Reset(T handle = Invalid) {
    if (handle_ != Invalid) Closer(handle_);
    handle_ = handle;
  }

 private:
  T handle_ = Invalid;
};

namespace handle_closers {
inline void CloseStream(std::FILE* stream) {
  std::fclose(stream);
}
}  // namespace handle_closers

// A C stream from fopen. Whoever must know whether the data reached the file closes it
// through Release and checks fclose's result.
using FileStream = Handle<std::FILE*, handle_closers::CloseStream>;
