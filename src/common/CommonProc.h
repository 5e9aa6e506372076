#pragma once

// Start-up of the shared procedures: loads the message table. Runs after InitCommonVar.
void InitCommonProc();
