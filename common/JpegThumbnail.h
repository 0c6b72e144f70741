#pragma once
// Thumbnails of JPEG files decoded at a fraction of their size: libjpeg scales
// by 1/2, 1/4 or 1/8 while decoding (a camera photo at 1/8 costs a small part
// of a full decode), and the rest is averaged down to fit the box.
#include <windows.h>

#include "common/DibImage.h"

// The size a width x height picture gets in a box: its own when it fits, else
// fitted into the box keeping its proportions; at least 1 x 1.
SIZE FitThumbnailSize(int width, int height, int boxWidth, int boxHeight);

// The JPEG file at path as a thumbnail of FitThumbnailSize. FALSE, with the
// image left empty, for a file that is not a JPEG, cannot be decoded, or holds
// colours libjpeg does not turn into RGB (CMYK): other loaders may still read it.
BOOL LoadJpegThumbnail(LPCWSTR path, int boxWidth, int boxHeight, DIB_IMAGE* image);
