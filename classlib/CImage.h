#pragma once
// A picture file decoded by GDI+ (every format it knows, PNG and GIF
// included), drawn scaled into a device context. GDI+ is started by the first
// picture and stays up for the life of the process.
#include <windows.h>

class CImage {
public:
    CImage() = default;
    ~CImage() { Destroy(); }
    CImage(const CImage&) = delete;
    CImage& operator=(const CImage&) = delete;

    // S_OK, or E_FAIL when the file cannot be read or decoded.
    HRESULT Load(const wchar_t* path);
    void Destroy();
    bool IsNull() const { return m_bitmap == nullptr; }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    BOOL Draw(HDC dc, int x, int y, int width, int height) const;

private:
    void* m_bitmap = nullptr;  // Gdiplus::Bitmap
    int m_width = 0, m_height = 0;
};
