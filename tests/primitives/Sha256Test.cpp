#include "primitives/Sha256.h"
#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

std::wstring OfBytes(const std::string& bytes) {
    TSha256 digest{};
    EXPECT_TRUE(Sha256(bytes.data(), bytes.size(), digest));
    return HexDigest(digest);
}

TEST(Sha256Test, KnownDigests) {
    EXPECT_EQ(OfBytes(""), L"e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(OfBytes("abc"), L"ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}

// Files read in one piece, in exactly whole pieces, and in pieces with a remainder all give
// the digest of their bytes.
TEST(Sha256Test, FileDigestIsTheBytesDigestWhateverThePieces) {
    TTempFolder folder;
    std::vector<unsigned char> buffer(4096);
    for (size_t size : {size_t(0), size_t(100), size_t(4096), size_t(3 * 4096), size_t(50'007)}) {
        SCOPED_TRACE(testing::Message() << size << " bytes");
        std::string bytes(size, '\0');
        for (size_t i = 0; i < size; ++i) {
            bytes[i] = static_cast<char>(i * 7 + i / 251);
        }
        const std::wstring path = folder / (L"f" + std::to_wstring(size));
        WriteBytes(path, bytes);
        const TFileDigest file = FileSha256(path, buffer);
        ASSERT_TRUE(file.Read) << file.Error;
        EXPECT_EQ(HexDigest(file.Digest), OfBytes(bytes));
    }
}

TEST(Sha256Test, MissingFileSaysWhy) {
    TTempFolder folder;
    std::vector<unsigned char> buffer;
    const TFileDigest file = FileSha256(folder / L"absent.dll", buffer);
    EXPECT_FALSE(file.Read);
    EXPECT_EQ(file.Error, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

} // namespace
