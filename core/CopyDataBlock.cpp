#include "core/CopyDataBlock.h"

#include <cstring>

void FillCommandLineBlock(CMDLINE_COPYDATA& block, const wchar_t* commandLine)
{
    std::memset(&block, 0, sizeof(block));
    if (!commandLine)
        return;
    block.length = lstrlenW(commandLine);
    lstrcpynW(block.text, commandLine, 2048);
}

LRESULT SendCommandLineBlock(HWND target, const CMDLINE_COPYDATA& block)
{
    COPYDATASTRUCT data{};
    data.dwData = 0;
    data.cbData = sizeof(block);
    data.lpData = const_cast<CMDLINE_COPYDATA*>(&block);
    return ::SendMessageW(target, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
}

BOOL ReadCommandLineBlock(const COPYDATASTRUCT* data, CString& text)
{
    text.Empty();
    if (!data || data->dwData != 0 || data->cbData != sizeof(CMDLINE_COPYDATA) || !data->lpData)
        return FALSE;
    const auto* block = static_cast<const CMDLINE_COPYDATA*>(data->lpData);
    const size_t max = sizeof(block->text) / sizeof(wchar_t);
    size_t n = 0;
    while (n < max && block->text[n])
        ++n;
    text = CString(block->text, static_cast<int>(n));
    return TRUE;
}
