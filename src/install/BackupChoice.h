#pragma once
#include <string>
#include <vector>

// A backup folder's ordering key: the last six characters of its path, a DDMMYY date, read
// as the number YYMMDD. Raises EError naming the folder when they are not six digits.
int BackupKey(const std::wstring& folderPath);

// The newest of the backup folders (full paths): sorted case-insensitively under the user's
// locale, the first with the greatest key wins. Raises EError naming backupFolder when the
// list is empty.
std::wstring ChooseNewestBackup(std::vector<std::wstring> folders,
                                const std::wstring& backupFolder);

// The last component of a path.
std::wstring FolderName(const std::wstring& folderPath);
