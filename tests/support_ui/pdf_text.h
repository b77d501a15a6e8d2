// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <optional>

namespace corvanteller::test {

// The text a PDF file shows on its pages, as poppler's pdftotext reads it (characters outside the
// pages are not in it), with every white space dropped so that a word wrapped anywhere is found
// whole, and ligatures as their letters. Nothing when the file cannot be read.
inline std::optional<QString> pdfTextWithoutSpaces(const QString& path) {
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"),
                    {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    if (!pdftotext.waitForFinished(60000) || pdftotext.exitStatus() != QProcess::NormalExit ||
        pdftotext.exitCode() != 0) {
        return std::nullopt;
    }
    QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    text.removeIf([](QChar c) { return c.isSpace(); });
    // Ligatures ("ff" set as one glyph) read back as their letters.
    return text.normalized(QString::NormalizationForm_KC);
}

// The words of the list that the PDF text does not hold.
inline QStringList missingFromPdf(const QString& pdfText, const QStringList& words) {
    QStringList missing;
    for (const QString& word : words) {
        if (!pdfText.contains(word)) {
            missing.append(word);
        }
    }
    return missing;
}

} // namespace corvanteller::test
