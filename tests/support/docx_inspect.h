// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QStringList>

#include <optional>

namespace corvanteller::test {

// The paragraphs of a .docx file as a word processor reads them: text runs, tabs as TAB.
// Nothing when the file is no Word document the tests can read.
std::optional<QStringList> docxParagraphs(const QByteArray& file);

} // namespace corvanteller::test
