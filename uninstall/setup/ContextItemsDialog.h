// CONTEXTITEMS: the items that the archiver's shell extension offers in Explorer's
// context menu. OK stores them at once, whatever the owner dialog does afterwards.
#pragma once

#include <windows.h>

// Runs the dialog owned by `owner`; 1 after OK, 0 after Cancel.
INT_PTR RunContextItemsDialog(HWND owner);
