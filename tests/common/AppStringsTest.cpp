#include "common/AppStrings.h"
#include "common/Errors.h"
#include "ResourceIds.h"

#include <gtest/gtest.h>

TEST(LoadAppString, ReadsTheShippedTable) {
    HINSTANCE self = GetModuleHandleW(nullptr);
    EXPECT_EQ(LoadAppString(self, IDS_APP_FOLDER), L"Holter");
    EXPECT_EQ(LoadAppString(self, IDS_PRODUCT_NAME), L"Сонтира");
    EXPECT_EQ(LoadAppString(self, IDS_PRODUCT_DESCRIPTION),
              L"Комплекс суточного мониторирования электрокардиограмм");
    EXPECT_EQ(LoadAppString(self, IDS_MAIN_EXECUTABLE), L"Shell.exe");
}

TEST(LoadAppString, MissingEntryIsEmptyAndNegativeIdentRaises) {
    HINSTANCE self = GetModuleHandleW(nullptr);
    EXPECT_EQ(LoadAppString(self, 3), L"");
    EXPECT_THROW(LoadAppString(self, -1), ERangeError);
}
