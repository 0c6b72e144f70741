#pragma once
// The file version of a module from its version resource (resource 1 of type
// RT_VERSION).
#include <windows.h>

// The four parts of the fixed file version (2.3.0.0 gives 2, 3, 0, 0); FALSE
// (all zeros) when the module has no version resource. NULL: the program.
BOOL ReadFileVersion(HMODULE module, int parts[4]);
