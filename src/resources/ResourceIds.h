#pragma once
// String table entries read by the program (shared with the suite's other programs).
#define IDS_APP_FOLDER 0
#define IDS_PRODUCT_NAME 1
#define IDS_PRODUCT_DESCRIPTION 2
#define IDS_MAIN_EXECUTABLE 4
