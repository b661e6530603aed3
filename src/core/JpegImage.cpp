#include "JpegImage.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE declared first
#include <cstdlib>
#include <jpeglib.h>

namespace {

constexpr int ColourComponents = 3;

// libjpeg hands out its output buffer through malloc; it is freed once the bytes are copied out.
struct TJpegOutput {
    unsigned char* Buffer = nullptr;
    unsigned long Size = 0;
    ~TJpegOutput() { std::free(Buffer); }
};

// libjpeg's own error handler ends the process; this one returns to the caller instead.
struct TJpegErrors {
    jpeg_error_mgr Manager{};
    std::jmp_buf Return{};
};

[[noreturn]] void ReturnOnError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<TJpegErrors*>(info->err)->Return, 1);
}

} // namespace

int ClampJpegQuality(int quality) {
    return std::clamp(quality, JpegQualityLowest, JpegQualityHighest);
}

QByteArray EncodeJpeg(const QImage& image, int quality) {
    if (image.isNull()) return {};
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    jpeg_compress_struct compressor{};
    TJpegErrors errors;
    compressor.err = jpeg_std_error(&errors.Manager);
    errors.Manager.error_exit = ReturnOnError;
    TJpegOutput output;
    // Only plain C data lives between here and the jump, so nothing is left half destroyed.
    if (setjmp(errors.Return)) {
        jpeg_destroy_compress(&compressor);
        return {};
    }
    jpeg_create_compress(&compressor);
    jpeg_mem_dest(&compressor, &output.Buffer, &output.Size);
    compressor.image_width = static_cast<JDIMENSION>(rgb.width());
    compressor.image_height = static_cast<JDIMENSION>(rgb.height());
    compressor.input_components = ColourComponents;
    compressor.in_color_space = JCS_RGB;
    jpeg_set_defaults(&compressor);
    jpeg_set_quality(&compressor, ClampJpegQuality(quality), TRUE);
    jpeg_start_compress(&compressor, TRUE);
    // Rows are read one at a time: a QImage pads each row to four bytes, libjpeg expects none.
    while (compressor.next_scanline < compressor.image_height) {
        auto* row = const_cast<JSAMPLE*>(rgb.constScanLine(static_cast<int>(compressor.next_scanline)));
        jpeg_write_scanlines(&compressor, &row, 1);
    }
    jpeg_finish_compress(&compressor);
    jpeg_destroy_compress(&compressor);
    return QByteArray(reinterpret_cast<const char*>(output.Buffer), static_cast<qsizetype>(output.Size));
}
