#pragma once
// The code page tables of core/text_encoding.cpp, generated into code_page_tables.cpp by
// scripts/generate-code-pages from the GNU C library's iconv, whose conversions the program
// keeps to the byte on every platform (no iconv on Windows, another GBK in the browser).
//
// A code page reads a byte at a time: `bytes[b]` is the character of the byte b, kNoCharacter
// when it is none alone, or kLeadByte when it begins a double-byte character. The second byte
// of a double-byte character lies between firstTrail and lastTrail; the character of lead,
// trail is pairs[rows[lead] * (lastTrail - firstTrail + 1) + trail - firstTrail], 0 for none.
// Some code pages (CP1255, CP1258) write a letter as a base letter and a combining mark after
// it: when `compositions` holds the pair, the two read as one precomposed character, which
// composes again with a further mark only in a code page that `recomposes`.
//
// GBK is written from Unicode by the same table: iconv writes each character as the first GBK
// code that reads as it (the single bytes first, then the pairs in byte order), which the
// generator checks.

#include <cstddef>
#include <cstdint>

namespace qorvel::code_page_tables {

inline constexpr std::uint16_t kNoCharacter = 0xFFFF;
inline constexpr std::uint16_t kLeadByte = 0xFFFE;
inline constexpr std::uint16_t kNoRow = 0xFFFF;

struct Composition {
    std::uint16_t base;
    std::uint16_t mark;
    std::uint16_t composed;
};

struct Table {
    const char* name;  // iconv's name: "GBK", "CP1252", "ISO-8859-2", ...
    const std::uint16_t* bytes;
    std::uint8_t firstTrail;
    std::uint8_t lastTrail;
    const std::uint16_t* rows;   // 256 entries, kNoRow for a byte that begins no pair; null without pairs
    const std::uint16_t* pairs;  // null without pairs
    const Composition* compositions;  // sorted by base, then mark
    std::size_t compositionCount;
    bool recomposes;
};

extern const Table kTables[];
extern const std::size_t kTableCount;

}  // namespace qorvel::code_page_tables
