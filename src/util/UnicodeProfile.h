#pragma once

// Makes a profile (.ini) file one that keeps every character: UTF-16 with its
// byte-order mark. The profile functions, A and W alike, read such a file and write to
// it in UTF-16, on Windows and on Wine; without the mark they write the ANSI code page,
// and a character it lacks becomes '?'. An ANSI file is converted with everything it
// holds, a missing one is created, a UTF-16 one is left alone. False with the reason as
// the last error; the file is then as it was.
bool MakeProfileUnicode(const char* iniPath);
