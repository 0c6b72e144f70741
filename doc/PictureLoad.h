#pragma once
// The picture loader of the picture and settings documents.
#include "common/DibImage.h"

// BMP, JPEG, GIF through the OLE picture loader, then anything GDI+ reads, at
// natural size into a new 24-bit DIB; FALSE (out empty) when neither can.
BOOL LoadAnyPicture(const wchar_t* path, DIB_IMAGE* out);
