#pragma once

// Asks the shell to open help.chm from the program's folder. Whatever goes wrong
// (no such file, no help viewer) the shell reports itself.
void OpenHelpFile();
