#pragma once
// The picture editor's document: a photo as loaded and a working copy that
// crops narrow, saved as a 24-bit BMP of the target's size (a POI icon or the
// unit's splash screen).
#include "common/DibImage.h"
#include "doc/Doc.h"

enum IgTarget { IG_TARGET_ICON = 0, IG_TARGET_SPLASH = 1 };

class CDocIg : public CDoc {
public:
    CDocIg();
    ~CDocIg() override;

    // BMP, JPEG, GIF through the OLE picture loader, then anything GDI+ reads.
    // On failure (error 2) the pictures held before stay.
    BOOL Load(const wchar_t* path) override;
    // The working picture letterboxed to the target size as a 24-bit BMP; error
    // 3 when there is none, no path, or the file cannot be written (an old file
    // of that name then stays as it was).
    BOOL Save(const wchar_t* path) override;

    void Clear();
    // The target size; for an unknown target kind the values stay.
    void GetTargetSize(int* width, int* height) const;
    // The smallest frame of the target's aspect that holds the working picture.
    void GetFitRect(RECT* out) const;
    BOOL GetScaledBitmap(DIB_IMAGE* out) const;
    BOOL GetTargetBitmap(DIB_IMAGE* out) const;
    void GetCropRectByWidth(RECT* out) const;
    void GetCropRectByHeight(RECT* out) const;
    // Keeps width x height at (x, y) of the canvas (the fit frame centred on
    // the picture; its margin is taken off first);
    // the part of the frame beside the picture comes out black. FALSE, with error 4, for an
    // empty size or a rectangle outside the frame.
    BOOL CropImage(int x, int y, int width, int height);
    BOOL HasPicture() const { return m_working.bitmap != nullptr; }

    DIB_IMAGE m_source;
    DIB_IMAGE m_working;
    int m_targetKind = IG_TARGET_ICON;

private:
    void CropRect(RECT* out, bool byWidth) const;
};
