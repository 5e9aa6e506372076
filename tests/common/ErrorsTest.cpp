#include "common/Checked.h"

#include <gtest/gtest.h>

TEST(Checked, RangeAndOverflow) {
    EXPECT_THROW(RangeChecked<unsigned>(-1), ERangeError);
    EXPECT_EQ(RangeChecked<unsigned char>(255), 255);
    EXPECT_THROW(RangeChecked<unsigned char>(256), ERangeError);
    EXPECT_EQ(CheckedMul(2147483, 1000), 2147483000);
    EXPECT_THROW(CheckedMul(2147484, 1000), EOverflowError);
}
