// A growable array of plain values. Running out of memory ends the process through
// the error state (exit code 8).
#pragma once

#include <climits>
#include <cstdlib>

#include "base/ErrorState.h"

template <class T>
class Array {
 public:
  Array() = default;
  Array(const Array&) = delete;
  Array& operator=(const Array&) = delete;
  ~Array() { std::free(items); }

  void Add(const T& value) {
    if (count + 1 > capacity) Grow();
    items[count++] = value;
  }
  void Clear() {
    std::free(items);
    items = nullptr;
    count = 0;
    capacity = 0;
  }
  T& operator[](int index) { return items[index]; }
  const T& operator[](int index) const { return items[index]; }

  T* items = nullptr;
  int count = 0;
  int capacity = 0;

 private:
  void Grow() {
    constexpr int kMaxCount = static_cast<int>(INT_MAX / sizeof(T));
    if (count >= kMaxCount) errorState.MemoryError();
    long long grown = static_cast<long long>(capacity) + capacity / 4 + 32;
    if (grown < count + 1) grown = count + 1;
    if (grown > kMaxCount) grown = kMaxCount;
    void* storage = std::realloc(items, static_cast<size_t>(grown) * sizeof(T));
    if (storage == nullptr) errorState.MemoryError();
    items = static_cast<T*>(storage);
    capacity = static_cast<int>(grown);
  }
};
