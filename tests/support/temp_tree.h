// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace corvanteller::test {

// A temporary folder tree that the test fills; removed with the object.
class TempTree {
public:
    TempTree();

    // The root as bytes and as text, without a trailing "/".
    QByteArray rootBytes() const;
    QString root() const { return dir_.path(); }

    // Paths are relative to the root, as bytes (so that they may hold any name).
    QByteArray path(const QByteArray& relative) const { return rootBytes() + '/' + relative; }
    void makeFolder(const QByteArray& relative) const;
    void writeFile(const QByteArray& relative, const QByteArray& content) const;

private:
    QTemporaryDir dir_;
};

} // namespace corvanteller::test
