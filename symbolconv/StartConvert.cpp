// The export: the argument walk, then one conversion run.
#include "symbolconv/Runemark.h"

#include "symbolconv/ConvertSymbols.h"
#include "symbolconv/ErrorState.h"
#include "symbolconv/PathText.h"
#include "symbolconv/SymbolConverter.h"
#include "symbolconv/VersionStamp.h"

#include <windows.h>

#include <cstdio>
#include <exception>
#include <string>

namespace runemark {

namespace {

struct Arguments {
    bool mono = false;
    bool tex = false;
    std::int32_t groupNumber = -1;  // -1: not given
    std::string folder;
    std::string groupName;
    std::string symbolPrefix;
};

std::string CurrentDirectory()
{
    DWORD size = GetCurrentDirectoryA(0, nullptr);
    while (size > 0) {
        std::string dir(size, '\0');
        DWORD got = GetCurrentDirectoryA(size, dir.data());
        if (got < size) {
            dir.resize(got);
            return dir;
        }
        size = got;  // the folder changed in between: try with the new size
    }
    return std::string();
}

Arguments ParseArguments(int argc, char** argv)
{
    Arguments args;
    bool numberNext = false;
    for (int i = 0; i < argc; ++i) {
        const char* word = argv && argv[i] ? argv[i] : "";
        if (numberNext) {
            args.groupNumber = ParseDecimal(word);
            numberNext = false;
            continue;
        }
        if (word[0] == '/') {
            // Upper-cased in a copy: the caller's words may be read-only.
            std::string option = word;
            for (char& c : option) {
                if (c >= 'a' && c <= 'z')
                    c = static_cast<char>(c - 'a' + 'A');
            }
            if (option == "/ID")
                numberNext = true;
            else if (option == "/?")
                std::printf("Usage: Runemark [/ID num]  [/MONO|TEX] res_folder [GroupIDString] [SymbolIDString]\n");
            else if (option == "/MONO")
                args.mono = true;
            else if (option == "/TEX")
                args.tex = true;
            continue;
        }
        if (args.folder.empty()) {
            args.folder = word;
            if (!args.folder.empty() && !IsAbsolutePath(args.folder))
                args.folder = CurrentDirectory() + "/" + args.folder;
        } else if (args.groupName.empty()) {
            args.groupName = word;
        } else if (args.symbolPrefix.empty()) {
            args.symbolPrefix = word;
        }
    }
    if (argc <= 0 || args.groupNumber == -1) {
        std::printf("warning : number of GroupID has not been specified; force to 0 by default. \n");
        std::printf("using [/ID num] to specify.\n");
        args.groupNumber = 0;
    }
    return args;
}

int Run(int argc, char** argv)
{
    const Arguments args = ParseArguments(argc, argv);
    const std::uint32_t stamp = ReadVersionStamp();
    SymbolConverter state;
    InitConverter(state, args.mono, args.tex);
    const int result = ConvertSymbols(state, args.folder, args.groupName, args.symbolPrefix, args.groupNumber, stamp);
    if (result == RUNEMARK_OK)
        BumpSubVersion();
    FreeConverter(state);
    return result;
}

}  // namespace

}  // namespace runemark

extern "C" int __cdecl StartConvert(int argc, char** argv)
{
    runemark::SetErrorState(0);
    try {
        return runemark::Run(argc, argv);
    } catch (const std::exception&) {
        // Out of memory; nothing was written, the file is only written at the end.
        runemark::SetErrorState(RUNEMARK_WRITE_FAILED);
        return RUNEMARK_WRITE_FAILED;
    }
}
