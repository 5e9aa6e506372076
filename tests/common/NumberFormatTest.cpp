#include "common/NumberFormat.h"

#include <gtest/gtest.h>

TEST(NumberFormat, RealsReadWithTheProcessDecimalSeparator) {
    const TFormatSettings saved = FormatSettings();
    SetFormatSettings({L'.', L' '});
    EXPECT_EQ(TextToFloat(L" 1.5 "), 1.5);
    EXPECT_EQ(TextToFloat(L".5"), 0.5);
    for (const wchar_t* bad : {L"", L"1,5", L"1.5x", L"inf", L"nan", L"-", L".", L"1e"}) {
        EXPECT_FALSE(TextToFloat(bad)) << bad;
    }
    SetFormatSettings({L',', L' '});
    EXPECT_EQ(TextToFloat(L"1,5"), 1.5);
    EXPECT_FALSE(TextToFloat(L"1.5"));
    SetFormatSettings(saved);
}
