// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

struct zip;
struct zip_source;

namespace corvanteller {

// A zip archive held in memory, read entry by entry.
class ZipReader {
public:
    // The bytes must outlive the reader. isOpen() tells whether they are a zip archive.
    explicit ZipReader(QByteArrayView bytes);
    ~ZipReader();
    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;

    bool isOpen() const { return archive_ != nullptr; }

    // The names of the entries, in the archive's order.
    std::vector<QByteArray> names() const;
    // The entry of that name; when there is none, one whose name differs only in case.
    std::optional<std::uint64_t> find(const QByteArray& name) const;
    // The size the archive declares for the entry's content.
    std::optional<std::uint64_t> declaredSize(std::uint64_t entry) const;
    // Hands the entry's content to consume in pieces, exactly its declared size and never
    // more. False when the content cannot be read or ends before that size, or when consume
    // returns false.
    bool read(std::uint64_t entry, const std::function<bool(QByteArrayView piece)>& consume) const;

private:
    zip* archive_ = nullptr;
};

struct ZipEntry {
    QByteArray name;
    QByteArray content;
    // What follows the content, taken where it lies: it must outlive the archive's making.
    std::vector<QByteArrayView> more = {};
};

enum class ZipCompression { Stored, Fast };

// A zip archive of the entries in this order, stored or deflated at the fastest level (a
// document of tab-separated lines shrinks nearly as much as at the default level, much
// faster). Throws UserError with the library's text when it cannot be built.
QByteArray zipArchive(const std::vector<ZipEntry>& entries,
                      ZipCompression compression = ZipCompression::Fast);

} // namespace corvanteller
