#include "common/Errors.h"
#include "common/Handles.h"
#include "primitives/FilePrimitives.h"
#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <functional>

namespace {
FILETIME FromLocal(const SYSTEMTIME& local) {
    FILETIME localTime, utc;
    SystemTimeToFileTime(&local, &localTime);
    LocalFileTimeToFileTime(&localTime, &utc);
    return utc;
}

SYSTEMTIME ToLocal(const FILETIME& utc) {
    FILETIME local;
    SYSTEMTIME result;
    FileTimeToLocalFileTime(&utc, &local);
    FileTimeToSystemTime(&local, &result);
    return result;
}

std::string Pattern(size_t size) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>(i * 7 % 251);
    }
    return bytes;
}
} // namespace

TEST(CopyFileByStream, ReplacesTargetAndCarriesTimeToTwoSeconds) {
    TTempFolder folder;
    const std::wstring source = folder / L"big.bin", target = folder / L"copy.bin";
    const std::string bytes = Pattern(3 * 1024 * 1024 + 123); // several buffers and a rest
    WriteBytes(source, bytes);
    SetLastWriteTime(source, FromLocal({2021, 3, 0, 14, 10, 15, 31, 700}));
    WriteBytes(target, Pattern(4 * 1024 * 1024));

    EXPECT_TRUE(CopyFileByStream(source, target).Copied());
    EXPECT_TRUE(ReadBytes(target) == bytes);
    const SYSTEMTIME copied = ToLocal(LastWriteTime(target));
    EXPECT_EQ(copied.wYear, 2021);
    EXPECT_EQ(copied.wHour, 10);
    EXPECT_EQ(copied.wMinute, 15);
    EXPECT_EQ(copied.wSecond, 30);
    EXPECT_EQ(copied.wMilliseconds, 0);
}

// The core files come from media that may be read-only; their copies must not be.
TEST(CopyFileByStream, EmptyReadOnlySourceGivesEmptyWritableTarget) {
    TTempFolder folder;
    WriteBytes(folder / L"empty", "");
    ASSERT_TRUE(SetFileAttributesW((folder / L"empty").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(CopyFileByStream(folder / L"empty", folder / L"copy").Copied());
    EXPECT_EQ(ReadBytes(folder / L"copy"), "");
    EXPECT_EQ(GetFileAttributesW((folder / L"copy").c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
}

// Opening and creating failures are refusals that leave both files as they were; their
// callers raise an error that names the file.
TEST(CopyFileByStream, OpenAndCreateFailuresAreRefused) {
    struct TCase {
        const char* Name;
        const wchar_t* Source;
        const wchar_t* Target;
        const wchar_t* Named; // the file the message names
        std::function<TUniqueFile(const TTempFolder&)> Arrange;
    };
    const auto none = [](const TTempFolder&) { return TUniqueFile(); };
    const TCase cases[] = {
        {"missing source", L"none", L"fresh", L"none", none},
        {"copy onto itself", L"s", L"s", L"s", none},
        {"target folder missing", L"s", L"no\\t", L"no\\t", none},
        {"locked target", L"s", L"t", L"t",
         [](const TTempFolder& f) {
             return TUniqueFile(CreateFileW((f / L"t").c_str(), GENERIC_READ, 0, nullptr,
                                            OPEN_EXISTING, 0, nullptr));
         }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TTempFolder folder;
        WriteBytes(folder / L"s", "source");
        WriteBytes(folder / L"t", "target");
        SetLastWriteTime(folder / L"s", {0x5A3C8000, 0x01D0A000});
        TUniqueFile held = c.Arrange(folder);
        const TStreamCopy copy = CopyFileByStream(folder / c.Source, folder / c.Target);
        EXPECT_TRUE(copy.Refused());
        try {
            CheckStreamCopy(copy, folder / c.Source, folder / c.Target);
            ADD_FAILURE() << "no error raised";
        } catch (const EError& e) {
            EXPECT_NE(e.Message().find(folder / c.Named), std::wstring::npos);
        }
        held.reset();
        EXPECT_EQ(ReadBytes(folder / L"s"), "source");
        EXPECT_EQ(ReadBytes(folder / L"t"), "target");
        EXPECT_EQ(Ticks(LastWriteTime(folder / L"s")), Ticks({0x5A3C8000, 0x01D0A000}));
        EXPECT_EQ(GetFileAttributesW((folder / L"fresh").c_str()), INVALID_FILE_ATTRIBUTES);
    }
}

// A source that opens but cannot be read: the memory of a process read from address 0.
TEST(CopyFileByStream, FailedTransferReturnsFalseAndLeavesNoTarget) {
    TTempFolder folder;
    WriteBytes(folder / L"t", "an older copy");
    const TStreamCopy copy = CopyFileByStream(L"Z:\\proc\\self\\mem", folder / L"t");
    EXPECT_EQ(copy.Outcome, TStreamCopy::scTransferFailed);
    EXPECT_FALSE(CheckStreamCopy(copy, L"Z:\\proc\\self\\mem", folder / L"t"));
    EXPECT_EQ(GetFileAttributesW((folder / L"t").c_str()), INVALID_FILE_ATTRIBUTES);
}
