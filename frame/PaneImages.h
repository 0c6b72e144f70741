#pragma once
// Skin pictures of the panes: loaded together, freed together.
#include <windows.h>

#include "common/DibImage.h"

// The pane's background colour, and what every pane does on WM_NCHITTEST:
// its background belongs to the main window's own hit test.
constexpr COLORREF kPaneBack = RGB(5, 5, 10);
constexpr LRESULT PaneNcHitTest() { return HTTRANSPARENT; }

template <int N>
class CPaneImages {
public:
    CPaneImages()
    {
        for (auto& image : m_images)
            InitDibImage(&image);
    }
    ~CPaneImages() { Free(); }
    CPaneImages(const CPaneImages&) = delete;
    CPaneImages& operator=(const CPaneImages&) = delete;
    // In the order given; FALSE at the first picture the pack lacks.
    BOOL Load(const wchar_t* const (&names)[N])
    {
        for (int i = 0; i < N; ++i)
            if (!LoadDibFromPack(names[i], &m_images[i]))
                return FALSE;
        return TRUE;
    }
    // One picture, loaded when it is first wanted; FALSE when the pack lacks it.
    BOOL LoadOne(int i, const wchar_t* name)
    {
        return m_images[i].bitmap || LoadDibFromPack(name, &m_images[i]);
    }
    void Free()
    {
        for (auto& image : m_images)
            FreeDibImage(&image);
    }
    const DIB_IMAGE& operator[](int i) const { return m_images[i]; }

private:
    DIB_IMAGE m_images[N];
};
