// Start-up and shut-down of the process.
#pragma once

#include <windows.h>

struct ProcessResources {
  HMODULE richEdit = nullptr;
  bool oleInitialized = false;
};

// Language library, language file, COM, the rich edit control, the icon and the bold
// font, in this order.
void StartUp(HINSTANCE instance, ProcessResources& resources);
void ShutDown(ProcessResources& resources);
