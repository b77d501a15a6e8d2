// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A full row store for the benchmarks.

#include "kar/row_store.h"

#include <QRandomGenerator>
#include <QStringList>

namespace corvanteller::bench {

// Texts like a karaoke collection's: Latin and Russian names, folders shared by about 30 files,
// often empty middle columns and a few makers.
inline void fillLikeACollection(RowStore& store) {
    using namespace Qt::StringLiterals;
    QRandomGenerator random(45002);
    const QStringList artists = {
        u"Alla Pugacheva"_s, u"Кино"_s,  u"ABBA"_s,   u"Владимир Высоцкий"_s,
        u"The Beatles"_s,    u"Любэ"_s,  u"Queen"_s,  u"Машина времени"_s,
        u"Modern Talking"_s, u"Сплин"_s, u"Eagles"_s, u"Ария"_s};
    const QStringList words = {u"love"_s,    u"night"_s, u"город"_s, u"звезда"_s, u"summer"_s,
                               u"дорога"_s,  u"heart"_s, u"весна"_s, u"dance"_s,  u"песня"_s,
                               u"forever"_s, u"море"_s,  u"blue"_s,  u"ветер"_s};
    const QStringList makers = {u"Made by KarMaster"_s, u"(c) Midi Studio 1999"_s,
                                u"Сделано: Иванов"_s, u"Sequenced by J. Smith"_s, QString()};
    auto title = [&](int wordsWanted) {
        QString text;
        for (int i = 0; i < wordsWanted; ++i) {
            if (i > 0) {
                text += u' ';
            }
            text += words[random.bounded(static_cast<int>(words.size()))];
        }
        text[0] = text[0].toUpper();
        return text;
    };
    QString folder;
    for (int row = 1; row <= RowStore::maxRows; ++row) {
        const QString artist = artists[random.bounded(static_cast<int>(artists.size()))];
        if (row % 30 == 1) {
            folder = u"/home/user/Karaoke/"_s + artist + u"/Collection "_s +
                     QString::number(row / 30) + u'/';
        }
        const QString song = title(1 + random.bounded(6));
        store.setText(SongColumn::FileName, row, artist + u" - "_s + song + u".kar"_s);
        store.setText(SongColumn::Folder, row, folder);
        store.setText(SongColumn::Title, row, song);
        store.setText(SongColumn::TextD, row, random.bounded(2) ? artist : QString());
        store.setText(SongColumn::TextE, row,
                      random.bounded(3) == 0 ? u"Words and music: "_s + title(2) : QString());
        store.setText(SongColumn::Maker, row,
                      makers[random.bounded(static_cast<int>(makers.size()))]);
    }
    store.setRowCount(RowStore::maxRows);
}

} // namespace corvanteller::bench
