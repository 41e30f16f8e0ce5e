// A dialog keeps its data in a struct that the function running it owns; the dialog
// procedure finds it through the window's user data, set at WM_INITDIALOG from the
// parameter of DialogBoxParamA.
#pragma once

#include <windows.h>

#include "language/ExtResource.h"

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

// The messages every dialog handles alike: WM_INITDIALOG attaches the data and calls
// `onInit`, WM_COMMAND calls `onCommand` with the control's identifier once the data is
// there. Every other message is left to the system (FALSE).
template <class Data>
INT_PTR DispatchDialogMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              INT_PTR (*onInit)(Data&), INT_PTR (*onCommand)(Data&, int)) {
  switch (message) {
    case WM_INITDIALOG:
      return onInit(*AttachDialogData<Data>(window, lParam));
    case WM_COMMAND:
      if (Data* dialog = GetDialogData<Data>(window)) return onCommand(*dialog, LOWORD(wParam));
      return FALSE;
    default:
      return FALSE;
  }
}

// Runs the dialog template `templateName` of the resource module with `data` as its
// state; the result is the one given to EndDialog (or -1 when the dialog cannot be made).
template <class Data>
INT_PTR RunDialog(const char* templateName, HWND owner, DLGPROC procedure, Data& data) {
  return DialogBoxParamA(ExtResource::currentModule, templateName, owner, procedure,
                         reinterpret_cast<LPARAM>(&data));
}
