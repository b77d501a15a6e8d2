// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/temp_tree.h"

#include <QFile>

#include <cstdio>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace corvanteller::test {

TempTree::TempTree() {
    EXPECT_TRUE(dir_.isValid());
}

QByteArray TempTree::rootBytes() const {
    return QFile::encodeName(dir_.path());
}

void TempTree::makeFolder(const QByteArray& relative) const {
    const QByteArray full = path(relative);
    ASSERT_EQ(::mkdir(full.constData(), 0755), 0) << full.constData();
}

void TempTree::writeFile(const QByteArray& relative, const QByteArray& content) const {
    const QByteArray full = path(relative);
    std::FILE* file = std::fopen(full.constData(), "wb");
    ASSERT_NE(file, nullptr) << full.constData();
    const std::size_t written =
        std::fwrite(content.constData(), 1, static_cast<std::size_t>(content.size()), file);
    std::fclose(file);
    ASSERT_EQ(written, static_cast<std::size_t>(content.size()));
}

} // namespace corvanteller::test
