#include "symbolconv/ConvertSymbols.h"

#include "symbolconv/BmpConverters.h"
#include "symbolconv/ErrorState.h"
#include "symbolconv/PathText.h"
#include "symbolconv/Runemark.h"
#include "symbolconv/SymbolFile.h"

#include <windows.h>

#include <cctype>
#include <vector>

namespace runemark {

namespace {

enum class Outcome { Converted, BadFile, Failed };

// Checks one bitmap and converts it with the converter of the current mode.
// BadFile: the file failed its check (the code is in the error state).
Outcome ConvertBitmap(SymbolConverter& state, const std::string& path)
{
    BmpFile bmp;
    int bitCount = 0;
    if (!ReadBmpBitCount(path, bmp, bitCount))
        return Outcome::BadFile;
    BmpConverter convert = PickConverter(state.mono, bitCount);
    if (!convert) {
        SetErrorState(RUNEMARK_BAD_BITMAP);
        return Outcome::Failed;
    }
    if (!convert(bmp, state))
        return Outcome::Failed;
    ++state.symbolCount;
    return Outcome::Converted;
}

class FindHandle {
public:
    explicit FindHandle(HANDLE h) : m_h(h) {}
    ~FindHandle()
    {
        if (m_h != INVALID_HANDLE_VALUE)
            FindClose(m_h);
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    HANDLE Get() const { return m_h; }

private:
    HANDLE m_h;
};

bool ReadLine(std::FILE* file, std::string& line)
{
    line.clear();
    int c;
    bool any = false;
    while ((c = std::getc(file)) != EOF) {
        any = true;
        if (c == '\n')
            return true;
        line += static_cast<char>(c);
    }
    return any;
}

std::vector<std::string> SplitWords(const std::string& line)
{
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i])))
            ++i;
        std::size_t start = i;
        while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i])))
            ++i;
        if (i > start)
            words.push_back(line.substr(start, i - start));
    }
    return words;
}

std::string LowerAscii(std::string text)
{
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

}  // namespace

bool ScanBmpFolder(SymbolConverter& state, const std::string& folder)
{
    WIN32_FIND_DATAA found;
    FindHandle search(FindFirstFileA((folder + "\\*.bmp").c_str(), &found));
    if (search.Get() == INVALID_HANDLE_VALUE) {
        SetErrorState(RUNEMARK_NO_BITMAPS);
        return false;
    }
    do {
        if (found.cFileName[0] == '.')
            continue;
        state.currentFile = folder + "/" + found.cFileName;
        state.currentIdText.clear();
        switch (ConvertBitmap(state, state.currentFile)) {
        case Outcome::Converted:
            break;
        case Outcome::BadFile:
            // Skipped, but its id stays used: the caller maps the n-th bitmap of
            // the folder to symbol n, so later bitmaps must keep their ids.
            TakeNextId(state);
            break;
        case Outcome::Failed:
            return false;
        }
    } while (FindNextFileA(search.Get(), &found));
    return true;
}

bool ParseSymbolList(SymbolConverter& state, std::FILE* list, const std::string& listPath)
{
    const std::string listFolder = ParentFolder(listPath);
    std::string subfolder;
    std::string line;
    while (ReadLine(list, line)) {
        const std::vector<std::string> words = SplitWords(line);
        if (words.empty())
            continue;
        const std::string keyword = LowerAscii(words[0]);
        if (keyword == "@dir") {
            if (words.size() > 1)
                subfolder = words[1];
            continue;
        }
        if (keyword == "@mode") {
            const std::string mode = words.size() > 1 ? LowerAscii(words[1]) : std::string();
            state.tex = mode == "tex";
            state.mono = mode == "mono";
            continue;
        }
        if (keyword == "@groupid")
            continue;  // the header keeps the number given with /ID

        // file [name] id [comment]
        const std::string& file = words[0];
        if (words.size() > 1 && words[1][0] >= '0' && words[1][0] <= '9')
            state.currentIdText = words[1];
        else if (words.size() > 2)
            state.currentIdText = words[2];
        else
            state.currentIdText.clear();
        if (IsAbsolutePath(file))
            state.currentFile = file;
        else if (subfolder.empty() || subfolder == ".")
            state.currentFile = listFolder + "/" + file;
        else
            state.currentFile = listFolder + "/" + subfolder + "/" + file;

        if (ConvertBitmap(state, state.currentFile) != Outcome::Converted)
            return false;
        if (!InsertSortedById(state))
            return false;
    }
    return true;
}

int ConvertSymbols(SymbolConverter& state, const std::string& folder, std::string groupName,
                   const std::string& symbolPrefix, std::int32_t groupNumber, std::uint32_t versionStamp)
{
    (void)symbolPrefix;
    if (folder.empty()) {
        SetErrorState(RUNEMARK_NO_FOLDER);
        return RUNEMARK_NO_FOLDER;
    }
    if (groupName.empty())
        groupName = LastPathComponent(folder);
    for (char& c : groupName)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const std::string output = ParentFolder(folder) + "/" + groupName + ".symb";
    state.groupName = groupName;
    state.groupNumber = groupNumber;

    const std::string listPath = folder + "/symbolid.txt";
    bool converted;
    if (std::FILE* list = std::fopen(listPath.c_str(), "rb")) {
        converted = ParseSymbolList(state, list, listPath);
        std::fclose(list);
    } else {
        converted = ScanBmpFolder(state, folder);
    }
    if (!converted)
        return GetErrorState();
    WriteSymbolFile(output, state, versionStamp);
    // 0, or the code of a bitmap that folder mode skipped.
    return GetErrorState();
}

}  // namespace runemark
