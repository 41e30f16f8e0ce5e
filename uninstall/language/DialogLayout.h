// Localising a dialog while it is created: texts through the language file, sizes by
// the dialog's scale entry, and the reading direction.
#pragma once

#include <windows.h>

#include "language/LanguageResources.h"

// Translates the dialog's caption and its children's texts and, where the dialog's scale
// entry asks for it, resizes and moves them. An embedded dialog (a page inside another
// window) keeps its own size and caption.
void LocalizeDialog(const LanguageResources& language, HWND window, const char* dialogName, bool embedded);
// Mirrors the window when the language reads right to left.
void ApplyLayout(const LanguageResources& language, HWND window);
