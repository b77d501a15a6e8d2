// SPDX-License-Identifier: GPL-3.0-or-later
#include "write/text_writer.h"

#include "common/cp1251.h"
#include "kar/kar_reader.h"
#include "kar/smf_file.h"
#include "write/write_texts.h"

#include <QStringList>

#include <algorithm>
#include <array>
#include <optional>

namespace corvanteller {

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype midiHeaderSize = 14;
constexpr unsigned char russianEf = 0xD4;

// One change of the old bytes: oldSize bytes at offset give way to bytes.
struct Edit {
    qsizetype offset = 0;
    qsizetype oldSize = 0;
    QByteArray bytes;
    qsizetype newOffset = 0; // where the bytes stand in the new file, once applied
};

// Applies edits (sorted and not overlapping) and notes where each lands.
QByteArray applyEdits(QByteArrayView old, std::vector<Edit>& edits) {
    QByteArray result;
    result.reserve(old.size() + 256);
    qsizetype at = 0;
    for (Edit& edit : edits) {
        result.append(old.sliced(at, edit.offset - at));
        edit.newOffset = result.size();
        result.append(edit.bytes);
        at = edit.offset + edit.oldSize;
    }
    result.append(old.sliced(at));
    return result;
}

QByteArray bigEndian32(quint32 value) {
    QByteArray bytes(4, '\0');
    for (int i = 3; i >= 0; --i) {
        bytes[i] = static_cast<char>(value & 0xFFU);
        value >>= 8;
    }
    return bytes;
}

// The edits of the texts, and those of the lengths of the chunks that they change.
struct EditSet {
    std::vector<Edit> edits;

    void replaceData(const SmfEvent& event, QByteArrayView oldBytes, const QByteArray& data) {
        const qsizetype lengthAt = event.statusAt() + 2;
        if (oldBytes.sliced(event.dataStart, event.dataSize()) == data) {
            return;
        }
        edits.push_back(
            {lengthAt, event.end - lengthAt, encodeVlq(static_cast<quint32>(data.size())) + data});
    }
    void insertText(qsizetype at, const QByteArray& data) {
        edits.push_back(
            {at, 0,
             QByteArray("\x00\xFF\x01", 3) + encodeVlq(static_cast<quint32>(data.size())) + data});
    }
    void remove(const SmfEvent& event) {
        edits.push_back({event.start, event.end - event.start, {}});
    }

    std::vector<SmfSplice> splices() const {
        std::vector<SmfSplice> all;
        all.reserve(edits.size());
        for (const Edit& edit : edits) {
            all.push_back({edit.offset, edit.oldSize, edit.newOffset, edit.bytes.size()});
        }
        return all;
    }

    QByteArray apply(QByteArrayView old, const SmfFile& file) {
        std::vector<Edit> all = edits;
        for (const SmfChunk& chunk : file.chunks) {
            qsizetype change = 0;
            const qsizetype dataEnd = chunk.dataStart + chunk.dataSize;
            for (const Edit& edit : edits) {
                // An insertion after the last event still belongs to the chunk.
                if (edit.offset >= chunk.dataStart && edit.offset + edit.oldSize <= dataEnd &&
                    (edit.offset < dataEnd || edit.oldSize == 0)) {
                    change += edit.bytes.size() - edit.oldSize;
                }
            }
            if (change != 0) {
                all.push_back({chunk.start + 4, 4,
                               bigEndian32(static_cast<quint32>(chunk.dataSize + change))});
            }
        }
        std::stable_sort(all.begin(), all.end(),
                         [](const Edit& a, const Edit& b) { return a.offset < b.offset; });
        QByteArray result = applyEdits(old, all);
        edits = std::move(all);
        return result;
    }
};

bool inRussian(unsigned char byte) {
    return byte >= 0xC0 || byte == 0xA8 || byte == 0xB8;
}

QString shownChar(unsigned char byte) {
    if (byte < 0x20 || byte == 0x7F) {
        return writeTexts::controlCharacter();
    }
    return writeTexts::quotedCharacter(
        decodeCp1251(QByteArrayView(reinterpret_cast<const char*>(&byte), 1)));
}

// Why the reader does not read a text of an ordinary file as it is.
std::optional<QString> ordinaryReason(const std::array<QByteArray, 4>& texts, RunSet runSet) {
    const CharSet& chars = runSetChars(runSet);
    if (isSoftKaraokeName(texts[0])) {
        return writeTexts::readsAsSoftKaraokeName();
    }
    for (std::size_t k = 0; k < texts.size(); ++k) {
        for (const char byte : texts[k]) {
            if (!chars.contains(byte)) {
                return writeTexts::endsTextForReader(shownChar(static_cast<unsigned char>(byte)));
            }
        }
        if (k > 0 && (texts[k].size() == 1 || texts[k].size() == 2)) {
            return writeTexts::oneOrTwoCharactersReadEmpty();
        }
        if (texts[k].size() >= 128) {
            return writeTexts::tooLongForReader();
        }
    }
    for (std::size_t k = 1; k < 3; ++k) {
        if (texts[k].startsWith(QByteArray(signatureA.data(), qsizetype(signatureA.size())))) {
            return writeTexts::outsideEditorMakerLine();
        }
    }
    return std::nullopt;
}

std::optional<QString> softKaraokeReason(const std::array<QByteArray, 4>& texts) {
    for (std::size_t k = 0; k < 3; ++k) {
        for (const char byte : texts[k]) {
            const auto code = static_cast<unsigned char>(byte);
            if (tagSetChars().contains(code)) {
                continue;
            }
            if (inRussian(code) && code != russianEf) {
                return writeTexts::russianLetterEndsTitle();
            }
            return writeTexts::endsSoftKaraokeTitle(shownChar(code));
        }
        if (!texts[k].isEmpty() && texts[k].size() <= 3) {
            return writeTexts::oneToThreeCharactersReadEmpty();
        }
    }
    if ((texts[0].isEmpty() && (!texts[1].isEmpty() || !texts[2].isEmpty())) ||
        (texts[1].isEmpty() && !texts[2].isEmpty())) {
        return writeTexts::emptyTextClosesUp();
    }
    return std::nullopt;
}

QString readsAsReason(const SongTexts& got) {
    return writeTexts::wouldReadAs(got.first, got.second, got.third, got.fourth);
}

struct NameEvent {
    const SmfChunk* track = nullptr;
    std::size_t index = 0;
};

std::optional<NameEvent> firstTrackName(const SmfFile& file) {
    for (const SmfChunk& chunk : file.chunks) {
        for (std::size_t i = 0; i < chunk.events.size(); ++i) {
            if (chunk.events[i].isMeta() && chunk.events[i].metaType == 0x03) {
                return NameEvent{&chunk, i};
            }
        }
    }
    return std::nullopt;
}

// The edits for an ordinary file: the name event and up to three text events after it carry
// the four texts; missing ones are inserted after the last, trailing empty ones left out.
// With dropEmpty, trailing empty events that stand at no time of their own are removed.
// An event that the reader already reads as the text, cut before a byte outside the run set, is
// left as it is.
EditSet ordinaryEdits(QByteArrayView old, const NameEvent& name,
                      const std::array<QByteArray, 4>& texts,
                      const std::array<bool, 4>& readAlready, const CharSet& runChars,
                      bool dropEmpty) {
    EditSet set;
    const std::vector<SmfEvent>& events = name.track->events;
    std::vector<const SmfEvent*> slots{&events[name.index]};
    for (std::size_t i = name.index + 1; i < events.size() && slots.size() < 4; ++i) {
        if (!events[i].isTextMeta()) {
            break;
        }
        slots.push_back(&events[i]);
    }
    std::size_t lastFilled = 0;
    for (std::size_t k = 0; k < texts.size(); ++k) {
        if (!texts[k].isEmpty()) {
            lastFilled = k;
        }
    }
    for (std::size_t k = 0; k < slots.size(); ++k) {
        const SmfEvent& event = *slots[k];
        const QByteArrayView data = old.sliced(event.dataStart, event.dataSize());
        const bool cutThere =
            data.size() == texts[k].size() ||
            (data.size() > texts[k].size() && !runChars.contains(data[texts[k].size()]));
        if (dropEmpty && k > lastFilled && k > 0 && old[event.start] == '\0') {
            set.remove(event);
        } else if (readAlready[k] && !texts[k].isEmpty() && data.startsWith(texts[k]) && cutThere) {
            continue;
        } else {
            set.replaceData(event, old, texts[k]);
        }
    }
    const qsizetype insertAt = slots.back()->end;
    for (std::size_t k = slots.size(); k <= lastFilled; ++k) {
        set.insertText(insertAt, texts[k]);
    }
    return set;
}

// The "Words" track's name event and its first three "@T" text events.
struct WordsTrack {
    const SmfChunk* track = nullptr;
    std::size_t nameIndex = 0;
    std::vector<const SmfEvent*> titles;
};

std::optional<WordsTrack> wordsTrackOf(QByteArrayView old, const SmfFile& file) {
    for (const SmfChunk& chunk : file.chunks) {
        for (std::size_t i = 0; i < chunk.events.size(); ++i) {
            const SmfEvent& event = chunk.events[i];
            if (event.isMeta() && event.metaType == 0x03 &&
                old.sliced(event.dataStart, event.dataSize()) == "Words") {
                WordsTrack words{&chunk, i, {}};
                for (std::size_t j = i + 1; j < chunk.events.size() && words.titles.size() < 3;
                     ++j) {
                    const SmfEvent& line = chunk.events[j];
                    if (line.isMeta() && line.metaType == 0x01 &&
                        old.sliced(line.dataStart, line.dataSize()).startsWith("@T")) {
                        words.titles.push_back(&line);
                    }
                }
                return words;
            }
        }
    }
    return std::nullopt;
}

// The edits for a Soft Karaoke file. The reader takes the third text up to seven bytes before
// the next "@I" and, for the format name "untitled", each text less its last character: the
// lines get the spaces that it drops.
std::optional<EditSet> softKaraokeEdits(QByteArrayView old, const WordsTrack& words,
                                        const std::array<QByteArray, 4>& texts, bool untitled,
                                        QString& reason) {
    EditSet set;
    std::size_t lastFilled = 0;
    bool anyFilled = false;
    for (std::size_t k = 0; k < 3; ++k) {
        if (!texts[k].isEmpty()) {
            lastFilled = k;
            anyFilled = true;
        }
    }
    const SmfEvent& name = words.track->events[words.nameIndex];
    qsizetype insertAt = words.titles.empty() ? name.end : words.titles.back()->end;
    for (std::size_t k = 0; k < 3; ++k) {
        QByteArray line = "@T" + texts[k];
        if (untitled && !texts[k].isEmpty()) {
            line += ' ';
        }
        const bool exists = k < words.titles.size();
        const qsizetype dataEnd = exists ? words.titles[k]->end : insertAt;
        if (k == 2 && !texts[k].isEmpty()) {
            const qsizetype info = old.sliced(dataEnd).indexOf("@I");
            if (info < 0) {
                reason = writeTexts::noInfoLineAfterThirdText();
                return std::nullopt;
            }
            line += QByteArray(std::max<qsizetype>(0, 7 - info), ' ');
        }
        if (exists) {
            set.replaceData(*words.titles[k], old, line);
        } else if (anyFilled && k <= lastFilled) {
            set.insertText(insertAt, line);
        }
    }
    return set;
}

// The parse of the old file, whose memory serves the next file the thread writes; the events of
// a huge one are let go.
class ReusedParse {
public:
    ReusedParse() : file(keptFile()) {}
    ~ReusedParse() {
        std::size_t events = 0;
        for (const SmfChunk& chunk : file.chunks) {
            events += chunk.events.capacity();
        }
        if (events > keptEvents) {
            file = {};
        }
    }
    ReusedParse(const ReusedParse&) = delete;
    ReusedParse& operator=(const ReusedParse&) = delete;

    SmfFile& file;

private:
    static constexpr std::size_t keptEvents = 1 << 20;

    static SmfFile& keptFile() {
        thread_local SmfFile kept;
        return kept;
    }
};

} // namespace

QString notStoredWhereReadMessage(const QString& path) {
    return writeTexts::notStoredWhereRead(path);
}

QString softKaraokeMakerMessage() {
    return writeTexts::softKaraokeMaker();
}

QString textsRefusedMessage(const QString& path, const QString& reason) {
    return writeTexts::textsRefused(path, reason);
}

QByteArray rebuildOldBytes(QByteArrayView newBytes, const std::vector<ChangedRegion>& regions) {
    QByteArray old;
    qsizetype oldAt = 0;
    qsizetype newAt = 0;
    for (const ChangedRegion& region : regions) {
        const qsizetype same = region.offset - oldAt;
        if (same < 0 || newAt + same + region.newSize > newBytes.size()) {
            return {};
        }
        old.append(newBytes.sliced(newAt, same));
        old.append(region.oldBytes);
        newAt += same + region.newSize;
        oldAt = region.offset + region.oldBytes.size();
    }
    old.append(newBytes.sliced(newAt));
    return old;
}

TextWritePlan planTextWrite(QByteArrayView oldBytes, const SongTexts& texts, RunSet runSet,
                            const QString& shownPath) {
    TextWritePlan plan;
    const ReusedParse reused;
    const SmfFile* file = &reused.file;
    if (!parseSmfInto(oldBytes, reused.file)) {
        plan.refusal = notChangeableMidiMessage(shownPath);
        return plan;
    }
    std::array<QByteArray, 4> bytes;
    const std::array<const QString*, 4> given = {&texts.first, &texts.second, &texts.third,
                                                 &texts.fourth};
    for (std::size_t k = 0; k < bytes.size(); ++k) {
        const std::optional<QByteArray> encoded = encodeCp1251(*given[k]);
        if (!encoded) {
            plan.refusal = textsRefusedMessage(shownPath, writeTexts::notInCp1251(*given[k]));
            return plan;
        }
        bytes[k] = *encoded;
    }
    const std::optional<NameEvent> name = firstTrackName(*file);
    if (!name || name->track->events[name->index].statusAt() != firstNameMarker(oldBytes)) {
        plan.refusal = notStoredWhereReadMessage(shownPath);
        return plan;
    }
    const SmfEvent& nameEvent = name->track->events[name->index];
    const QByteArrayView formatName = oldBytes.sliced(nameEvent.dataStart, nameEvent.dataSize());
    const bool softKaraoke = isSoftKaraokeName(formatName) && oldBytes.size() > midiHeaderSize &&
                             oldBytes.sliced(midiHeaderSize).contains("Words");

    std::vector<EditSet> candidates;
    std::optional<QString> reason;
    if (softKaraoke) {
        if (bytes[3] != formatName) {
            plan.refusal = softKaraokeMakerMessage();
            return plan;
        }
        const std::optional<WordsTrack> words = wordsTrackOf(oldBytes, *file);
        if (!words) {
            plan.refusal = notStoredWhereReadMessage(shownPath);
            return plan;
        }
        QString missing;
        std::optional<EditSet> set =
            softKaraokeEdits(oldBytes, *words, bytes, formatName == "untitled", missing);
        if (!set) {
            plan.refusal = textsRefusedMessage(shownPath, missing);
            return plan;
        }
        candidates.push_back(std::move(*set));
        reason = softKaraokeReason(bytes);
    } else {
        const SongTexts before = readKaraokeBytes(oldBytes, runSet);
        const std::array<bool, 4> readAlready = {
            before.first == texts.first, before.second == texts.second, before.third == texts.third,
            before.fourth == texts.fourth};
        const CharSet& runChars = runSetChars(runSet);
        candidates.push_back(ordinaryEdits(oldBytes, *name, bytes, readAlready, runChars, false));
        candidates.push_back(ordinaryEdits(oldBytes, *name, bytes, readAlready, runChars, true));
        reason = ordinaryReason(bytes, runSet);
    }

    std::optional<SongTexts> firstMisread;
    for (EditSet& set : candidates) {
        const QByteArray newBytes = set.apply(oldBytes, *file);
        const SongTexts got = readKaraokeBytes(newBytes, runSet);
        if (got != texts) {
            if (!firstMisread) {
                firstMisread = got;
            }
            continue;
        }
        if (!parsesAsSpliced(oldBytes, *file, newBytes, set.splices())) {
            plan.refusal = notChangeableMidiMessage(shownPath);
            return plan;
        }
        plan.ok = true;
        plan.newBytes = newBytes;
        for (const Edit& edit : set.edits) {
            plan.regions.push_back({edit.offset,
                                    oldBytes.sliced(edit.offset, edit.oldSize).toByteArray(),
                                    edit.bytes.size()});
        }
        return plan;
    }
    plan.refusal = textsRefusedMessage(shownPath, reason ? *reason : readsAsReason(*firstMisread));
    return plan;
}

} // namespace corvanteller
