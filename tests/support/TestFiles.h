#pragma once
// Files and folders for tests: a fresh folder per test, the card drive,
// raw bytes, and the scrambled (byte-complemented) UTF-16 data files.
#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

using Bytes = std::vector<std::uint8_t>;

// Folder of the running test program, ending in a backslash.
std::wstring ExeDir();

// A file of the source tree (a path with backslashes, e.g. L"tests\\doc\\golden\\a.kml")
// as the test program sees it: MIROVALE_SOURCE, a host path, on Wine's root drive.
std::wstring SourceFile(const std::wstring& relative);

// A new empty folder under the user's temporary folder, removed with everything
// in it when the object goes away.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    // Ends in a backslash.
    const std::wstring& Path() const { return m_path; }
    std::wstring File(const std::wstring& name) const { return m_path + name; }
private:
    std::wstring m_path;
};

// Root of the removable drive that stands for the unit's card ("R:\").
std::wstring CardRoot();
// Deletes everything on the card.
void ClearCard();

// Deletes a folder and all it holds; a missing folder is fine.
void RemoveTree(const std::wstring& folder);

Bytes ReadBytes(const std::wstring& path);
void WriteBytes(const std::wstring& path, const Bytes& data);
void WriteBytes(const std::wstring& path, const std::string& data);
bool FileExists(const std::wstring& path);
// Names of the files and folders in folder (ending in a backslash), sorted.
std::vector<std::wstring> ListFolder(const std::wstring& folder);

// UTF-16LE bytes, with the byte-order mark first when bom is set.
Bytes Utf16Bytes(const std::wstring& text, bool bom = true);
std::string Utf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);
// Every byte complemented: the stored form of language and navi model files.
Bytes Scramble(Bytes data);
// Writes text as a scrambled UTF-16LE file with a byte-order mark.
void WriteScrambledText(const std::wstring& path, const std::wstring& text);
// Reads a scrambled UTF-16LE file back (byte-order mark dropped).
std::wstring ReadScrambledText(const std::wstring& path);

}  // namespace testsupport
