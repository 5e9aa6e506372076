// Target files held open by another program, read-only (immutable) files and folders.
#include <windows.h>

#include <memory>

#include "FaultCases.h"
#include "FaultFiles.h"
#include "FaultRun.h"
#include "Files.h"
#include "Scenario.h"
#include "Snapshot.h"

namespace e2e {
namespace {

struct TLockCase {
    const wchar_t* File; // relative to the target; made if missing
    enum { lkHeld, lkImmutable } How;
    bool Earlier; // over an earlier installation; else on a fresh target
    TRunEnd::TKind End;
    const wchar_t* Box;
    const wchar_t* LastLine;
    const wchar_t* Gone = nullptr; // a file of the earlier installation removed first
};

const TLockCase Cases[] = {
    // 0: the database server holds R47.FDB: the old database is not moved, the run stops
    {L"DTAfb\\R47.FDB", TLockCase::lkHeld, true, TRunEnd::reStopped, L"",
     L"Копирование файла R47.FDB....ОШИБКА!!!"},
    // 1: the server holds its client library
    {L"fbclient.Dll", TLockCase::lkHeld, true, TRunEnd::reErrorBox, L"Не удается создать файл",
     L"Копирование файла fbclient.Dll...."},
    // 2: a read-only runtime file
    {L"gds32.dll", TLockCase::lkImmutable, true, TRunEnd::reErrorBox, L"Не удается создать файл",
     L"Копирование файла gds32.dll...."},
    // 3: a read-only holter.ini
    {L"Settings\\holter.ini", TLockCase::lkImmutable, true, TRunEnd::reErrorBox,
     L"Не удалось записать файл", L""},
    // 4: a read-only database folder of an earlier installation
    {L"DTAfb", TLockCase::lkImmutable, true, TRunEnd::reStopped, L"",
     L"Копирование файла R47.FDB....ОШИБКА!!!"},
    // 5: a read-only target folder (a fresh one, so DTAfb must be made)
    {L"", TLockCase::lkImmutable, false, TRunEnd::reErrorBox,
     L"Ошибка при создании каталога <DTAfb>!", L"Ошибка при создании каталога <DTAfb>!"},
    // 6: a read-only udf folder that lacks a file the run must make (files there already are
    // simply rewritten)
    {L"udf", TLockCase::lkImmutable, true, TRunEnd::reErrorBox, L"Не удается создать файл",
     L"Копирование файла fbudf.dll....", L"udf\\fbudf.dll"},
};

} // namespace

template <int N> void LockedTarget(TContext& context) {
    const TLockCase& c = Cases[N];
    const std::wstring dist = context.CopyDistribution();
    const std::wstring target = FreshTarget();
    if (c.Earlier) {
        TEarlierInstall::Install(dist, target);
    } else {
        CreateFolders(target + L"Settings");
    }
    if (c.Gone != nullptr) {
        DeleteFileW((target + c.Gone).c_str());
    }
    const std::wstring path = target + c.File;
    const bool folder = std::wstring(c.File).find(L'.') == std::wstring::npos;
    if (folder) {
        CreateFolders(path);
    } else if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        WriteBytes(path, "the running server's copy\n");
    }
    // Before the file is held, which would keep the snapshot from reading it.
    const TSnapshot before = TakeSnapshot(target);

    TRunEnd end;
    {
        TUniqueFile handle;
        std::unique_ptr<TImmutable> immutable;
        if (c.How == TLockCase::lkHeld) {
            handle = HoldExclusive(path);
        } else {
            immutable = std::make_unique<TImmutable>(path);
        }
        TFaultInstall install(context, dist);
        end = install.Run(target);
        CheckEnd(context, end, c.End, c.Box);
        // A database that cannot be moved aside is named with the system's reason.
        const std::wstring last = c.End == TRunEnd::reStopped && end.Log.size() >= 2
                                      ? end.Log[end.Log.size() - 2]
                                      : end.LastLine();
        if (*c.LastLine != L'\0') {
            context.CheckEqual(last, c.LastLine, L"last step line");
        }
        if (c.End == TRunEnd::reStopped) {
            context.Check(end.LastLine().starts_with(L"Прежнюю базу данных не удалось сохранить: "),
                          L"the log says why the database was left alone: " + end.LastLine());
        }
        install.CloseAndCheckExit();
    }
    if (c.Earlier) {
        CheckUndone(context, end, before);
        return;
    }
    // No way back: the run's rollback folder cannot be made in a read-only target. What the
    // run wrote before its stop stays.
    context.CheckEqual(end.Undo, L"", L"the rollback's line");
    const std::vector<std::wstring> written = {L"Settings\\holter.ini", L"Settings\\uca.nsi",
                                               L"Settings\\wra.nsi"};
    context.Check(FilesBelow(target) == written &&
                      FoldersBelow(target) == std::vector<std::wstring>{L"Settings"},
                  L"the read-only target holds more than the run's settings files");
}

template void LockedTarget<0>(TContext&);
template void LockedTarget<1>(TContext&);
template void LockedTarget<2>(TContext&);
template void LockedTarget<3>(TContext&);
template void LockedTarget<4>(TContext&);
template void LockedTarget<5>(TContext&);
template void LockedTarget<6>(TContext&);

} // namespace e2e
