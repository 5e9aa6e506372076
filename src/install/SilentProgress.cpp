#include "install/SilentProgress.h"

int TSilentProgress::LogAdd(const std::wstring& line) {
    FLines.push_back(line);
    return static_cast<int>(FLines.size()) - 1;
}

void TSilentProgress::LogReplace(int index, const std::wstring& line) {
    if (index >= 0 && static_cast<size_t>(index) < FLines.size()) {
        FLines[static_cast<size_t>(index)] = line;
    }
}
