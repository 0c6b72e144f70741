#include "common/ModuleVersion.h"

BOOL ReadFileVersion(HMODULE module, int parts[4])
{
    parts[0] = parts[1] = parts[2] = parts[3] = 0;
    if (!module)
        module = ::GetModuleHandleW(nullptr);
    HRSRC res = ::FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16) /* RT_VERSION */);
    HGLOBAL loaded = res ? ::LoadResource(module, res) : nullptr;
    const BYTE* data = loaded ? static_cast<const BYTE*>(::LockResource(loaded)) : nullptr;
    const DWORD size = res ? ::SizeofResource(module, res) : 0;
    if (!data)
        return FALSE;
    // The fixed file information follows the "VS_VERSION_INFO" header, on a
    // four-byte boundary; its signature finds it.
    for (DWORD off = 0; off + sizeof(VS_FIXEDFILEINFO) <= size; off += 4) {
        const auto* info = reinterpret_cast<const VS_FIXEDFILEINFO*>(data + off);
        if (info->dwSignature == 0xFEEF04BD) {
            parts[0] = HIWORD(info->dwFileVersionMS);
            parts[1] = LOWORD(info->dwFileVersionMS);
            parts[2] = HIWORD(info->dwFileVersionLS);
            parts[3] = LOWORD(info->dwFileVersionLS);
            return TRUE;
        }
    }
    return FALSE;
}
