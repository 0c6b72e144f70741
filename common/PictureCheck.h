#pragma once
// What may be handed to the platform's picture decoder (OleLoadPicture). The
// decoder trusts the sizes and offsets in the bytes and reads past them, so
// every picture is first checked against the bytes there are: BMP (every
// compression), icons and cursors, GIF; JPEG and PNG, whose decoders check
// their own lengths, by their headers. Anything else the decoder would take
// (metafiles, size-prefixed streams...) is refused.
#include <windows.h>

#include <cstddef>

bool PictureBytesAreSafe(const BYTE* data, size_t size);
