#pragma once
#include "Wizard.h"

namespace e2e {

class TContext;

// Steps of a whole installation, shared by the installation scenarios and the demo.

// On the options page: "Начать установку", then the driver question answered Yes or No.
void StartInstallation(TWizard& wizard, TContext& context, bool driverYes);

struct TRunEnd {
    TMessageBox FinalQuestion;      // at large fonts: the question, still open
    int OverwriteConfirmations = 0; // the shell's "Confirm file overwrite" dialogs answered
};

// Waits until the run has ended: on the font-size page when smallFonts, else at the final
// question. A reinstall with the driver step can meet the shell's "Confirm file overwrite"
// dialog; it is answered as a person would ("Yes to all", or "Yes" where it asks about one
// folder). Any other box fails the scenario.
TRunEnd WaitRunEnd(TWizard& wizard, bool smallFonts);

// On the font-size page: "Изменить настройки" (no syssetup.dll under Wine: straight to the
// restart question), the question answered No, the page stays, "Выход" ends with 0.
void DeclineRestartAndExit(TWizard& wizard, TContext& context);

// On the font-size page: "Выход" ends the program with 0.
void ExitFromFontSizePage(TWizard& wizard, TContext& context);

// The final question answered Yes (the program ends with 0) or No (the progress page stays
// with "Выход" enabled, and "Выход" ends it with 0).
void AnswerFinalQuestion(TWizard& wizard, TContext& context, const TMessageBox& question, bool yes);

} // namespace e2e
