#include "ui/RangeEdits.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace tevra {
namespace {

TEST(RangeEditsTest, AFieldIsReadFromItsFirstThreeCharacters) {
    EXPECT_EQ(readRangeField(u"1234"), 123);
    EXPECT_EQ(readRangeField(u"  7"), 7);
    EXPECT_EQ(readRangeField(u"   7"), std::nullopt);
    EXPECT_EQ(readRangeField(u""), std::nullopt);
}

TEST(RangeEditsTest, EndRetryReadsTwoCharactersOrKeepsTheFirstValue) {
    EXPECT_EQ(readRangeEndRetry(u"999", 999), 99);
    EXPECT_EQ(readRangeEndRetry(u"000", 0), 0);
    EXPECT_EQ(readRangeEndRetry(u"-5", -5), -5);
    EXPECT_EQ(readRangeEndRetry(u" -7", -7), -7);
    EXPECT_EQ(readRangeEndRetry(u"5019", 501), 50);
}

} // namespace
} // namespace tevra
