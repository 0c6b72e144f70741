#include "common/JpegThumbnail.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "common/JpegErrors.h"

namespace {

// What libjpeg may allocate for one file (a progressive file keeps all its
// coefficients); more is a damaged or hostile header.
constexpr long kMaxDecoderMemory = 256L * 1024 * 1024;

bool StartsLikeJpeg(FILE* file)
{
    unsigned char head[3];
    const bool jpeg = fread(head, 1, 3, file) == 3 && head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF;
    rewind(file);
    return jpeg;
}

// The strongest reduction libjpeg offers that still leaves at least the
// target's pixels each way.
unsigned ScaleDenominator(int width, int height, int targetWidth, int targetHeight)
{
    for (unsigned d = 8; d > 1; d /= 2)
        if ((width + static_cast<int>(d) - 1) / static_cast<int>(d) >= targetWidth &&
            (height + static_cast<int>(d) - 1) / static_cast<int>(d) >= targetHeight)
            return d;
    return 1;
}

// Target column or row of a decoded one: each target pixel averages a block of
// decoded ones.
int TargetOf(int source, int sourceCount, int targetCount)
{
    return static_cast<int>(static_cast<long long>(source) * targetCount / sourceCount);
}

// Only plain C data lives in this frame, so the long jump out of libjpeg
// skips no destructor.
bool Decode(FILE* file, int boxWidth, int boxHeight, DIB_IMAGE* image)
{
    jpeg_decompress_struct info;
    JpegErrorManager error;
    JSAMPLE* volatile row = nullptr;
    unsigned* volatile sums = nullptr;
    // Warnings (a truncated file, a damaged block) leave part of the picture
    // grey, which is still shown; errors give no thumbnail.
    info.err = JpegQuietErrors(error);
    if (setjmp(error.resume)) {
        free(row);
        free(sums);
        jpeg_destroy_decompress(&info);
        FreeDibImage(image);
        return false;
    }
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = kMaxDecoderMemory;
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    if (info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    const SIZE size = FitThumbnailSize(static_cast<int>(info.image_width), static_cast<int>(info.image_height),
                                       boxWidth, boxHeight);
    const int targetWidth = size.cx, targetHeight = size.cy;
    info.out_color_space = JCS_RGB;
    info.scale_num = 1;
    info.scale_denom = ScaleDenominator(static_cast<int>(info.image_width), static_cast<int>(info.image_height),
                                        targetWidth, targetHeight);
    info.dct_method = JDCT_IFAST;
    info.do_fancy_upsampling = FALSE;
    jpeg_start_decompress(&info);
    const int width = static_cast<int>(info.output_width), height = static_cast<int>(info.output_height);
    if (info.output_components != 3 || width < targetWidth || height < targetHeight ||
        !CreateDib(image, targetWidth, targetHeight)) {
        jpeg_destroy_decompress(&info);
        FreeDibImage(image);
        return false;
    }
    // Per target column: the sums of blue, green and red, then how many
    // decoded columns fall on it.
    row = static_cast<JSAMPLE*>(malloc(static_cast<size_t>(width) * 3));
    sums = static_cast<unsigned*>(calloc(static_cast<size_t>(targetWidth) * 4, sizeof(unsigned)));
    if (!row || !sums)
        JpegErrorExit(reinterpret_cast<j_common_ptr>(&info));
    unsigned* const columns = sums + static_cast<size_t>(targetWidth) * 3;
    for (int x = 0; x < width; ++x)
        ++columns[TargetOf(x, width, targetWidth)];
    unsigned rows = 0;
    while (info.output_scanline < info.output_height) {
        JSAMPROW rowList[1] = {row};
        if (jpeg_read_scanlines(&info, rowList, 1) != 1)
            JpegErrorExit(reinterpret_cast<j_common_ptr>(&info));
        const int y = static_cast<int>(info.output_scanline) - 1;
        for (int x = 0; x < width; ++x) {
            unsigned* sum = sums + TargetOf(x, width, targetWidth) * 3;
            const JSAMPLE* rgb = row + x * 3;
            sum[0] += rgb[2];
            sum[1] += rgb[1];
            sum[2] += rgb[0];
        }
        ++rows;
        const int targetY = TargetOf(y, height, targetHeight);
        if (y + 1 < height && TargetOf(y + 1, height, targetHeight) == targetY)
            continue;
        // The DIB is bottom-up: the picture's top row is the last in memory.
        BYTE* out = image->bits + static_cast<size_t>(targetHeight - 1 - targetY) * DibRowSize(targetWidth);
        for (int i = 0; i < targetWidth * 3; ++i) {
            const unsigned count = rows * columns[i / 3];
            out[i] = static_cast<BYTE>((sums[i] + count / 2) / count);
            sums[i] = 0;
        }
        rows = 0;
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    free(row);
    free(sums);
    return true;
}

}  // namespace

SIZE FitThumbnailSize(int width, int height, int boxWidth, int boxHeight)
{
    const long long w = width, h = height;
    if (w > boxWidth || h > boxHeight) {
        if (boxHeight * w <= boxWidth * h) {
            width = static_cast<int>(boxHeight * w / h);
            height = boxHeight;
        } else {
            width = boxWidth;
            height = static_cast<int>(boxWidth * h / w);
        }
    }
    return SIZE{std::max(width, 1), std::max(height, 1)};
}

BOOL LoadJpegThumbnail(LPCWSTR path, int boxWidth, int boxHeight, DIB_IMAGE* image)
{
    InitDibImage(image);
    if (!path || boxWidth <= 0 || boxHeight <= 0)
        return FALSE;
    FILE* file = _wfopen(path, L"rb");
    if (!file)
        return FALSE;
    const bool ok = StartsLikeJpeg(file) && Decode(file, boxWidth, boxHeight, image);
    fclose(file);
    return ok;
}
