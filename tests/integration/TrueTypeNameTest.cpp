#include "integration/TrueTypeName.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using TBytes = std::vector<unsigned char>;

struct TRecord {
    std::uint16_t Platform;
    std::uint16_t Encoding;
    std::uint16_t Language;
    std::uint16_t NameId;
    std::u16string Text;
};

constexpr std::uint16_t Mac = 1;
constexpr std::uint16_t Win = 3;
constexpr std::uint16_t Bmp = 1;
constexpr std::uint16_t Full = 10;
constexpr std::uint16_t EnUs = 0x0409;
constexpr std::uint16_t DeDe = 0x0407;
constexpr std::uint16_t RuRu = 0x0419;
constexpr std::uint16_t FullName = 4;
constexpr std::uint16_t Family = 1;

// Layout of a plain font from BuildFont: the directory lists a four-byte 'head' and then
// 'name', which is the last thing in the file.
constexpr std::size_t NameEntryAt = 12 + 16;
constexpr std::size_t NameTableAt = 12 + 2 * 16 + 4;
constexpr std::size_t FirstNameRecordAt = NameTableAt + 6;

void Put16(TBytes& out, std::uint32_t value) {
    out.push_back(static_cast<unsigned char>(value >> 8));
    out.push_back(static_cast<unsigned char>(value));
}

void Put32(TBytes& out, std::uint32_t value) {
    Put16(out, value >> 16);
    Put16(out, value & 0xFFFF);
}

void PutTag(TBytes& out, const char (&tag)[5]) {
    // Byte by byte: GCC 12's -Wstringop-overflow misreads a ranged insert here.
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<unsigned char>(tag[i]));
    }
}

TBytes BuildNameTable(const std::vector<TRecord>& records) {
    TBytes table;
    TBytes storage;
    Put16(table, 0);
    Put16(table, static_cast<std::uint32_t>(records.size()));
    Put16(table, static_cast<std::uint32_t>(6 + 12 * records.size()));
    for (const TRecord& record : records) {
        Put16(table, record.Platform);
        Put16(table, record.Encoding);
        Put16(table, record.Language);
        Put16(table, record.NameId);
        Put16(table, static_cast<std::uint32_t>(2 * record.Text.size()));
        Put16(table, static_cast<std::uint32_t>(storage.size()));
        for (char16_t unit : record.Text)
            Put16(storage, unit);
    }
    table.insert(table.end(), storage.begin(), storage.end());
    return table;
}

// `base` is where the font starts in its file: table offsets count from the file's start.
TBytes BuildFont(const std::vector<TRecord>& records, std::uint32_t version = 0x00010000,
                 std::uint32_t base = 0) {
    const TBytes name = BuildNameTable(records);
    TBytes font;
    Put32(font, version);
    Put16(font, 2);
    Put16(font, 32);
    Put16(font, 1);
    Put16(font, 0);
    PutTag(font, "head");
    Put32(font, 0);
    Put32(font, base + NameTableAt - 4);
    Put32(font, 4);
    PutTag(font, "name");
    Put32(font, 0);
    Put32(font, base + NameTableAt);
    Put32(font, static_cast<std::uint32_t>(name.size()));
    Put32(font, 0);
    font.insert(font.end(), name.begin(), name.end());
    return font;
}

TBytes BuildCollection(const std::vector<std::vector<TRecord>>& fonts) {
    TBytes file;
    PutTag(file, "ttcf");
    Put32(file, 0x00010000);
    Put32(file, static_cast<std::uint32_t>(fonts.size()));
    std::uint32_t base = static_cast<std::uint32_t>(12 + 4 * fonts.size());
    TBytes bodies;
    for (const auto& records : fonts) {
        Put32(file, base);
        const TBytes font = BuildFont(records, 0x00010000, base);
        bodies.insert(bodies.end(), font.begin(), font.end());
        base += static_cast<std::uint32_t>(font.size());
    }
    file.insert(file.end(), bodies.begin(), bodies.end());
    return file;
}

TBytes Patched16(TBytes bytes, std::size_t at, std::uint16_t value) {
    bytes[at] = static_cast<unsigned char>(value >> 8);
    bytes[at + 1] = static_cast<unsigned char>(value);
    return bytes;
}

TBytes Patched32(TBytes bytes, std::size_t at, std::uint32_t value) {
    bytes = Patched16(std::move(bytes), at, static_cast<std::uint16_t>(value >> 16));
    return Patched16(std::move(bytes), at + 2, static_cast<std::uint16_t>(value));
}

TBytes WithTail(TBytes bytes, std::size_t count) {
    bytes.insert(bytes.end(), count, 0x41);
    return bytes;
}

std::u16string Read(const TBytes& bytes) {
    return ReadTrueTypeFullName(bytes.data(), bytes.size());
}

const std::vector<TRecord> OneName = {{Win, Bmp, EnUs, FullName, u"Sample Sans"}};

TEST(TrueTypeName, PicksTheWindowsFullName) {
    struct TCase {
        const char* What;
        TBytes Font;
        std::u16string Expected;
    };
    const TCase cases[] = {
        {"English US over an earlier language",
         BuildFont({{Win, Bmp, DeDe, FullName, u"Beispiel"},
                    {Win, Bmp, EnUs, Family, u"Family only"},
                    {Win, Bmp, EnUs, FullName, u"Sample"}}),
         u"Sample"},
        {"first Windows Unicode name without English US",
         BuildFont({{Mac, 0, 0, FullName, u"Mac"},
                    {Win, 0, EnUs, FullName, u"Symbol"},
                    {Win, Bmp, RuRu, FullName, u"Образец"},
                    {Win, Full, DeDe, FullName, u"Beispiel"}}),
         u"Образец"},
        {"full Unicode encoding keeps surrogate pairs",
         BuildFont({{Win, Full, EnUs, FullName, u"A\U0001D400"}}), u"A\U0001D400"},
        {"Macintosh records only", BuildFont({{Mac, 0, 0, FullName, u"Mac"}}), u""},
        {"no full name", BuildFont({{Win, Bmp, EnUs, Family, u"Family"}}), u""},
        {"no records", BuildFont({}), u""},
        {"NUL ends the name", BuildFont({{Win, Bmp, EnUs, FullName, std::u16string(u"Ab\0c", 4)}}),
         u"Ab"},
        {"odd string length drops the stray byte",
         Patched16(BuildFont(OneName), FirstNameRecordAt + 8, 5), u"Sa"},
        {"'true' version", BuildFont(OneName, 0x74727565), u"Sample Sans"},
        {"'OTTO' version", BuildFont(OneName, 0x4F54544F), u"Sample Sans"},
        {"unknown version", BuildFont(OneName, 0x774F4646), u""},
        {"collection reads its first font",
         BuildCollection(
             {{{Win, Bmp, EnUs, FullName, u"First"}}, {{Win, Bmp, EnUs, FullName, u"Second"}}}),
         u"First"},
        {"collection without fonts", Patched32(BuildCollection({OneName}), 8, 0), u""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        EXPECT_EQ(Read(c.Font), c.Expected);
    }
}

TEST(TrueTypeName, NumbersPointingOutsideGiveEmpty) {
    const TBytes font = BuildFont(OneName);
    ASSERT_EQ(Read(font), u"Sample Sans");
    struct TCase {
        const char* What;
        TBytes Font;
    };
    // The wrapping values are the ones a 32-bit "offset + length <= size" check lets through.
    const TCase cases[] = {
        {"table offset past the end", Patched32(font, NameEntryAt + 8, 0x00001000)},
        {"table offset wraps", Patched32(font, NameEntryAt + 8, 0xFFFFFFF0)},
        {"table length past the end", Patched32(font, NameEntryAt + 12, 0x00001000)},
        {"table length wraps", Patched32(font, NameEntryAt + 12, 0xFFFFFFF0)},
        {"string past the table, inside the file",
         WithTail(Patched32(font, NameEntryAt + 12, 6 + 12 + 2 * 11 - 1), 16)},
        {"storage offset past the table", Patched16(font, NameTableAt + 4, 0xFFFF)},
        {"string offset past the table", Patched16(font, FirstNameRecordAt + 10, 0xFFFF)},
        {"string length past the table", Patched16(font, FirstNameRecordAt + 8, 0xFFFF)},
        {"more records than the table holds", Patched16(font, NameTableAt + 2, 0xFFFF)},
        {"unknown name table format", Patched16(font, NameTableAt, 2)},
        {"collection's font past the end", Patched32(BuildCollection({OneName}), 12, 0xFFFFFFF0)},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        EXPECT_EQ(Read(c.Font), u"");
    }
}

// The name's last byte is the file's last byte, so every shorter prefix lacks part of
// something the reader needs. Each prefix is its own allocation so a sanitizer sees overreads.
TEST(TrueTypeName, EveryTruncationGivesEmpty) {
    for (const TBytes& whole : {BuildFont(OneName), BuildCollection({OneName})}) {
        ASSERT_EQ(Read(whole), u"Sample Sans");
        for (std::size_t size = 0; size < whole.size(); ++size) {
            const TBytes prefix(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
            EXPECT_EQ(Read(prefix), u"") << "size " << size;
        }
    }
    EXPECT_EQ(ReadTrueTypeFullName(nullptr, 0), u"");
}

// Under Wine the host's root is drive Z:.
std::string HostPath(const std::string& unixPath) {
#ifdef _WIN32
    return "Z:" + unixPath;
#else
    return unixPath;
#endif
}

TEST(TrueTypeName, ReadsARealFont) {
    std::ifstream file(HostPath("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"),
                       std::ios::binary);
    if (!file)
        GTEST_SKIP() << "fonts-dejavu-core is not installed";
    const TBytes bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_EQ(Read(bytes), u"DejaVu Sans");
}

} // namespace
