// SPDX-License-Identifier: GPL-3.0-or-later
#include "office/zip_archive.h"

#include "common/error.h"
#include "office/office_texts.h"

#include <zip.h>

#include <array>
#include <memory>

namespace corvanteller {

using namespace Qt::StringLiterals;

namespace {

constexpr std::uint64_t pieceSize = 64 * 1024;

[[noreturn]] void throwZipError(zip_error_t* error) {
    const QString text = QString::fromUtf8(zip_error_strerror(error));
    zip_error_fini(error);
    throw UserError(text);
}

struct SourceFree {
    void operator()(zip_source_t* source) const { zip_source_free(source); }
};

} // namespace

ZipReader::ZipReader(QByteArrayView bytes) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source =
        zip_source_buffer_create(bytes.data(), static_cast<zip_uint64_t>(bytes.size()), 0, &error);
    if (source == nullptr) {
        zip_error_fini(&error);
        return;
    }
    archive_ = zip_open_from_source(source, ZIP_RDONLY, &error);
    if (archive_ == nullptr) {
        zip_source_free(source);
    }
    zip_error_fini(&error);
}

ZipReader::~ZipReader() {
    if (archive_ != nullptr) {
        zip_discard(archive_);
    }
}

std::vector<QByteArray> ZipReader::names() const {
    std::vector<QByteArray> names;
    const zip_int64_t count = archive_ == nullptr ? 0 : zip_get_num_entries(archive_, 0);
    for (zip_int64_t index = 0; index < count; ++index) {
        const char* name = zip_get_name(archive_, static_cast<zip_uint64_t>(index), 0);
        names.emplace_back(name == nullptr ? QByteArray() : QByteArray(name));
    }
    return names;
}

std::optional<std::uint64_t> ZipReader::find(const QByteArray& name) const {
    if (archive_ == nullptr) {
        return std::nullopt;
    }
    zip_int64_t index = zip_name_locate(archive_, name.constData(), 0);
    if (index < 0) {
        index = zip_name_locate(archive_, name.constData(), ZIP_FL_NOCASE);
    }
    return index < 0 ? std::nullopt : std::optional<std::uint64_t>(index);
}

std::optional<std::uint64_t> ZipReader::declaredSize(std::uint64_t entry) const {
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (archive_ == nullptr || zip_stat_index(archive_, entry, 0, &stat) != 0 ||
        (stat.valid & ZIP_STAT_SIZE) == 0) {
        return std::nullopt;
    }
    return stat.size;
}

bool ZipReader::read(std::uint64_t entry,
                     const std::function<bool(QByteArrayView piece)>& consume) const {
    const std::optional<std::uint64_t> size = declaredSize(entry);
    if (!size) {
        return false;
    }
    zip_file_t* file = zip_fopen_index(archive_, entry, 0);
    if (file == nullptr) {
        return false;
    }
    std::unique_ptr<zip_file_t, int (*)(zip_file_t*)> closer(file, zip_fclose);
    std::array<char, pieceSize> buffer{};
    std::uint64_t left = *size;
    while (left > 0) {
        const zip_int64_t got = zip_fread(file, buffer.data(), std::min(left, pieceSize));
        if (got <= 0) {
            return false;
        }
        left -= static_cast<std::uint64_t>(got);
        if (!consume(QByteArrayView(buffer.data(), static_cast<qsizetype>(got)))) {
            return false;
        }
    }
    return true;
}

QByteArray zipArchive(const std::vector<ZipEntry>& entries, ZipCompression compression) {
    zip_error_t error;
    zip_error_init(&error);
    std::unique_ptr<zip_source_t, SourceFree> buffer(
        zip_source_buffer_create(nullptr, 0, 0, &error));
    if (!buffer) {
        throwZipError(&error);
    }
    // The archive's close writes into the buffer; keeping a reference lets it be read after.
    zip_source_keep(buffer.get());
    zip_t* archive = zip_open_from_source(buffer.get(), ZIP_TRUNCATE, &error);
    if (archive == nullptr) {
        zip_source_free(buffer.get());
        throwZipError(&error);
    }
    for (const ZipEntry& entry : entries) {
        std::vector<zip_buffer_fragment_t> fragments{
            {reinterpret_cast<zip_uint8_t*>(const_cast<char*>(entry.content.constData())),
             static_cast<zip_uint64_t>(entry.content.size())}};
        for (const QByteArrayView piece : entry.more) {
            fragments.push_back({reinterpret_cast<zip_uint8_t*>(const_cast<char*>(piece.data())),
                                 static_cast<zip_uint64_t>(piece.size())});
        }
        zip_source_t* content =
            zip_source_buffer_fragment(archive, fragments.data(), fragments.size(), 0);
        if (content == nullptr) {
            const QString text = QString::fromUtf8(zip_strerror(archive));
            zip_discard(archive);
            throw UserError(text);
        }
        const zip_int64_t index =
            zip_file_add(archive, entry.name.constData(), content, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(content);
            const QString text = QString::fromUtf8(zip_strerror(archive));
            zip_discard(archive);
            throw UserError(text);
        }
        if (compression == ZipCompression::Stored) {
            zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0);
        } else {
            zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, 1);
        }
    }
    if (zip_close(archive) != 0) {
        const QString text = QString::fromUtf8(zip_strerror(archive));
        zip_discard(archive);
        throw UserError(text);
    }
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_source_stat(buffer.get(), &stat) != 0 || zip_source_open(buffer.get()) != 0) {
        throw UserError(QString::fromUtf8(zip_error_strerror(zip_source_error(buffer.get()))));
    }
    QByteArray bytes(static_cast<qsizetype>(stat.size), Qt::Uninitialized);
    const zip_int64_t got = zip_source_read(buffer.get(), bytes.data(), stat.size);
    zip_source_close(buffer.get());
    if (got != static_cast<zip_int64_t>(stat.size)) {
        throw UserError(officeTexts::archiveNotReadBack());
    }
    return bytes;
}

} // namespace corvanteller
