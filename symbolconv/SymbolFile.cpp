#include "symbolconv/SymbolFile.h"

#include "symbolconv/ErrorState.h"
#include "symbolconv/Runemark.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

namespace runemark {

namespace {

class OutputFile {
public:
    ~OutputFile()
    {
        Close();
        if (!m_path.empty())
            DeleteFileA(m_path.c_str());
    }

    // A new file named after target that no other file has.
    bool CreateBeside(const std::string& target)
    {
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::string name = target + "." + std::to_string(GetCurrentProcessId()) + "-" +
                               std::to_string(attempt) + ".tmp";
            m_handle = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
            if (m_handle != INVALID_HANDLE_VALUE) {
                m_path = name;
                return true;
            }
            if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS)
                return false;
        }
        return false;
    }

    void Append(const void* data, std::size_t size)
    {
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        m_buffer.insert(m_buffer.end(), bytes, bytes + size);
    }
    void AppendInt(std::uint32_t value)
    {
        const std::uint8_t b[4] = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                                   static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
        Append(b, 4);
    }

    // Writes out what was appended when enough has gathered (or always).
    bool Flush(bool always)
    {
        if (m_buffer.empty() || (!always && m_buffer.size() < kFlushSize))
            return true;
        std::size_t done = 0;
        while (done < m_buffer.size()) {
            DWORD part = static_cast<DWORD>(std::min<std::size_t>(m_buffer.size() - done, 1u << 24));
            DWORD written = 0;
            if (!WriteFile(m_handle, m_buffer.data() + done, part, &written, nullptr) || written != part)
                return false;
            done += written;
        }
        m_buffer.clear();
        return true;
    }

    // Closes the file and puts it in place of target.
    bool Commit(const std::string& target)
    {
        if (!Flush(true) || !CloseHandle(m_handle)) {
            m_handle = INVALID_HANDLE_VALUE;
            return false;
        }
        m_handle = INVALID_HANDLE_VALUE;
        // A read-only file is not replaced (Windows refuses the move itself,
        // Wine does not).
        const DWORD attributes = GetFileAttributesA(target.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
            return false;
        if (!MoveFileExA(m_path.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING))
            return false;
        m_path.clear();
        return true;
    }

private:
    static constexpr std::size_t kFlushSize = 256 * 1024;

    void Close()
    {
        if (m_handle != INVALID_HANDLE_VALUE)
            CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
    }

    HANDLE m_handle = INVALID_HANDLE_VALUE;
    std::string m_path;
    std::vector<std::uint8_t> m_buffer;
};

bool Fail()
{
    SetErrorState(RUNEMARK_WRITE_FAILED);
    return false;
}

}  // namespace

bool WriteSymbolFile(const std::string& path, SymbolConverter& state, std::uint32_t versionStamp)
{
    const std::int64_t count = static_cast<std::int64_t>(state.records.size());
    const std::int64_t tableBytes = count * kSymbolEntrySize;
    const std::int64_t fileSize = kSymbolHeaderSize + tableBytes + state.dataBytes;
    // Offsets in the entries are int32.
    if (fileSize > std::numeric_limits<std::int32_t>::max())
        return Fail();
    const std::int32_t shift = static_cast<std::int32_t>(tableBytes + 12);

    OutputFile out;
    if (!out.CreateBeside(path))
        return Fail();
    out.Append("BMYS", 4);
    out.AppendInt(static_cast<std::uint32_t>(fileSize));
    out.AppendInt(static_cast<std::uint32_t>(count));
    out.AppendInt(static_cast<std::uint32_t>(state.groupNumber));
    out.AppendInt(versionStamp);
    for (SymbolRecord& record : state.records) {
        if (record.paletteOffset != -1)
            record.paletteOffset += shift;
        record.dataOffset += shift;
        const std::int32_t fields[6] = {record.width, record.height,     record.format,
                                        record.dataOffset, record.id, record.paletteOffset};
        for (std::int32_t field : fields)
            out.AppendInt(static_cast<std::uint32_t>(field));
    }
    for (SymbolChunk& chunk : state.chunks) {
        out.Append(chunk.bytes.data(), chunk.bytes.size());
        std::vector<std::uint8_t>().swap(chunk.bytes);
        if (!out.Flush(false))
            return Fail();
    }
    if (!out.Commit(path))
        return Fail();
    return true;
}

}  // namespace runemark
