#pragma once
#include <string>

namespace e2e {

class TContext;
class TWizard;

// Steps that several scenarios share. Each one waits for the page it leads to and checks what
// a person would see there; the screenshots are taken in the demo only.

// Welcome page, then the path page: checks the default path and, when path is not empty,
// types it into the path field; then "Далее" to the options page, where it checks the driver
// warning and closes it.
void WalkToOptions(TWizard& wizard, TContext& context, const std::wstring& path = L"");

// "Отмена" on the visible page, the confirmation answered Yes, the cancel page, "Выход";
// checks that the program ended with exit code 0.
void CancelAndExit(TWizard& wizard, TContext& context);

} // namespace e2e
