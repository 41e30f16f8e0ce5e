// DONEDLG: the setup is finished. Shows the installation folder and offers to start the
// archiver and to open its help, licence, price list and home page. In silent mode the
// dialog closes by itself.
#pragma once

#include <windows.h>

// Runs the dialog without owner; always 1.
INT_PTR RunDoneDialog();
