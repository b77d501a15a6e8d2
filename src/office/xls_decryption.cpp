// SPDX-License-Identifier: GPL-3.0-or-later
#include "office/xls_decryption.h"

// RC4 and MD5 sit in OpenSSL 3's legacy provider for EVP; the low-level functions, deprecated
// but still in libcrypto, need no provider.
#define OPENSSL_SUPPRESS_DEPRECATED
#include <openssl/md5.h>
#include <openssl/rc4.h>
#include <openssl/sha.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <optional>
#include <span>
#include <string_view>

namespace corvanteller::biff {
namespace {

constexpr std::uint16_t bofRecord = 0x0809;
constexpr std::uint16_t filepassRecord = 0x002F;
constexpr std::uint16_t boundsheetRecord = 0x0085;
constexpr std::uint16_t passedFilepass = 0xFFFF;
// Each block of the stream has a key of its own.
constexpr std::size_t blockSize = 1024;
constexpr std::u16string_view defaultPassword = u"VelvetSweatshop";

std::uint16_t u16(const std::uint8_t* at) {
    return static_cast<std::uint16_t>(at[0] | (at[1] << 8));
}

std::uint32_t u32(const std::uint8_t* at) {
    return static_cast<std::uint32_t>(u16(at)) | (static_cast<std::uint32_t>(u16(at + 2)) << 16);
}

std::vector<std::uint8_t> passwordBytes() {
    std::vector<std::uint8_t> bytes;
    for (const char16_t unit : defaultPassword) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return bytes;
}

void appendBlock(std::vector<std::uint8_t>& bytes, std::uint32_t block) {
    for (int i = 0; i < 4; ++i) {
        bytes.push_back(static_cast<std::uint8_t>(block >> (8 * i)));
    }
}

// The key of a block and how its verifier is checked, by the kind of encryption.
class KeyMaker {
public:
    virtual ~KeyMaker() = default;
    virtual std::vector<std::uint8_t> key(std::uint32_t block) const = 0;
    // Whether the decrypted verifier hash is the hash of the decrypted verifier.
    virtual bool verifies(std::span<const std::uint8_t> verifier,
                          std::span<const std::uint8_t> hash) const = 0;
};

// RC4 with MD5: a 40-bit intermediate key from the password and the salt.
class Rc4Keys final : public KeyMaker {
public:
    explicit Rc4Keys(std::span<const std::uint8_t> salt) {
        const std::vector<std::uint8_t> password = passwordBytes();
        std::array<std::uint8_t, MD5_DIGEST_LENGTH> digest{};
        MD5(password.data(), password.size(), digest.data());
        std::vector<std::uint8_t> buffer;
        for (int i = 0; i < 16; ++i) {
            buffer.insert(buffer.end(), digest.begin(), digest.begin() + 5);
            buffer.insert(buffer.end(), salt.begin(), salt.end());
        }
        MD5(buffer.data(), buffer.size(), digest.data());
        std::copy_n(digest.begin(), 5, intermediate_.begin());
    }
    std::vector<std::uint8_t> key(std::uint32_t block) const override {
        std::vector<std::uint8_t> input(intermediate_.begin(), intermediate_.end());
        appendBlock(input, block);
        std::vector<std::uint8_t> key(MD5_DIGEST_LENGTH);
        MD5(input.data(), input.size(), key.data());
        return key;
    }
    bool verifies(std::span<const std::uint8_t> verifier,
                  std::span<const std::uint8_t> hash) const override {
        std::array<std::uint8_t, MD5_DIGEST_LENGTH> digest{};
        MD5(verifier.data(), verifier.size(), digest.data());
        return hash.size() >= digest.size() &&
               std::equal(digest.begin(), digest.end(), hash.begin());
    }

private:
    std::array<std::uint8_t, 5> intermediate_{};
};

// RC4 CryptoAPI: SHA-1 of the salt and the password, keys of 40 to 128 bits.
class CryptoApiKeys final : public KeyMaker {
public:
    CryptoApiKeys(std::span<const std::uint8_t> salt, std::size_t keyBits) : keyBits_(keyBits) {
        std::vector<std::uint8_t> input(salt.begin(), salt.end());
        const std::vector<std::uint8_t> password = passwordBytes();
        input.insert(input.end(), password.begin(), password.end());
        SHA1(input.data(), input.size(), base_.data());
    }
    std::vector<std::uint8_t> key(std::uint32_t block) const override {
        std::vector<std::uint8_t> input(base_.begin(), base_.end());
        appendBlock(input, block);
        std::array<std::uint8_t, SHA_DIGEST_LENGTH> digest{};
        SHA1(input.data(), input.size(), digest.data());
        // A 40-bit key is used as 128 bits, the rest zero.
        std::vector<std::uint8_t> key(digest.begin(), digest.begin() + keyBits_ / 8);
        if (keyBits_ == 40) {
            key.resize(16, 0);
        }
        return key;
    }
    bool verifies(std::span<const std::uint8_t> verifier,
                  std::span<const std::uint8_t> hash) const override {
        std::array<std::uint8_t, SHA_DIGEST_LENGTH> digest{};
        SHA1(verifier.data(), verifier.size(), digest.data());
        return hash.size() >= digest.size() &&
               std::equal(digest.begin(), digest.end(), hash.begin());
    }

private:
    std::array<std::uint8_t, SHA_DIGEST_LENGTH> base_{};
    std::size_t keyBits_;
};

struct Verifier {
    std::span<const std::uint8_t> verifier;
    std::span<const std::uint8_t> hash;
};

// The key maker and the verifier of a FILEPASS record's RC4 header; nothing for another
// encryption.
std::optional<Verifier> rc4Header(std::span<const std::uint8_t> data,
                                  std::unique_ptr<KeyMaker>& keys) {
    if (data.size() < 6 || u16(data.data()) != 1) {
        return std::nullopt; // XOR obfuscation
    }
    const std::uint16_t major = u16(data.data() + 2);
    const std::uint16_t minor = u16(data.data() + 4);
    if (major == 1 && minor == 1) {
        if (data.size() < 54) {
            return std::nullopt;
        }
        keys = std::make_unique<Rc4Keys>(data.subspan(6, 16));
        return Verifier{data.subspan(22, 16), data.subspan(38, 16)};
    }
    if (major < 2 || major > 4 || minor != 2 || data.size() < 14) {
        return std::nullopt;
    }
    const std::size_t headerSize = u32(data.data() + 10);
    // The header: flags, extra size, cipher, hash, key size, ...; then the verifier.
    if (headerSize < 20 || headerSize > data.size() - 14) {
        return std::nullopt;
    }
    const std::uint8_t* header = data.data() + 14;
    const std::uint32_t cipher = u32(header + 8);
    const std::uint32_t hash = u32(header + 12);
    std::size_t keyBits = u32(header + 16);
    if (keyBits == 0) {
        keyBits = 40;
    }
    const std::size_t at = 14 + headerSize;
    if ((cipher != 0 && cipher != 0x6801) || (hash != 0 && hash != 0x8004) || keyBits < 40 ||
        keyBits > 128 || keyBits % 8 != 0 || data.size() < at + 4 + 16 + 16 + 4 + 20 ||
        u32(data.data() + at) != 16) {
        return std::nullopt;
    }
    keys = std::make_unique<CryptoApiKeys>(data.subspan(at + 4, 16), keyBits);
    return Verifier{data.subspan(at + 20, 16), data.subspan(at + 40, 20)};
}

bool passwordMatches(const KeyMaker& keys, const Verifier& stored) {
    const std::vector<std::uint8_t> key = keys.key(0);
    RC4_KEY cipher;
    RC4_set_key(&cipher, static_cast<int>(key.size()), key.data());
    std::vector<std::uint8_t> verifier(stored.verifier.size());
    std::vector<std::uint8_t> hash(stored.hash.size());
    RC4(&cipher, verifier.size(), stored.verifier.data(), verifier.data());
    RC4(&cipher, hash.size(), stored.hash.data(), hash.data());
    return keys.verifies(verifier, hash);
}

// Records whose data is never encrypted: BOF, FILEPASS, USREXCL, FILELOCK, INTERFACEHDR,
// RRDINFO, RRDHEAD.
bool isPlainRecord(std::uint16_t id) {
    switch (id) {
    case bofRecord:
    case filepassRecord:
    case 0x0194:
    case 0x0195:
    case 0x00E1:
    case 0x0196:
    case 0x0138:
        return true;
    default:
        return false;
    }
}

} // namespace

Decryption decryptWithDefaultPassword(std::vector<std::uint8_t>& stream) {
    // FILEPASS follows the globals' BOF (and perhaps WRITEPROT).
    std::size_t at = 0;
    std::optional<std::size_t> filepass;
    for (int records = 0; records < 3 && at + 4 <= stream.size(); ++records) {
        const std::size_t length = u16(stream.data() + at + 2);
        if (u16(stream.data() + at) == filepassRecord) {
            filepass = at;
            break;
        }
        at += 4 + length;
    }
    if (!filepass || *filepass + 4 + u16(stream.data() + *filepass + 2) > stream.size()) {
        return Decryption::NotDecrypted;
    }
    const std::span<const std::uint8_t> data(stream.data() + *filepass + 4,
                                             u16(stream.data() + *filepass + 2));
    std::unique_ptr<KeyMaker> keys;
    const std::optional<Verifier> verifier = rc4Header(data, keys);
    if (!verifier || !passwordMatches(*keys, *verifier)) {
        return Decryption::NotDecrypted;
    }

    // Which bytes are encrypted: the data of the records after FILEPASS, but never their
    // headers, the plain records, or the sheet offsets of BOUNDSHEET. The key stream counts
    // every byte of the stream from its start.
    std::vector<bool> encrypted(stream.size(), false);
    at = *filepass + 4 + data.size();
    while (at + 4 <= stream.size()) {
        const std::uint16_t id = u16(stream.data() + at);
        const std::size_t length = u16(stream.data() + at + 2);
        const std::size_t end = std::min(at + 4 + length, stream.size());
        if (!isPlainRecord(id)) {
            const std::size_t first = at + 4 + (id == boundsheetRecord ? 4 : 0);
            for (std::size_t i = first; i < end; ++i) {
                encrypted[i] = true;
            }
        }
        at = end;
    }
    std::array<std::uint8_t, blockSize> zeros{};
    std::array<std::uint8_t, blockSize> keyStream{};
    for (std::size_t block = 0; block * blockSize < stream.size(); ++block) {
        const std::size_t first = block * blockSize;
        const std::size_t last = std::min(first + blockSize, stream.size());
        if (std::find(encrypted.begin() + static_cast<std::ptrdiff_t>(first),
                      encrypted.begin() + static_cast<std::ptrdiff_t>(last),
                      true) == encrypted.begin() + static_cast<std::ptrdiff_t>(last)) {
            continue;
        }
        const std::vector<std::uint8_t> key = keys->key(static_cast<std::uint32_t>(block));
        RC4_KEY cipher;
        RC4_set_key(&cipher, static_cast<int>(key.size()), key.data());
        RC4(&cipher, blockSize, zeros.data(), keyStream.data());
        for (std::size_t i = first; i < last; ++i) {
            if (encrypted[i]) {
                stream[i] ^= keyStream[i - first];
            }
        }
    }
    stream[*filepass] = passedFilepass & 0xFF;
    stream[*filepass + 1] = passedFilepass >> 8;
    return Decryption::Decrypted;
}

} // namespace corvanteller::biff
