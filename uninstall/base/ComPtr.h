// Owns one reference to a COM interface and releases it when it goes; OleSession keeps
// COM and OLE initialised for the thread while it lives.
#pragma once

#include <ole2.h>

template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() { Reset(); }

  T* Get() const { return pointer_; }
  T* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }
  // For functions that hand out a new reference; drops the one held before.
  T** Out() {
    Reset();
    return &pointer_;
  }
  void** OutVoid() { return reinterpret_cast<void**>(Out()); }
  void Reset() {
    if (pointer_ != nullptr) pointer_->Release();
    pointer_ = nullptr;
  }

 private:
  T* pointer_ = nullptr;
};

// Initialises OLE (and with it COM) for the calling thread and, when that succeeded,
// uninitialises it when it goes. A failed start is no error: COM calls then fail alone.
class OleSession {
 public:
  OleSession() : initialized_(SUCCEEDED(OleInitialize(nullptr))) {}
  OleSession(const OleSession&) = delete;
  OleSession& operator=(const OleSession&) = delete;
  ~OleSession() {
    if (initialized_) OleUninitialize();
  }

  bool Initialized() const { return initialized_; }

 private:
  bool initialized_;
};
