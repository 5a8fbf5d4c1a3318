// JPEG pictures through libjpeg-turbo: grayscale and colour (YCbCr or RGB) pictures; CMYK and
// YCCK pictures are rejected. libjpeg reports errors through an error manager that longjmps
// back here, and a premature end of the data counts as an error rather than gray filler.
// jpeglib.h needs size_t and FILE declared before it, and jerror.h needs jpeglib.h.
#include <csetjmp>
#include <cstdio>

#include <jerror.h>
#include <jpeglib.h>

#include "imaging/Picture.h"

namespace platform {

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    jmp_buf jump;
};

void failOnError(j_common_ptr cinfo) {
    auto* errors = reinterpret_cast<ErrorManager*>(cinfo->err);
    longjmp(errors->jump, 1);
}

// Warnings are ignored, except a premature end of data: a truncated picture fails.
void checkMessage(j_common_ptr cinfo, int level) {
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF)
        failOnError(cinfo);
}

struct Decoding {
    const uint8_t* data;
    size_t size;
    Picture* picture;
    std::vector<uint8_t>* row;
};

// Runs libjpeg; false on any error. Only C objects live in this frame.
bool runLibjpeg(Decoding& job) {
    jpeg_decompress_struct cinfo;
    ErrorManager errors;
    cinfo.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = failOnError;
    errors.base.emit_message = checkMessage;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    cinfo.mem->max_memory_to_use = static_cast<long>(kMaxPictureBytes);
    jpeg_mem_src(&cinfo, job.data, static_cast<unsigned long>(job.size));
    if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK)
        failOnError(reinterpret_cast<j_common_ptr>(&cinfo));
    if (!pictureSizeAllowed(cinfo.image_width, cinfo.image_height)) {
        failOnError(reinterpret_cast<j_common_ptr>(&cinfo));
    }
    const bool gray = cinfo.jpeg_color_space == JCS_GRAYSCALE;
    if (cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK) {
        failOnError(reinterpret_cast<j_common_ptr>(&cinfo));
    }
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    if (cinfo.output_components != 3)
        failOnError(reinterpret_cast<j_common_ptr>(&cinfo));

    Picture& picture = *job.picture;
    const uint32_t width = cinfo.output_width;
    picture.width = width;
    picture.height = cinfo.output_height;
    picture.format = PictureFormat::Jpeg;
    picture.sourcePixels = gray ? SourcePixels::Indexed8 : SourcePixels::Rgb24;
    if (cinfo.saw_JFIF_marker && cinfo.density_unit != 0 && cinfo.X_density != 0 &&
        cinfo.Y_density != 0) {
        // Density unit 1 is dots per inch, 2 dots per centimetre.
        double factor = cinfo.density_unit == 2 ? 2.54 : 1.0;
        picture.xdpi = cinfo.X_density * factor;
        picture.ydpi = cinfo.Y_density * factor;
    }
    picture.pixels.resize(size_t{width} * picture.height);
    job.row->resize(size_t{width} * 3);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW rowPointer = job.row->data();
        uint32_t y = cinfo.output_scanline;
        if (jpeg_read_scanlines(&cinfo, &rowPointer, 1) != 1) {
            failOnError(reinterpret_cast<j_common_ptr>(&cinfo));
        }
        uint32_t* target = picture.pixels.data() + size_t{y} * width;
        const uint8_t* source = job.row->data();
        for (uint32_t x = 0; x < width; ++x) {
            target[x] = packArgb(0xFF, source[3 * x], source[3 * x + 1], source[3 * x + 2]);
        }
    }
    // Every row is in; whatever follows the last scan is not needed.
    jpeg_destroy_decompress(&cinfo);
    return true;
}

}  // namespace

std::optional<Picture> decodeJpeg(const uint8_t* data, size_t size) {
    if (data == nullptr || size < 3 || data[0] != 0xFF || data[1] != 0xD8 || data[2] != 0xFF) {
        return std::nullopt;
    }
    Picture picture;
    std::vector<uint8_t> row;
    Decoding job{data, size, &picture, &row};
    if (!runLibjpeg(job))
        return std::nullopt;
    return picture;
}

}  // namespace platform
