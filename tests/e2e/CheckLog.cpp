#include <algorithm>

#include "Installation.h"
#include "Machine.h"
#include "Report.h"
#include "Scenario.h"
#include "SuiteFiles.h"

namespace e2e {
namespace {

constexpr wchar_t Done[] = L"Завершено";

std::wstring LastComponent(const std::wstring& path) {
    return path.substr(path.find_last_of(L'\\') + 1);
}

bool Contains(const std::vector<std::wstring>& names, const std::wstring& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

} // namespace

TInstallation PlanInstallation(const std::wstring& source, const std::wstring& target,
                               bool driver) {
    TInstallation installation;
    installation.Source = source;
    installation.Target = target;
    installation.Driver = driver;
    installation.FontsMissing = MissingFonts();
    return installation;
}

std::vector<std::wstring> ExpectedLog(const TInstallation& installation) {
    std::vector<std::wstring> log;
    log.push_back(std::wstring(L"Создание настроечных файлов....") + Done);
    const bool fresh = installation.Runs == 1;
    if (fresh) {
        log.push_back(L"Каталог <DTAfb> создан...");
    } else {
        log.push_back(L"Прежняя база данных сохранена: " + installation.KeptDatabase);
    }
    for (const auto& file : CoreFiles()) {
        log.push_back(L"Копирование файла " + LastComponent(file.Source) + L"...." + Done);
    }
    for (const auto& font : Fonts()) {
        if (Contains(installation.FontsMissing, font.File)) {
            // The "c" of "уcтановлен" is a Latin letter in the program's text.
            log.push_back(L"Шрифт <" + std::wstring(font.FullName) + L"> у\u0063тановлен");
        }
    }
    if (installation.Driver) {
        log.push_back(L"Началась установка драйверов устройства...");
        log.push_back(L"Установка драйверов устройства завершена");
    }
    return log;
}

void CheckLog(TContext& context, const std::vector<std::wstring>& log,
              const TInstallation& installation) {
    const auto expected = ExpectedLog(installation);
    const size_t common = std::min(log.size(), expected.size());
    for (size_t i = 0; i < common; ++i) {
        context.CheckEqual(log[i], expected[i], L"log line " + std::to_wstring(i + 1));
    }
    for (size_t i = common; i < log.size(); ++i) {
        context.Check(false, L"unexpected log line " + std::to_wstring(i + 1) + L": \"" +
                                 Visible(log[i]) + L"\"");
    }
    for (size_t i = common; i < expected.size(); ++i) {
        context.Check(false, L"missing log line " + std::to_wstring(i + 1) + L": \"" +
                                 Visible(expected[i]) + L"\"");
    }
}

} // namespace e2e
