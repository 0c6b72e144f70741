#include "ConverterFixture.h"

#include "symbolconv/Runemark.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>

namespace symboltest {

std::string Ansi(const std::wstring& text)
{
    int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? size - 1 : 0, '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, out.data(), size, nullptr, nullptr);
    return out;
}

std::wstring Wide(const std::string& text)
{
    int size = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring out(size > 0 ? size - 1 : 0, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, out.data(), size);
    return out;
}

void DeleteVersionKey()
{
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, L"Software\\Runemark");
}

void ConverterTest::SetUp()
{
    m_lock = CreateMutexW(nullptr, FALSE, L"MirovaleRunemarkRegistry");
    ASSERT_NE(nullptr, m_lock);
    WaitForSingleObject(m_lock, INFINITE);
    DeleteVersionKey();
}

void ConverterTest::TearDown()
{
    DeleteVersionKey();
    if (m_lock) {
        ReleaseMutex(m_lock);
        CloseHandle(m_lock);
    }
}

int ConverterTest::Convert(const std::vector<std::string>& words)
{
    std::vector<std::vector<char>> buffers;
    std::vector<char*> argv;
    for (const std::string& w : words)
        buffers.emplace_back(w.c_str(), w.c_str() + w.size() + 1);
    for (auto& b : buffers)
        argv.push_back(b.data());
    return StartConvert(static_cast<int>(argv.size()), argv.data());
}

int ConverterTest::ConvertPrinting(const std::vector<std::string>& words, std::string& printed)
{
    const std::wstring capture = m_dir.File(L"stdout.txt");
    std::fflush(stdout);
    const int saved = _dup(1);
    FILE* file = _wfopen(capture.c_str(), L"wb");
    _dup2(_fileno(file), 1);
    const int result = Convert(words);
    std::fflush(stdout);
    _dup2(saved, 1);
    _close(saved);
    std::fclose(file);
    const Bytes bytes = testsupport::ReadBytes(capture);
    printed.assign(bytes.begin(), bytes.end());
    DeleteFileW(capture.c_str());
    return result;
}

std::string ConverterTest::Path(const std::string& relative) const
{
    std::string dir = Ansi(m_dir.Path());
    dir.pop_back();
    return relative.empty() ? dir : dir + "\\" + relative;
}

void ConverterTest::MakeFolder(const std::string& relative) const
{
    std::string path = Path(relative);
    for (std::size_t i = Path().size() + 1; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '\\')
            CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
    }
}

void ConverterTest::Put(const std::string& relative, const Bytes& bytes) const
{
    const std::size_t cut = relative.find_last_of('\\');
    if (cut != std::string::npos)
        MakeFolder(relative.substr(0, cut));
    testsupport::WriteBytes(WPath(relative), bytes);
}

void ConverterTest::Put(const std::string& relative, const std::string& text) const
{
    Put(relative, Bytes(text.begin(), text.end()));
}

bool ConverterTest::Exists(const std::string& relative) const
{
    return GetFileAttributesA(Path(relative).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> ConverterTest::List(const std::string& relative, const std::string& pattern) const
{
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW(Wide(Path(relative) + "\\" + pattern).c_str(), &found);
    if (h == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::string name = Ansi(found.cFileName);
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileW(h, &found));
    FindClose(h);
    return names;
}

int ConverterTest::ConvertRes(const std::vector<std::string>& options, const std::string& group)
{
    std::vector<std::string> words = {"/ID", "1"};
    words.insert(words.end(), options.begin(), options.end());
    words.push_back(Path("res"));
    if (!group.empty())
        words.push_back(group);
    return Convert(words);
}

::testing::AssertionResult ConverterTest::ReadRes(SymbolFile& file, const std::string& name) const
{
    return ReadSymbolFile(WPath(name), file);
}

}  // namespace symboltest
