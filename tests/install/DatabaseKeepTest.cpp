#include "install/DatabaseKeep.h"
#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

// A reinstall whose new database never arrives (a missing source, a full disk) must leave the
// clinic's database where the suite looks for it, also over a half-written new file.
TEST(DatabaseKeep, RestorePutsTheRenamedDatabaseBack) {
    TTempFolder folder;
    const std::wstring database = folder / L"R47.FDB";
    WriteBytes(database, "clinic records");
    const TDatabaseKeep kept = KeepExistingDatabase(database, folder / L"missing.FDB");
    ASSERT_EQ(kept.Outcome, TDatabaseKeep::dkRenamed);
    WriteBytes(database, "half a new datab");

    EXPECT_TRUE(RestoreDatabase(database, kept));
    EXPECT_EQ(ReadBytes(database), "clinic records");
    EXPECT_EQ(GetFileAttributesW((folder / kept.BackupName).c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(DatabaseKeep, RestoreLeavesAFreshInstallationAlone) {
    TTempFolder folder;
    const std::wstring database = folder / L"R47.FDB";
    const TDatabaseKeep kept = KeepExistingDatabase(database, folder / L"source.FDB");
    ASSERT_EQ(kept.Outcome, TDatabaseKeep::dkNothing);
    WriteBytes(database, "new database");
    EXPECT_FALSE(RestoreDatabase(database, kept));
    EXPECT_EQ(ReadBytes(database), "new database");
}

// A run killed after keeping the database and started again at once must not fail for want
// of a free backup name, and keeps both earlier files.
TEST(DatabaseKeep, TwoKeepsWithinOneSecondGetDistinctNames) {
    TTempFolder folder;
    const std::wstring database = folder / L"R47.FDB";
    WriteBytes(database, "clinic records");
    const TDatabaseKeep first = KeepExistingDatabase(database, folder / L"source.FDB");
    WriteBytes(database, "first new copy");
    const TDatabaseKeep second = KeepExistingDatabase(database, folder / L"source.FDB");
    ASSERT_EQ(first.Outcome, TDatabaseKeep::dkRenamed);
    ASSERT_EQ(second.Outcome, TDatabaseKeep::dkRenamed);
    EXPECT_NE(first.BackupName, second.BackupName);
    EXPECT_EQ(ReadBytes(folder / first.BackupName), "clinic records");
    EXPECT_EQ(ReadBytes(folder / second.BackupName), "first new copy");
}
