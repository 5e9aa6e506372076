#include "integration/TrueTypeName.h"

#include <cstdint>
#include <optional>
#include <span>

namespace {

using TBytes = std::span<const unsigned char>;

constexpr std::uint32_t MakeTag(char a, char b, char c, char d) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(a)) << 24 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b)) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(c)) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(d));
}

constexpr std::uint32_t VersionTrueType = 0x00010000;
constexpr std::uint32_t VersionAppleTrueType = MakeTag('t', 'r', 'u', 'e');
constexpr std::uint32_t VersionOpenTypeCff = MakeTag('O', 'T', 'T', 'O');
constexpr std::uint32_t TagCollection = MakeTag('t', 't', 'c', 'f');
constexpr std::uint32_t TagName = MakeTag('n', 'a', 'm', 'e');

constexpr std::size_t OffsetTableSize = 12;
constexpr std::size_t TableRecordSize = 16;
constexpr std::size_t NameHeaderSize = 6;
constexpr std::size_t NameRecordSize = 12;

constexpr std::uint16_t PlatformWindows = 3;
constexpr std::uint16_t EncodingUnicodeBmp = 1;
constexpr std::uint16_t EncodingUnicodeFull = 10;
constexpr std::uint16_t LanguageEnglishUs = 0x0409;
constexpr std::uint16_t NameIdFullName = 4;

struct TNameRecord {
    std::uint16_t Platform = 0;
    std::uint16_t Encoding = 0;
    std::uint16_t Language = 0;
    std::uint16_t NameId = 0;
    std::uint16_t Length = 0;
    std::uint16_t Offset = 0;
};

// Never adds a file's offset to anything: on a 32-bit build offset + length can wrap
// around and pass a naive "end <= size" test.
bool Fits(TBytes bytes, std::size_t at, std::size_t length) {
    return at <= bytes.size() && length <= bytes.size() - at;
}

std::optional<TBytes> Slice(TBytes bytes, std::size_t at, std::size_t length) {
    if (!Fits(bytes, at, length))
        return std::nullopt;
    return bytes.subspan(at, length);
}

std::uint16_t BigEndian16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] << 8 | p[1]);
}

std::optional<std::uint16_t> ReadU16(TBytes bytes, std::size_t at) {
    if (!Fits(bytes, at, 2))
        return std::nullopt;
    return BigEndian16(&bytes[at]);
}

std::optional<std::uint32_t> ReadU32(TBytes bytes, std::size_t at) {
    if (!Fits(bytes, at, 4))
        return std::nullopt;
    return static_cast<std::uint32_t>(BigEndian16(&bytes[at])) << 16 | BigEndian16(&bytes[at + 2]);
}

// A collection stands for its first font; a plain file is its own first font.
std::optional<TBytes> FirstFont(TBytes file) {
    const auto tag = ReadU32(file, 0);
    if (!tag)
        return std::nullopt;
    if (*tag != TagCollection)
        return file;
    const auto count = ReadU32(file, 8);
    const auto at = ReadU32(file, 12);
    if (!count || *count == 0 || !at || !Fits(file, *at, 0))
        return std::nullopt;
    return file.subspan(*at);
}

bool IsSfntVersion(std::uint32_t version) {
    return version == VersionTrueType || version == VersionAppleTrueType ||
           version == VersionOpenTypeCff;
}

// Table offsets count from the start of the file, also for the fonts of a collection.
std::optional<TBytes> FindTable(TBytes file, TBytes font, std::uint32_t wanted) {
    const auto version = ReadU32(font, 0);
    const auto count = ReadU16(font, 4);
    if (!version || !IsSfntVersion(*version) || !count)
        return std::nullopt;
    for (std::size_t i = 0; i < *count; ++i) {
        const std::size_t at = OffsetTableSize + i * TableRecordSize;
        const auto tag = ReadU32(font, at);
        const auto offset = ReadU32(font, at + 8);
        const auto length = ReadU32(font, at + 12);
        if (!tag || !offset || !length)
            return std::nullopt;
        if (*tag == wanted)
            return Slice(file, *offset, *length);
    }
    return std::nullopt;
}

std::optional<TNameRecord> ReadNameRecord(TBytes table, std::size_t index) {
    const auto bytes = Slice(table, NameHeaderSize + index * NameRecordSize, NameRecordSize);
    if (!bytes)
        return std::nullopt;
    const auto field = [&](std::size_t n) { return BigEndian16(&(*bytes)[2 * n]); };
    return TNameRecord{field(0), field(1), field(2), field(3), field(4), field(5)};
}

bool IsWindowsUnicodeFullName(const TNameRecord& record) {
    return record.Platform == PlatformWindows && record.NameId == NameIdFullName &&
           (record.Encoding == EncodingUnicodeBmp || record.Encoding == EncodingUnicodeFull);
}

// English US wins wherever it stands, as Windows lists a font under that name. A record list
// that runs past the table makes the whole table untrustworthy, even if the wanted record
// comes before the break.
std::optional<TNameRecord> ChooseFullName(TBytes table) {
    const auto format = ReadU16(table, 0);
    const auto count = ReadU16(table, 2);
    if (!format || *format > 1 || !count || !Fits(table, NameHeaderSize, *count * NameRecordSize))
        return std::nullopt;
    std::optional<TNameRecord> chosen;
    for (std::size_t i = 0; i < *count; ++i) {
        const auto record = ReadNameRecord(table, i);
        if (!record)
            return std::nullopt;
        if (!IsWindowsUnicodeFullName(*record))
            continue;
        if (record->Language == LanguageEnglishUs)
            return record;
        if (!chosen)
            chosen = record;
    }
    return chosen;
}

std::optional<TBytes> FullNameBytes(TBytes table) {
    const auto storage = ReadU16(table, 4);
    const auto record = ChooseFullName(table);
    if (!storage || !record)
        return std::nullopt;
    return Slice(table, std::size_t{*storage} + record->Offset, record->Length);
}

// A stray last byte of an odd length is no character; a NUL ends the name as it would end
// the string that Windows hands back for the same font.
std::u16string DecodeUtf16BigEndian(TBytes bytes) {
    std::u16string text;
    for (std::size_t at = 0; at + 1 < bytes.size(); at += 2) {
        const char16_t unit = BigEndian16(&bytes[at]);
        if (unit == 0)
            break;
        text.push_back(unit);
    }
    return text;
}

} // namespace

// The bytes come from a file on the distribution medium, so every number in them is checked
// before use; anything unreadable gives an empty name.
std::u16string ReadTrueTypeFullName(const unsigned char* data, std::size_t size) {
    if (data == nullptr)
        return {};
    const TBytes file(data, size);
    const auto font = FirstFont(file);
    const auto table = font ? FindTable(file, *font, TagName) : std::nullopt;
    const auto name = table ? FullNameBytes(*table) : std::nullopt;
    return name ? DecodeUtf16BigEndian(*name) : std::u16string();
}
