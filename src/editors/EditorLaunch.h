#pragma once

// Starts program maximised with file as its one parameter, both quoted so that
// paths with spaces arrive whole. When the program cannot be started (removed or
// moved since it was added) a message naming it is shown, owned by the main frame.
void LaunchEditor(const char* program, const char* file);
