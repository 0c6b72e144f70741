#include "common/UiTextSource.h"

#include <atomic>

namespace {
std::atomic<UiTextLookup> g_lookup{nullptr};
}  // namespace

void SetUiTextLookup(UiTextLookup lookup)
{
    g_lookup = lookup;
}

const wchar_t* UiTextOrNull(int n)
{
    const UiTextLookup lookup = g_lookup;
    return lookup ? lookup(n) : nullptr;
}

CString UiTextAt(int n)
{
    const wchar_t* text = UiTextOrNull(n);
    if (!text)
        AfxThrowInvalidArgException();
    return text;
}
