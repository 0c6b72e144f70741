#include "core/Global.h"

CGlobal theGlobal;

CGlobal::CGlobal() = default;

CGlobal::~CGlobal() = default;

void CGlobal::RegisterView(CWnd* view)
{
    m_views.Add(view);
}

void CGlobal::UpdateAllViews()
{
    for (INT_PTR i = 0; i < m_views.GetSize(); ++i) {
        CWnd* view = m_views[i];
        if (view && view->GetSafeHwnd())
            ::SendMessageW(view->GetSafeHwnd(), WM_COMMAND, ID_UPDATE, 0);
    }
}

void CGlobal::GetFileVersion(int& v1, int& v2, int& v3, int& v4)
{
    v1 = v2 = v3 = v4 = 0;
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC res = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16) /* RT_VERSION */);
    if (!res)
        return;
    HGLOBAL loaded = LoadResource(module, res);
    const BYTE* data = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    DWORD size = SizeofResource(module, res);
    if (!data || size < 40)
        return;
    // The fixed file information follows the "VS_VERSION_INFO" header; find it by its signature.
    for (DWORD off = 0; off + sizeof(VS_FIXEDFILEINFO) <= size; off += 4) {
        const auto* info = reinterpret_cast<const VS_FIXEDFILEINFO*>(data + off);
        if (info->dwSignature == 0xFEEF04BD) {
            v1 = HIWORD(info->dwFileVersionMS);
            v2 = LOWORD(info->dwFileVersionMS);
            v3 = HIWORD(info->dwFileVersionLS);
            v4 = LOWORD(info->dwFileVersionLS);
            return;
        }
    }
}
