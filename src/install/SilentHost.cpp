#include "install/SilentHost.h"

TSilentHost::TSilentHost(TChoices choices)
    : FChoices(std::move(choices)), FAnswers(FChoices.InstallDriver) {}

int TSilentHost::LogAdd(const std::wstring& line) {
    FLines.push_back(line);
    return static_cast<int>(FLines.size()) - 1;
}

void TSilentHost::LogReplace(int index, const std::wstring& line) {
    if (index >= 0 && static_cast<size_t>(index) < FLines.size()) {
        FLines[static_cast<size_t>(index)] = line;
    }
}
