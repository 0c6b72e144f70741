#include "common/CsvTable.h"

#include "common/FileReplace.h"
#include "common/FileUtil.h"

#include <algorithm>
#include <string>

namespace {

constexpr int kMaxColumns = 56;

// Scans one cell of [p, end) up to the first delimiter outside quotes and
// returns where it stopped (at the delimiter or at end). Quotes: inside a quoted
// section a doubled quote is one quote; outside, a doubled quote is one quote
// only after text, so that "" alone is an empty quoted cell; any other quote
// opens or closes a quoted section and is dropped.
// In a whole file (lastQuote set: the file's last quote, or null when it has
// none) a line end outside quotes ends the cell too, while one inside quotes
// belongs to the cell; a quote that nothing closes (the file's last one opening
// a section) ends with its line, so one stray quote does not swallow the file.
const wchar_t* ScanCell(const wchar_t* p, const wchar_t* end, wchar_t delimiter, std::wstring& cell,
                        bool wholeFile = false, const wchar_t* lastQuote = nullptr)
{
    bool quoted = false;
    bool unclosed = false;
    for (; p < end; ++p) {
        // A run of plain characters goes into the cell in one piece.
        const wchar_t* run = p;
        while (run < end && *run != L'"' && *run != delimiter && *run != L'\r' && *run != L'\n')
            ++run;
        if (run > p) {
            cell.append(p, static_cast<size_t>(run - p));
            p = run;
            if (p == end)
                break;
        }
        wchar_t c = *p;
        if (c == L'"') {
            if (p + 1 < end && p[1] == L'"' && (quoted || !cell.empty())) {
                cell += L'"';
                ++p;
            } else {
                quoted = !quoted;
                unclosed = quoted && p == lastQuote;
            }
        } else if (c == delimiter && !quoted) {
            return p;
        } else if (wholeFile && (c == L'\r' || c == L'\n') && (!quoted || unclosed)) {
            return p;
        } else {
            cell += c;
        }
    }
    return p;
}

std::wstring DecodeText(const std::string& bytes)
{
    const char* data = bytes.data();
    int size = static_cast<int>(bytes.size());
    if (size >= 2 && static_cast<unsigned char>(data[0]) == 0xFF && static_cast<unsigned char>(data[1]) == 0xFE)
        return std::wstring(reinterpret_cast<const wchar_t*>(data + 2), (size - 2) / 2);
    UINT codePage = CP_ACP;
    if (size >= 3 && static_cast<unsigned char>(data[0]) == 0xEF && static_cast<unsigned char>(data[1]) == 0xBB &&
        static_cast<unsigned char>(data[2]) == 0xBF) {
        codePage = CP_UTF8;
        data += 3;
        size -= 3;
    }
    std::wstring text;
    if (size <= 0)
        return text;
    int n = MultiByteToWideChar(codePage, 0, data, size, nullptr, 0);
    if (n <= 0)
        return text;
    text.resize(n);
    MultiByteToWideChar(codePage, 0, data, size, text.data(), n);
    return text;
}

bool IsLineEnd(wchar_t c) { return c == L'\r' || c == L'\n'; }

}  // namespace

CCsvTable::~CCsvTable() = default;

void CCsvTable::RemoveAll()
{
    m_rows.clear();
}

BOOL CCsvTable::Load(const wchar_t* path)
{
    RemoveAll();
    std::string bytes;
    if (!ReadWholeFile(path, bytes))
        return FALSE;
    try {
        std::wstring text = DecodeText(bytes);
        bytes.clear();
        bytes.shrink_to_fit();
        const wchar_t* p = text.data();
        const wchar_t* end = p + text.size();
        const size_t last = text.rfind(L'"');
        const wchar_t* lastQuote = last == std::wstring::npos ? nullptr : p + last;
        std::wstring cell;
        // Rows end at line ends outside quotes (CR LF, CR or LF); empty lines
        // are skipped; a line break inside quotes stays in its cell.
        while (p < end) {
            const wchar_t* rowStart = p;
            auto row = std::make_unique<CStringArray>();
            for (;;) {
                cell.clear();
                p = ScanCell(p, end, m_delimiter, cell, true, lastQuote);
                if (p < end && *p == m_delimiter) {
                    row->vec().emplace_back(std::move(cell));
                    ++p;
                    continue;
                }
                if (!cell.empty())
                    row->vec().emplace_back(std::move(cell));
                break;
            }
            if (p > rowStart)
                m_rows.push_back(std::move(row));
            if (p < end)
                p += (*p == L'\r' && p + 1 < end && p[1] == L'\n') ? 2 : 1;
        }
    } catch (const std::exception&) {
        RemoveAll();
        return FALSE;
    }
    return TRUE;
}

void CCsvTable::AddRow(const wchar_t* line)
{
    auto row = std::make_unique<CStringArray>();
    if (line) {
        const wchar_t* end = line + wcslen(line);
        const wchar_t* p = line;
        std::wstring cell;
        for (;;) {
            cell.clear();
            p = ScanCell(p, end, m_delimiter, cell);
            if (p == end) {
                if (!cell.empty())
                    row->vec().emplace_back(std::move(cell));
                break;
            }
            row->vec().emplace_back(std::move(cell));
            ++p;
        }
    }
    m_rows.push_back(std::move(row));
}

CString CCsvTable::GetCell(int row, int column) const
{
    if (row < 0 || row >= GetRowCount())
        return CString();
    const CStringArray& cells = *m_rows[row];
    if (column < 0 || column >= cells.GetSize())
        return CString();
    return cells[column];
}

const CStringArray* CCsvTable::GetRow(int row) const
{
    return row >= 0 && row < GetRowCount() ? m_rows[row].get() : nullptr;
}

int CCsvTable::GetMaxColumnCount() const
{
    int widest = 0;
    for (const auto& row : m_rows)
        widest = std::max(widest, static_cast<int>(row->GetSize()));
    return std::min(widest, kMaxColumns);
}

CString CCsvTable::QuoteField(const wchar_t* text, wchar_t delimiter)
{
    CString s(text);
    bool quote = s.Find(L'\t') >= 0 || s.Find(L'"') >= 0 || (!s.IsEmpty() && s.Find(delimiter) >= 0);
    s.Replace(L"\"", L"\"\"");
    if (quote)
        s = L"\"" + s + L"\"";
    return s;
}

BOOL CCsvTable::Save(const wchar_t* path) const
{
    if (m_rows.empty() || !path || !*path)
        return FALSE;
    std::wstring text;
    try {
        for (const auto& row : m_rows) {
            INT_PTR count = row->GetSize();
            for (INT_PTR i = 0; i < count; ++i) {
                CString cell = (*row)[i];
                if (i == count - 1) {
                    // Writers end a row with "\n" in its last cell; the line end
                    // goes after the quoting, never inside it.
                    int keep = cell.GetLength();
                    while (keep > 0 && IsLineEnd(cell.GetString()[keep - 1]))
                        --keep;
                    cell.Truncate(keep);
                }
                // A line break inside a cell would split the row on reading.
                cell.Replace(L"\r\n", L" ");
                cell.Replace(L'\r', L' ');
                cell.Replace(L'\n', L' ');
                if (i > 0)
                    text += m_delimiter;
                text += QuoteField(cell, m_delimiter).str();
            }
            text += L"\r\n";
        }
    } catch (const std::exception&) {
        return FALSE;
    }
    const std::string bytes = EncodeTextFile(text.data(), text.size());
    return !bytes.empty() && WriteFileReplacing(path, bytes.data(), bytes.size());
}

std::string EncodeTextFile(const wchar_t* text, size_t length)
{
    const int size = static_cast<int>(length);
    std::string bytes;
    if (size <= 0)
        return bytes;
    BOOL lossy = FALSE;
    int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, size, nullptr, 0, nullptr, &lossy);
    if (!lossy && n > 0) {
        bytes.resize(static_cast<size_t>(n));
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, size, bytes.data(), n, nullptr, nullptr);
        return bytes;
    }
    n = WideCharToMultiByte(CP_UTF8, 0, text, size, nullptr, 0, nullptr, nullptr);
    bytes = "\xEF\xBB\xBF";
    if (n > 0) {
        bytes.resize(3 + static_cast<size_t>(n));
        WideCharToMultiByte(CP_UTF8, 0, text, size, bytes.data() + 3, n, nullptr, nullptr);
    }
    return bytes;
}

CString QuoteCsvText(const wchar_t* text)
{
    CString s(text);
    bool quote = s.FindOneOf(L" ,\t\"") >= 0;
    s.Replace(L"\"", L"\"\"");
    if (quote)
        s = L"\"" + s + L"\"";
    return s;
}

BOOL GetCsvField(const wchar_t* line, CString& field, int index)
{
    field.Empty();
    if (!line || index < 0)
        return FALSE;
    const wchar_t* p = line;
    const wchar_t* end = line + wcslen(line);
    std::wstring cell;
    for (int i = 0; i <= index; ++i) {
        if (p >= end)
            return FALSE;
        cell.clear();
        p = ScanCell(p, end, L',', cell);
        if (p < end)
            ++p;  // past the comma; nothing follows it when it was the last character
    }
    field = CString(std::move(cell));
    return TRUE;
}
