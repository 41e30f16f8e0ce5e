// Owns one system handle and closes it once. Hand it out with Release only on success.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <utility>

template <typename T, auto Close, T Empty = T()>
class Handle {
 public:
  Handle() = default;
  explicit Handle(T value) : value_(value) {}
  ~Handle() { Reset(); }
  Handle(Handle&& other) noexcept : value_(std::exchange(other.value_, Empty)) {}
  Handle& operator=(Handle&& other) noexcept {
    if (this != &other) {
      Reset();
      value_ = std::exchange(other.value_, Empty);
    }
    return *this;
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;

  T Get() const { return value_; }
  explicit operator bool() const { return value_ != Empty; }
  T Release() { return std::exchange(value_, Empty); }
  void Reset(T value = Empty) {
    if (value_ != Empty) Close(value_);
    value_ = value;
  }

 private:
  T value_ = Empty;
};

inline void CloseKernelHandle(HANDLE h) {
  CloseHandle(h);
}
inline void CloseRegistryKey(HKEY key) {
  RegCloseKey(key);
}
inline void DeleteGdiObject(HGDIOBJ object) {
  DeleteObject(object);
}
inline void DestroyImageList(HIMAGELIST list) {
  ImageList_Destroy(list);
}

// Kernel handles are held as null when empty; CreateFile's INVALID_HANDLE_VALUE is
// turned into null before it is stored (FileNamed).
using KernelHandle = Handle<HANDLE, CloseKernelHandle, nullptr>;
using RegistryKey = Handle<HKEY, CloseRegistryKey, nullptr>;
using FontHandle = Handle<HFONT, DeleteGdiObject, nullptr>;
using BitmapHandle = Handle<HBITMAP, DeleteGdiObject, nullptr>;
using ImageListHandle = Handle<HIMAGELIST, DestroyImageList, nullptr>;

// A window's device context (the screen's for a null window), given back to the window
// when it goes. Null when the system has none to give.
class WindowDC {
 public:
  explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDC() {
    if (dc_ != nullptr) ReleaseDC(window_, dc_);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;

  HDC Get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

inline KernelHandle FileNamed(HANDLE file) {
  return KernelHandle(file == INVALID_HANDLE_VALUE ? nullptr : file);
}
