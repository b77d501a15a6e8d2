// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/jpeg_image.h"

#include "ui/ui_texts.h"

#include <QFile>

#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE and size_t first

#include <jpeglib.h>

// Resources of a static library need an explicit start, outside any namespace.
static void initArtworkResources() {
    Q_INIT_RESOURCE(resources);
}

namespace corvanteller {

namespace {

// libjpeg's default error handling prints and calls exit(); here a failure jumps back to the
// decoder, which gives up on that picture.
struct JpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

extern "C" [[noreturn]] void failDecoding(j_common_ptr info) {
    auto* errors = reinterpret_cast<JpegErrors*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->jump, 1);
}

// Warnings (level -1) mean damaged data, e.g. a file cut short, which libjpeg would pad with
// grey: that is no picture of ours. Trace messages are dropped.
extern "C" void onJpegMessage(j_common_ptr info, int level) {
    if (level < 0) {
        failDecoding(info);
    }
}

// Everything after the jump point; may leave by longjmp, so it holds no object with a
// destructor across a libjpeg call.
bool decodeSteps(jpeg_decompress_struct& info, const unsigned char* data, unsigned long size,
                 QImage& image) {
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, size);
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) {
        return false;
    }
    info.out_color_space = JCS_RGB; // grey pictures become RGB too
    jpeg_start_decompress(&info);
    if (info.output_components != 3) {
        return false;
    }
    image = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                   QImage::Format_RGB888);
    if (image.isNull()) {
        return false; // too large to hold
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.scanLine(static_cast<int>(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    return true;
}

bool decodeGuarded(jpeg_decompress_struct& info, JpegErrors& errors, const unsigned char* data,
                   unsigned long size, QImage& image) {
    if (setjmp(errors.jump) != 0) {
        return false;
    }
    return decodeSteps(info, data, size, image);
}

} // namespace

QImage decodeJpeg(QByteArrayView bytes, QString* error) {
    QImage image;
    JpegErrors errors{};
    jpeg_decompress_struct info{};
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = failDecoding;
    errors.manager.emit_message = onJpegMessage;
    const bool decoded =
        !bytes.isEmpty() &&
        decodeGuarded(info, errors, reinterpret_cast<const unsigned char*>(bytes.data()),
                      static_cast<unsigned long>(bytes.size()), image);
    jpeg_destroy_decompress(&info);
    if (!decoded) {
        if (error != nullptr) {
            *error = errors.message[0] != '\0' ? QString::fromLocal8Bit(errors.message)
                                               : uiTexts::notJpeg();
        }
        return {};
    }
    return image.convertToFormat(QImage::Format_RGB32);
}

QImage loadJpegResource(const QString& path, QString* error) {
    static const bool resourcesReady = (initArtworkResources(), true);
    Q_UNUSED(resourcesReady);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error != nullptr) {
            *error = file.errorString();
        }
        return {};
    }
    return decodeJpeg(file.readAll(), error);
}

} // namespace corvanteller
