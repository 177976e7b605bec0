#pragma once

// Under Wine the release of a hotkey's Ctrl (or Shift, Alt) can reach another program's
// window while ours hides, and this thread then still holds the key: the next key typed
// would pass for Ctrl plus that key. A window taking the keyboard calls this to let go
// what is no longer held; a key still held stays as it is.
void ForgetModifiersLetGoElsewhere();
