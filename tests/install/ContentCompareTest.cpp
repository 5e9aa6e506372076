// The byte comparison over files of one piece, of whole pieces and of several with a remainder
// (the pieces are 1 MiB), each changed where a faulty loop would not look.
#include "install/ContentCompare.h"
#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

using enum TContentVerdict::TOutcome;

constexpr size_t Piece = 1 << 20;

std::string Pattern(size_t size) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>(i * 13 + i / 4093);
    }
    return bytes;
}

struct TCase {
    const char* Name;
    size_t Size;
    long long Flipped; // the installed copy's byte changed there; -1: none
    TContentVerdict::TOutcome Outcome;
};

TEST(ContentCompareTest, BytesDecideWhereverTheyDiffer) {
    const TCase cases[] = {
        {"empty", 0, -1, cvSame},
        {"small, same", 100, -1, cvSame},
        {"small, last byte", 100, 99, cvDifferent},
        {"one whole piece, same", Piece, -1, cvSame},
        {"one whole piece, last byte", Piece, Piece - 1, cvDifferent},
        {"pieces and a rest, same", 2 * Piece + 17, -1, cvSame},
        {"pieces and a rest, first of the second piece", 2 * Piece + 17, Piece, cvDifferent},
        {"pieces and a rest, last byte", 2 * Piece + 17, 2 * Piece + 16, cvDifferent},
    };
    TTempFolder folder;
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::string original = Pattern(c.Size);
        std::string installed = original;
        if (c.Flipped >= 0) {
            installed[static_cast<size_t>(c.Flipped)] ^= 0x20;
        }
        WriteBytes(folder / L"installed", installed);
        WriteBytes(folder / L"original", original);
        const TContentVerdict verdict =
            CompareContent({folder / L"installed", folder / L"original"});
        EXPECT_EQ(verdict.Outcome, c.Outcome);
        EXPECT_EQ(verdict.Digests.empty(), c.Outcome == cvSame) << std::string(c.Name);
    }
}

TEST(ContentCompareTest, SizeMissingAndReadOnlyAreToldApart) {
    TTempFolder folder;
    WriteBytes(folder / L"short", "abc");
    WriteBytes(folder / L"long", "abcd");
    const TContentVerdict bySize = CompareContent({folder / L"short", folder / L"long"});
    EXPECT_EQ(bySize.Outcome, cvDifferent);
    EXPECT_TRUE(bySize.Digests.empty()); // the sizes tell, nothing is read
    EXPECT_EQ(CompareContent({folder / L"none", folder / L"long"}).Outcome, cvInstalledMissing);
    EXPECT_EQ(CompareContent({folder / L"short", folder / L"none"}).Outcome, cvOriginalMissing);

    WriteBytes(folder / L"copy", "abc");
    SetFileAttributesW((folder / L"copy").c_str(), FILE_ATTRIBUTE_READONLY);
    const TContentVerdict readOnly = CompareContent({folder / L"copy", folder / L"short"});
    EXPECT_EQ(readOnly.Outcome, cvSame);
    EXPECT_TRUE(readOnly.ReadOnly);
    SetFileAttributesW((folder / L"copy").c_str(), FILE_ATTRIBUTE_NORMAL);
}

} // namespace
