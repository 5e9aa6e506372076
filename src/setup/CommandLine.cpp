#include "setup/CommandLine.h"

#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <string>

const wchar_t* const CommandLineHelp =
    L"Install.exe [/SILENT | /VERYSILENT] [/DIR=папка] [/DRIVER | /NODRIVER] [/LOG=файл]\r\n"
    L"\r\n"
    L"/SILENT\tустановка без вопросов, в окне виден только ход установки\r\n"
    L"/VERYSILENT\tустановка без единого окна\r\n"
    L"/DIR=папка\tпапка установки (по умолчанию C:\\Holter)\r\n"
    L"/DRIVER\tустановить драйвер USB без вопроса\r\n"
    L"/NODRIVER\tне устанавливать драйвер USB\r\n"
    L"/LOG=файл\tжурнал установки (по умолчанию в папке %TEMP%)\r\n"
    L"/? или /HELP\tэта справка\r\n"
    L"\r\n"
    L"Коды завершения: 0 установлено; 1 неверная командная строка или программа уже "
    L"запущена; 3 папка установки отвергнута или не создана, или на её диске мало места; "
    L"4 установка остановлена ошибкой (см. журнал).\r\n"
    L"\r\n"
    L"Удаление: Uninstall.exe из папки комплекса или Install.exe /UNINSTALL [/DIR=папка], "
    L"с /SILENT, /VERYSILENT и /LOG=файл. База данных и настройки сохраняются.\r\n"
    L"Коды завершения удаления: 0 удалено; 1 неверная командная строка, комплекс не "
    L"установлен или программа уже запущена; 2 удаление отменено; 4 удалено не всё или "
    L"запись об установке повреждена (см. журнал).\r\n"
    L"\r\n"
    L"Проверка и восстановление: Install.exe /VERIFY или /REPAIR [/DIR=папка] из дистрибутива, "
    L"или Uninstall.exe /VERIFY или /REPAIR из папки комплекса, с /SILENT, /VERYSILENT и "
    L"/LOG=файл. База данных и настройки не читаются и не изменяются.\r\n"
    L"Коды завершения: 0 установка цела (или восстановлена); 1 неверная командная строка, "
    L"комплекс не установлен или программа уже запущена; 3 дистрибутив недоступен; "
    L"4 восстановлено не всё (см. журнал); 5 найдены расхождения.";

namespace {

struct TLocalFreeDeleter {
    void operator()(wchar_t** p) const noexcept { LocalFree(p); }
};

std::wstring Upper(std::wstring text) {
    if (!text.empty()) {
        CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    }
    return text;
}

// A value given twice must say the same both times.
template <typename T> bool SetOnce(std::optional<T>& slot, const T& value) {
    if (slot && *slot != value) {
        return false;
    }
    slot = value;
    return true;
}

// Reads one argument into `result`; false when it is not understood.
bool ReadSwitch(const std::wstring& argument, TCommandLine& result) {
    if (argument.size() < 2 || (argument[0] != L'/' && argument[0] != L'-')) {
        return false;
    }
    const size_t equals = argument.find(L'=');
    const std::wstring name = Upper(argument.substr(1, equals - 1));
    if (equals == std::wstring::npos) {
        if (name == L"SILENT" || name == L"VERYSILENT") {
            // Of the two, the quieter wins, as installers have always had it.
            if (result.Mode != TSetupMode::smVerySilent) {
                result.Mode = name == L"SILENT" ? TSetupMode::smSilent : TSetupMode::smVerySilent;
            }
            return true;
        }
        if (name == L"DRIVER" || name == L"NODRIVER") {
            return SetOnce(result.Driver, name == L"DRIVER");
        }
        if (name == L"UNINSTALL") {
            result.Uninstall = true;
            return true;
        }
        if (name == L"VERIFY" || name == L"REPAIR") {
            (name == L"VERIFY" ? result.Verify : result.Repair) = true;
            return true;
        }
        if (name == L"?" || name == L"HELP") {
            result.Help = true;
            return true;
        }
        return false;
    }
    const std::wstring value = argument.substr(equals + 1);
    // A quote left inside a value comes from a quoted path ending in "\": the quote was
    // taken as a character, and a path cannot hold one.
    if (value.find(L'"') != std::wstring::npos) {
        return false;
    }
    if (name == L"DIR") {
        return SetOnce(result.Dir, value);
    }
    if (name == L"LOG") {
        return !value.empty() && SetOnce(result.Log, value);
    }
    if (name == L"PARENT") {
        return !value.empty() && value.size() <= 9 &&
               value.find_first_not_of(L"0123456789") == std::wstring::npos &&
               SetOnce(result.Parent, static_cast<DWORD>(std::stoul(value)));
    }
    return false;
}

} // namespace

std::vector<std::wstring> SplitArguments(const std::wstring& commandLine) {
    int count = 0;
    // An empty text would give the program's own path as the first word: name one instead.
    const std::wstring text = commandLine.empty() ? L"Install.exe" : commandLine;
    std::unique_ptr<wchar_t*, TLocalFreeDeleter> words(CommandLineToArgvW(text.c_str(), &count));
    std::vector<std::wstring> arguments;
    for (int i = 1; words && i < count; ++i) {
        arguments.emplace_back(words.get()[i]);
    }
    return arguments;
}

std::wstring ArgumentsText(const std::wstring& commandLine) {
    // The program's name ends as CommandLineToArgvW ends it: at its closing quote, or at the
    // first blank when it is not quoted.
    size_t end = commandLine.starts_with(L'"') ? commandLine.find(L'"', 1)
                                               : commandLine.find_first_of(L" \t");
    if (end == std::wstring::npos) {
        return {};
    }
    end += commandLine[end] == L'"' ? 1 : 0;
    const size_t start = commandLine.find_first_not_of(L" \t", end);
    return start == std::wstring::npos ? std::wstring() : commandLine.substr(start);
}

TCommandLine ParseCommandLine(const std::wstring& commandLine) {
    TCommandLine result;
    for (const std::wstring& argument : SplitArguments(commandLine)) {
        if (!ReadSwitch(argument, result) && result.Error.empty()) {
            result.Error = argument;
        }
    }
    // Removal leaves the driver installed: asking for it there is a mistake in the script.
    if (result.Uninstall && result.Driver && result.Error.empty()) {
        result.Error = *result.Driver ? L"/DRIVER" : L"/NODRIVER";
    }
    // A check installs no driver and removes nothing; a repair is a check already.
    if ((result.Verify || result.Repair) && result.Error.empty()) {
        result.Error = result.Verify && result.Repair ? L"/REPAIR"
                       : result.Uninstall             ? L"/UNINSTALL"
                       : result.Parent                ? L"/PARENT"
                       : result.Driver                ? (*result.Driver ? L"/DRIVER" : L"/NODRIVER")
                                                      : L"";
    }
    return result;
}
