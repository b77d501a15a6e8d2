// SPDX-License-Identifier: GPL-3.0-or-later
#include "kar_tree_generator.h"

#include "common/cp1251.h"
#include "kar/kar_reader.h"

#include <QList>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <system_error>

namespace corvanteller::bench {
namespace {

QByteArray latin(const char* text) {
    return QByteArray(text);
}

// Every Russian text below is chosen to fit cp1251.
QByteArray cp1251(const char16_t* text) {
    return encodeCp1251(QString::fromUtf16(text)).value_or(QByteArray());
}

QByteArray fromView(std::string_view text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

// A MIDI track under construction; its head and length are added by finished().
class TrackBuilder {
public:
    void delta(int ticks) {
        // Variable-length quantity, seven bits a byte, most significant first.
        char bytes[4];
        int count = 0;
        bytes[count++] = static_cast<char>(ticks & 0x7F);
        while ((ticks >>= 7) != 0) {
            bytes[count++] = static_cast<char>(0x80 | (ticks & 0x7F));
        }
        while (count > 0) {
            body_.append(bytes[--count]);
        }
    }
    void meta(unsigned char type, const QByteArray& data, int ticks = 0) {
        delta(ticks);
        body_.append('\xFF').append(static_cast<char>(type));
        // Karaoke editors keep texts below 128 bytes, so the length is one byte.
        const QByteArray text = data.left(127);
        body_.append(static_cast<char>(text.size()));
        body_.append(text);
    }
    void raw(std::initializer_list<unsigned char> bytes) {
        for (unsigned char byte : bytes) {
            body_.append(static_cast<char>(byte));
        }
    }
    // withoutAt leaves out the byte '@', so that no "@I" or "@T" arises from note data: keys
    // and velocities step over 64, and the note ends with velocity 0.
    void note(BenchRandom& random, int channel, bool withoutAt) {
        const auto key = dataByte(random.between(40, 88), withoutAt);
        delta(random.between(0, 240));
        raw({static_cast<unsigned char>(0x90 | channel), key,
             dataByte(random.between(60, 110), withoutAt)});
        delta(random.between(30, 480));
        raw({static_cast<unsigned char>(0x80 | channel), key,
             static_cast<unsigned char>(withoutAt ? 0x00 : 0x40)});
    }
    static unsigned char dataByte(int value, bool withoutAt) {
        return static_cast<unsigned char>(withoutAt && value == '@' ? value + 1 : value);
    }
    qsizetype size() const { return body_.size() + 8 + 4; }

    QByteArray finished() {
        raw({0x00, 0xFF, 0x2F, 0x00});
        QByteArray track("MTrk");
        const auto length = static_cast<quint32>(body_.size());
        for (int shift = 24; shift >= 0; shift -= 8) {
            track.append(static_cast<char>((length >> shift) & 0xFF));
        }
        track.append(body_);
        return track;
    }

private:
    QByteArray body_;
};

const char* const englishWords[] = {
    "Love",  "Night", "Summer", "Rain", "Heart", "Dream",  "Fire",   "Road",  "Blue",    "Moon",
    "Dance", "Time",  "Angel",  "City", "River", "Golden", "Lonely", "Sweet", "Forever", "Stars"};
const char* const englishPerformers[] = {
    "ABBA",       "Queen",   "Eagles",          "Scorpions",  "Modern Talking",
    "Boney M.",   "Smokie",  "Roxette",         "Bee Gees",   "The Beatles",
    "Elton John", "Madonna", "Whitney Houston", "Joe Dassin", "Chris Norman"};
const char16_t* const russianTitles[] = {u"Калинка",
                                         u"Подмосковные вечера",
                                         u"Катюша",
                                         u"Миллион алых роз",
                                         u"Звезда по имени Солнце",
                                         u"Ой, то не вечер",
                                         u"Ёлочка",
                                         u"Очи чёрные",
                                         u"Группа крови",
                                         u"Белые розы",
                                         u"Синий иней",
                                         u"Айсберг"};
const char16_t* const russianPerformers[] = {u"Алла Пугачёва", u"Кино",           u"ДДТ",
                                             u"Любэ",          u"Машина времени", u"Земфира",
                                             u"Фёдор Шаляпин", u"Ласковый май"};
// Titles with characters outside every character set of the reader.
const char* const oddTitles[] = {"Song [Live]", "Best of $ 1999", "~Intro~",     "{Remix} 2001",
                                 "Price $5",    "[c] 1998",       "Wild ~ Free", "Hits {Vol 2}"};
const char* const credits[] = {"Music: J. Smith",   "Words: A. Brown", "Arranged by Studio 7",
                               "(c) 1985 EMI",      "Vocal: Anna",     "Original key: Am",
                               "Sequenced by Alex", "Tempo 120, 4/4"};
const char16_t* const russianCredits[] = {u"Музыка: И. Крутой", u"Слова: Л. Рубальская",
                                          u"Аранжировка: студия Союз"};
const char* const makers[] = {"Made by Ivan", "MIDI by Studio 2000", "Karaoke by Max",
                              "(c) Midi World", "Sequenced 2003"};
const char* const instrumentNames[] = {"Piano", "Bass", "Drums", "Melody", "Strings", "Guitar"};

QByteArray englishTitle(BenchRandom& random) {
    QByteArray title = latin(random.pick(englishWords));
    for (int extra = random.between(0, 2); extra > 0; --extra) {
        title.append(' ').append(random.pick(englishWords));
    }
    return title;
}

struct SongTextsBytes {
    QByteArray title;
    QByteArray performer;
    bool russian = false;
};

SongTextsBytes songTexts(BenchRandom& random) {
    const int roll = random.between(1, 100);
    if (roll <= 25) {
        return {cp1251(random.pick(russianTitles)), cp1251(random.pick(russianPerformers)), true};
    }
    if (roll <= 35) {
        return {latin(random.pick(oddTitles)), latin(random.pick(englishPerformers)), false};
    }
    return {englishTitle(random), latin(random.pick(englishPerformers)), false};
}

QByteArray credit(BenchRandom& random, bool russian) {
    return russian && random.percent(60) ? cp1251(random.pick(russianCredits))
                                         : latin(random.pick(credits));
}

QByteArray makerLine(BenchRandom& random) {
    const int roll = random.between(1, 100);
    if (roll <= 8) {
        return fromView(signatureA);
    }
    if (roll <= 12) {
        return fromView(signatureA) + " (registered)";
    }
    if (roll <= 16) {
        return fromView(signatureB);
    }
    if (roll <= 20) {
        return cp1251(u"Сделано Петровым");
    }
    return latin(random.pick(makers));
}

void tempoAndMeter(TrackBuilder& track) {
    track.raw({0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20});
    track.raw({0x00, 0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08});
}

QByteArray ordinaryFirstTrack(BenchRandom& random) {
    TrackBuilder track;
    const SongTextsBytes song = songTexts(random);
    const int layout = random.between(1, 100);
    if (layout <= 15) {
        // Some editors put the meter before the name.
        track.raw({0x00, 0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08});
    }
    if (layout > 95) {
        // No track name here: the first name event is a later track's.
        track.meta(0x01, song.title);
        tempoAndMeter(track);
        return track.finished();
    }
    track.meta(0x03, song.title);
    if (layout > 85) {
        // Name and performer only; tempo and meter follow.
        track.meta(0x01, song.performer);
        tempoAndMeter(track);
        return track.finished();
    }
    if (layout > 75) {
        // The maker's signature straight after the name.
        track.meta(0x01, random.percent(50) ? fromView(signatureA) : fromView(signatureA) + ".");
        track.meta(0x01, song.performer);
        track.meta(0x02, credit(random, song.russian));
    } else {
        track.meta(0x01, song.performer);
        track.meta(0x01, credit(random, song.russian));
        track.meta(0x02, makerLine(random));
    }
    tempoAndMeter(track);
    return track.finished();
}

QByteArray softKaraokeName(BenchRandom& random) {
    const int roll = random.between(1, 100);
    if (roll <= 90) {
        return latin("Soft Karaoke");
    }
    return latin(roll <= 95 ? "Soft karaoke" : "untitled");
}

QByteArray syllable(BenchRandom& random, bool russian) {
    static const char* const latinSyllables[] = {"la",  "love ", "my ", "heart", "night ",
                                                 "oh ", "ba",    "by ", "you ",  "dream"};
    static const char16_t* const russianSyllables[] = {u"ка", u"лин",   u"ка ", u"моя ",
                                                       u"я ", u"тебя ", u"лю",  u"блю "};
    QByteArray text = random.percent(10) ? latin(random.percent(50) ? "\\" : "/") : QByteArray();
    text.append(russian ? cp1251(random.pick(russianSyllables))
                        : latin(random.pick(latinSyllables)));
    return text;
}

// closed: an "@I" line follows the lyrics of the "@T" lines.
QByteArray wordsTrack(BenchRandom& random, bool closed) {
    TrackBuilder track;
    const SongTextsBytes song = songTexts(random);
    track.meta(0x03, latin("Words"));
    track.meta(0x01, latin("@KMIDI KARAOKE FILE"));
    track.meta(0x01, latin("@V0100"));
    track.meta(0x01, latin("@I") + credit(random, song.russian));
    track.meta(0x01, latin(song.russian ? "@LRUS" : "@LENGL"));
    track.meta(0x01, "@T" + song.title);
    track.meta(0x01, "@T" + song.performer);
    track.meta(0x01, "@T" + makerLine(random));
    for (int count = random.between(20, 120); count > 0; --count) {
        track.meta(0x01, syllable(random, song.russian), random.between(0, 400));
    }
    if (closed) {
        track.meta(0x01, latin("@IWords and music as sung"), random.between(0, 400));
    }
    for (int count = random.between(0, 40); count > 0; --count) {
        track.meta(0x01, syllable(random, song.russian), random.between(0, 400));
    }
    return track.finished();
}

QByteArray softKaraokeFirstTrack(BenchRandom& random) {
    TrackBuilder track;
    track.meta(0x03, softKaraokeName(random));
    tempoAndMeter(track);
    return track.finished();
}

QByteArray midiHeader(int trackCount) {
    QByteArray header("MThd\x00\x00\x00\x06\x00\x01", 10);
    header.append(static_cast<char>((trackCount >> 8) & 0xFF));
    header.append(static_cast<char>(trackCount & 0xFF));
    header.append("\x01\xE0", 2); // 480 ticks a quarter
    return header;
}

QByteArray noteTrack(BenchRandom& random, int channel, qsizetype sizeBytes, bool withoutAt) {
    TrackBuilder track;
    track.meta(0x03, latin(random.pick(instrumentNames)));
    // The program change at the time of the name: a delta time of its own, as every event has.
    track.delta(0);
    track.raw({static_cast<unsigned char>(0xC0 | channel),
               TrackBuilder::dataByte(random.between(0, 127), withoutAt)});
    while (track.size() < sizeBytes) {
        track.note(random, channel, withoutAt);
    }
    return track.finished();
}

QByteArray jpegLike(BenchRandom& random, int sizeBytes) {
    QByteArray bytes("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00", 20);
    while (bytes.size() < sizeBytes - 2) {
        const std::uint64_t word = random.next();
        for (int shift = 0; shift < 64; shift += 8) {
            bytes.append(static_cast<char>((word >> shift) & 0xFF));
        }
    }
    bytes.append("\xFF\xD9", 2);
    return bytes;
}

QByteArray lyricsText(BenchRandom& random) {
    QByteArray text;
    for (int lines = random.between(10, 60); lines > 0; --lines) {
        text.append(englishTitle(random)).append("\r\n");
    }
    return text;
}

// Sizes lean towards the small end, as in real collections.
int fileSize(BenchRandom& random, int minBytes, int maxBytes) {
    const double unit = static_cast<double>(random.between(0, 1'000'000)) / 1'000'000.0;
    return minBytes + static_cast<int>(unit * unit * (maxBytes - minBytes));
}

class TreeWriter {
public:
    explicit TreeWriter(const KarTreeOptions& options)
        : options_(options), random_(options.seed), remaining_(options.karaokeFiles) {}

    KarTreeSummary write(const std::filesystem::path& root) {
        fillFolder(root, 0);
        while (remaining_ > 0) {
            char name[32];
            std::snprintf(name, sizeof name, "Collection %02d", ++folderNumbers_[0]);
            fillFolder(makeFolder(root / name), 1);
        }
        return summary_;
    }

private:
    std::filesystem::path makeFolder(const std::filesystem::path& path) {
        std::error_code error;
        std::filesystem::create_directory(path, error);
        if (error) {
            throw std::runtime_error("cannot create " + path.string() + ": " + error.message());
        }
        ++summary_.folders;
        return path;
    }

    void writeFile(const std::filesystem::path& path, const QByteArray& bytes) {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (file == nullptr) {
            throw std::runtime_error("cannot create " + path.string());
        }
        const std::size_t size = static_cast<std::size_t>(bytes.size());
        const bool written = std::fwrite(bytes.constData(), 1, size, file) == size;
        if (std::fclose(file) != 0 || !written) {
            throw std::runtime_error("cannot write " + path.string());
        }
        summary_.bytes += bytes.size();
    }

    std::string karaokeName() {
        const int number = ++fileNumber_;
        char name[64];
        const int roll = random_.between(1, 100);
        if (roll <= 10) {
            std::snprintf(name, sizeof name, "SONG %05d.KAR", number);
        } else if (roll <= 15) {
            // Russian names as Linux writes them, in UTF-8.
            std::snprintf(name, sizeof name, "\xD0\x9F\xD0\xB5\xD1\x81\xD0\xBD\xD1\x8F %05d.kar",
                          number);
        } else if (roll <= 17) {
            // Russian names copied from an old Windows archive, in cp1251.
            std::snprintf(name, sizeof name, "\xCF\xE5\xF1\xED\xFF %05d.kar", number);
        } else {
            std::snprintf(name, sizeof name, "Song %05d.kar", number);
        }
        return name;
    }

    void writeKaraokeFile(const std::filesystem::path& folder) {
        const KarKind kind = random_.between(1, 3) == 1 ? KarKind::SoftKaraoke : KarKind::Ordinary;
        const int size = fileSize(random_, options_.minFileBytes, options_.maxFileBytes);
        writeFile(folder / karaokeName(),
                  makeKaraokeFile(random_, kind, size, options_.softKaraokeTags));
        ++summary_.karaokeFiles;
        if (kind == KarKind::SoftKaraoke) {
            ++summary_.softKaraokeFiles;
        }
    }

    void writeOtherFile(const std::filesystem::path& folder) {
        char name[64];
        const int number = ++fileNumber_;
        QByteArray bytes;
        switch (random_.between(1, 3)) {
        case 1:
            std::snprintf(name, sizeof name, "Track %05d.mid", number);
            bytes = makeKaraokeFile(random_, KarKind::Ordinary, random_.between(4096, 40960));
            break;
        case 2:
            std::snprintf(name, sizeof name, "lyrics %05d.txt", number);
            bytes = lyricsText(random_);
            break;
        default:
            std::snprintf(name, sizeof name, "cover %05d.jpg", number);
            bytes = jpegLike(random_, random_.between(15000, 60000));
            break;
        }
        writeFile(folder / name, bytes);
        ++summary_.otherFiles;
    }

    void fillFolder(const std::filesystem::path& folder, int depth) {
        const int count = std::min(
            remaining_, random_.between(options_.minFilesPerFolder, options_.maxFilesPerFolder));
        remaining_ -= count;
        const int others = random_.between(count / 20, count / 6);
        // Other files are spread among the karaoke files, as copying tools leave them.
        for (int karaoke = count, other = others; karaoke + other > 0;) {
            if (other > 0 && random_.between(1, karaoke + other) <= other) {
                writeOtherFile(folder);
                --other;
            } else {
                writeKaraokeFile(folder);
                --karaoke;
            }
        }
        if (random_.percent(3)) {
            makeFolder(folder / "New folder");
        }
        if (depth >= 4) {
            return;
        }
        const int children = depth == 0 ? random_.between(2, 5) : random_.between(0, 4);
        for (int child = 1; child <= children && remaining_ > 0; ++child) {
            static const char* const patterns[] = {"Collection %02d", "Artist %03d", "Album %02d",
                                                   "CD%d"};
            char name[32];
            std::snprintf(name, sizeof name, patterns[depth], ++folderNumbers_[depth]);
            fillFolder(makeFolder(folder / name), depth + 1);
        }
    }

    const KarTreeOptions& options_;
    BenchRandom random_;
    int remaining_;
    int fileNumber_ = 0;
    int folderNumbers_[4] = {};
    KarTreeSummary summary_;
};

} // namespace

std::uint64_t BenchRandom::next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

int BenchRandom::between(int first, int last) {
    const auto span = static_cast<std::uint64_t>(last - first) + 1;
    return first + static_cast<int>(next() % span);
}

const char* tagsName(SoftKaraokeTags tags) {
    switch (tags) {
    case SoftKaraokeTags::Early:
        return "early";
    case SoftKaraokeTags::Late:
        return "late";
    case SoftKaraokeTags::NoInfo:
        return "no-info";
    case SoftKaraokeTags::NoWords:
        return "no-words";
    case SoftKaraokeTags::Mixed:
        return "mixed";
    }
    return "early";
}

bool parseTags(std::string_view text, SoftKaraokeTags& tags) {
    for (SoftKaraokeTags candidate :
         {SoftKaraokeTags::Early, SoftKaraokeTags::Late, SoftKaraokeTags::NoInfo,
          SoftKaraokeTags::NoWords, SoftKaraokeTags::Mixed}) {
        if (text == tagsName(candidate)) {
            tags = candidate;
            return true;
        }
    }
    return false;
}

QByteArray makeKaraokeFile(BenchRandom& random, KarKind kind, int sizeBytes, SoftKaraokeTags tags) {
    if (kind == KarKind::SoftKaraoke && tags == SoftKaraokeTags::Mixed) {
        constexpr SoftKaraokeTags placements[] = {SoftKaraokeTags::Early, SoftKaraokeTags::Late,
                                                  SoftKaraokeTags::NoInfo,
                                                  SoftKaraokeTags::NoWords};
        tags = random.pick(placements);
    }
    const bool softKaraoke = kind == KarKind::SoftKaraoke;
    QList<QByteArray> tracks;
    QByteArray lastTrack;
    if (softKaraoke) {
        tracks.append(softKaraokeFirstTrack(random));
        if (tags == SoftKaraokeTags::Late) {
            lastTrack = wordsTrack(random, true);
        } else if (tags != SoftKaraokeTags::NoWords) {
            tracks.append(wordsTrack(random, tags != SoftKaraokeTags::NoInfo));
        }
    } else {
        tracks.append(ordinaryFirstTrack(random));
    }
    qsizetype used = 14 + lastTrack.size();
    for (const QByteArray& track : tracks) {
        used += track.size();
    }
    const int noteTracks = random.between(2, 6);
    const qsizetype share = std::max<qsizetype>(64, (sizeBytes - used) / noteTracks);
    const bool withoutAt = softKaraoke && tags == SoftKaraokeTags::NoInfo;
    for (int channel = 0; channel < noteTracks; ++channel) {
        tracks.append(noteTrack(random, channel, share, withoutAt));
    }
    if (!lastTrack.isEmpty()) {
        tracks.append(lastTrack);
    }
    QByteArray file = midiHeader(static_cast<int>(tracks.size()));
    for (const QByteArray& track : tracks) {
        file.append(track);
    }
    return file;
}

std::string describeTree(const KarTreeOptions& options) {
    char line[200];
    std::snprintf(line, sizeof line,
                  "Corvanteller karaoke tree 1: %d files, seed %llu, %d to %d bytes, %d to %d "
                  "files a folder, Soft Karaoke tags %s",
                  options.karaokeFiles, static_cast<unsigned long long>(options.seed),
                  options.minFileBytes, options.maxFileBytes, options.minFilesPerFolder,
                  options.maxFilesPerFolder, tagsName(options.softKaraokeTags));
    return line;
}

KarTreeSummary writeKarTree(const std::filesystem::path& root, const KarTreeOptions& options) {
    std::error_code error;
    std::filesystem::create_directories(root, error);
    if (error) {
        throw std::runtime_error("cannot create " + root.string() + ": " + error.message());
    }
    if (!std::filesystem::is_empty(root)) {
        throw std::runtime_error(root.string() + " is not empty");
    }
    return TreeWriter(options).write(root);
}

} // namespace corvanteller::bench
