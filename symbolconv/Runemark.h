#pragma once
// Runemark.dll: turns a folder of icon bitmaps, or the list file "symbolid.txt"
// in it, into one symbol file for the navigation unit.
//
// StartConvert takes its arguments like a command line without the program
// name: [/ID num] [/MONO|/TEX] res_folder [GroupIDString] [SymbolIDString].
// The words are only read, never changed, and no pointer to them is kept.
// It returns one of the RunemarkResult codes. Calls must not overlap.

#ifdef RUNEMARK_BUILD
#define RUNEMARK_API
#else
#define RUNEMARK_API __declspec(dllimport)
#endif

#ifdef __cplusplus
extern "C" {
#endif

enum RunemarkResult {
    RUNEMARK_OK = 0,
    RUNEMARK_NO_FOLDER = 1,      // the resource folder text is empty
    RUNEMARK_BAD_BITMAP = 2,     // not a bitmap this mode converts, or a wrong header field
    RUNEMARK_OPEN_FAILED = 3,    // a bitmap or the list file cannot be opened
    RUNEMARK_TRUNCATED = 4,      // a bitmap ends before its headers or pixel data
    RUNEMARK_WRITE_FAILED = 5,   // the symbol file cannot be written (or memory ran out)
    RUNEMARK_DUPLICATE_ID = 6,   // two lines of the list file carry the same id
    RUNEMARK_NO_BITMAPS = 7      // the folder holds no "*.bmp" file
};

RUNEMARK_API int __cdecl StartConvert(int argc, char** argv);

#ifdef __cplusplus
}
#endif
