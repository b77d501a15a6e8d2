// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

namespace corvanteller::biff {

// A workbook stream that Excel encrypted with its default password, "VelvetSweatshop", which it
// uses for workbooks that are protected but open without asking: RC4 with MD5 or RC4 CryptoAPI
// with SHA-1, as its FILEPASS record says. Decrypted records lose nothing; the FILEPASS record
// stays in its place (the sheets' offsets count it) under an id that no record has (0xFFFF), so
// that the stream then reads as a plain one.
enum class Decryption : std::uint8_t {
    Decrypted,
    // No FILEPASS, XOR obfuscation, another encryption, or another password.
    NotDecrypted,
};

Decryption decryptWithDefaultPassword(std::vector<std::uint8_t>& stream);

} // namespace corvanteller::biff
