// The setup flow ("/setup"): the setup dialog, the completion dialog, then the program
// group folder.
#pragma once

void RunSetup();
