// A dialog keeps its data in a struct that the function running it owns; the dialog
// procedure finds it through the window's user data, set at WM_INITDIALOG from the
// parameter of DialogBoxParamA.
#pragma once

#include <windows.h>

// Attaches the data passed to DialogBoxParamA to the dialog window and records the window in it.
template <class Data>
Data* AttachDialogData(HWND window, LPARAM parameter) {
  auto* data = reinterpret_cast<Data*>(parameter);
  SetWindowLongPtrA(window, GWLP_USERDATA, parameter);
  data->window = window;
  return data;
}

// The data of a dialog; null before WM_INITDIALOG.
template <class Data>
Data* GetDialogData(HWND window) {
  return reinterpret_cast<Data*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}
