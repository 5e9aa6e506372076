#include "common/CommonProc.h"

#include "common/MessageTable.h"

void InitCommonProc() {
    LoadMessageTable();
}
