#pragma once
// Picture records around GDI DIB sections: 24-bit images for skins, thumbnails
// and pictures, 32-bit images with alpha for overlays; their loaders, drawers,
// pixel transforms and the BMP writer.
#include <windows.h>

// A 24-bit bottom-up DIB section. Memory row 0 is the picture's bottom row; rows
// are padded to a multiple of 4 bytes and stride is minus that row size.
struct DIB_IMAGE {
    BYTE* bits;
    HBITMAP bitmap;
    int stride;
    int width;
    int height;
};

// A 32-bit DIB section (blue, green, red, alpha; rows not padded). height keeps
// the value given to CreateDib32: positive for a top-down section, negative for
// a bottom-up one. The loaders always leave the picture's bottom row in memory row 0.
struct DIB_IMAGE32 {
    BYTE* bits;
    HBITMAP bitmap;
    int width;
    int height;
    BOOL hasAlpha;
};

// Bytes of one padded 24-bit row.
inline int DibRowSize(int width) { return (width * 3 + 3) & ~3; }

void InitDibImage(DIB_IMAGE* image);
void FreeDibImage(DIB_IMAGE* image);
BOOL CreateDib(DIB_IMAGE* image, int width, int height);
BOOL SetDibBits(DIB_IMAGE* image, int width, int height, const void* source);

BOOL LoadDibFromPack(LPCWSTR entryName, DIB_IMAGE* image);
BOOL LoadBmpFile(LPCWSTR path, DIB_IMAGE* image);
BOOL LoadPictureFile(DIB_IMAGE* image, LPCWSTR path, int maxWidth, int maxHeight);
BOOL SaveDibAsBmp(LPCWSTR path, const DIB_IMAGE* image);

BOOL DrawDib(const DIB_IMAGE* image, HDC dc, int x, int y);
BOOL DrawDibEx(const DIB_IMAGE* image, HDC dc, int x, int y, int destWidth, int destHeight,
               int srcX, int srcY, int srcWidth, int srcHeight);
BOOL FillRectWithDib(HDC dc, const DIB_IMAGE* image, const RECT* rect, BOOL tile);

BOOL ResizeDib(DIB_IMAGE* image, int newWidth, int newHeight, int srcX, int srcY, int srcWidth, int srcHeight);
BOOL FitDib(DIB_IMAGE* image, int boxWidth, int boxHeight);
void FitDibLetterbox(DIB_IMAGE* image, int width, int height);
BOOL RotateDibRight(DIB_IMAGE* image);
BOOL RotateDibLeft(DIB_IMAGE* image);
void AvoidPureBlack(DIB_IMAGE* image);
void FillDibBackground(DIB_IMAGE* image);
BOOL StackDibs(DIB_IMAGE* top, const DIB_IMAGE* bottom);
BOOL OverlayDib32(LPCWSTR entryName, DIB_IMAGE* image);

BOOL CreateDib32(DIB_IMAGE32* image, int width, int height);
BOOL LoadDib32FromPack(LPCWSTR entryName, DIB_IMAGE32* image);
void FreeDibImage32(DIB_IMAGE32* image);
void AlphaToMagentaKey(DIB_IMAGE32* image);

