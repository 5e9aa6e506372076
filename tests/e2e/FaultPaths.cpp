// Odd target paths typed into the path field.
#include <windows.h>

#include "FaultCases.h"
#include "FaultFiles.h"
#include "FaultRun.h"
#include "Files.h"
#include "Scenario.h"
#include "Snapshot.h"

namespace e2e {
namespace {

struct TPathCase {
    // The parent folder the case makes first (may be empty) and the text typed in.
    std::wstring (*Parent)();
    const wchar_t* Typed;     // appended to the parent
    const wchar_t* Installed; // where the files must land, relative to the parent
    TRunEnd::TKind End;
    const wchar_t* Box;
};

std::wstring LongParent() {
    std::wstring parent = FreshFolderName(L"C:\\long");
    while (parent.size() < 190) {
        parent += L"\\Очень длинное имя папки установки";
    }
    return parent;
}

std::wstring CyrillicParent() {
    return FreshFolderName(L"C:\\Program Files\\Сонтира Холтер");
}

std::wstring PlainParent() {
    return FreshFolderName(L"C:\\odd");
}

std::wstring NoParent() {
    return L"";
}

const TPathCase Cases[] = {
    {LongParent, L"\\Holter", L"\\Holter\\", TRunEnd::reCompleted, L""},
    {CyrillicParent, L"\\Комплекс Сонтира 8", L"\\Комплекс Сонтира 8\\", TRunEnd::reCompleted, L""},
    {PlainParent, L"/Holter/fwd", L"\\Holter\\fwd\\", TRunEnd::reCompleted, L""},
    {PlainParent, L"\\Holter.", L"\\Holter\\", TRunEnd::reCompleted, L""},
    {PlainParent, L"\\Holter  ", L"\\Holter\\", TRunEnd::reCompleted, L""},
    {NoParent, L"Q:\\Holter", L"", TRunEnd::reErrorBox, L"Ошибка при создании каталога!"},
};

} // namespace

template <int N> void OddTargetPath(TContext& context) {
    const TPathCase& c = Cases[N];
    const std::wstring dist = context.CopyDistribution();
    const std::wstring parent = c.Parent();
    std::wstring typed = parent + c.Typed;
    if (N == 2) {
        for (auto& ch : typed) {
            ch = ch == L'\\' ? L'/' : ch;
        }
    }
    if (!parent.empty()) {
        CreateFolders(parent + (N == 2 ? L"\\Holter" : L""));
    }

    const TSnapshot before = TakeSnapshot(typed + L"\\");
    TFaultInstall install(context, dist);
    const TRunEnd end = install.Run(typed);
    CheckEnd(context, end, c.End, c.Box);
    if (c.End == TRunEnd::reCompleted) {
        const std::wstring target = parent + c.Installed;
        context.Check(ReadBytes(target + L"DTAfb\\R47.FDB") ==
                          ReadBytes(dist + L"\\DTAfb\\R47.FDB"),
                      L"R47.FDB installed in " + target);
        context.Check(FileExists(target + L"udf\\ProcessingECG.Dll"),
                      L"udf\\ProcessingECG.Dll installed in " + target);
        context.Check(ReadBytes(target + L"backup-ran.txt").find("R150320 ran") !=
                          std::string::npos,
                      L"the newest backup's script ran in " + target);
        context.Check(ReadBytes(target + L"ReleaseInfo").find("<Level>150320</Level>") !=
                          std::string::npos,
                      L"Level 150320 written in " + target);
    } else {
        context.CheckEqual(end.LastLine(), c.Box, L"log after the box");
        CheckSnapshot(context, before, L"after the refused target: ");
    }
    install.CloseAndCheckExit();
}

template void OddTargetPath<0>(TContext&);
template void OddTargetPath<1>(TContext&);
template void OddTargetPath<2>(TContext&);
template void OddTargetPath<3>(TContext&);
template void OddTargetPath<4>(TContext&);
template void OddTargetPath<5>(TContext&);

} // namespace e2e
