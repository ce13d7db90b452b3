#include "model/DecimalText.h"

#include <gtest/gtest.h>
#include <optional>
#include <ostream>
#include <string>

namespace tevra {
namespace {

// The same bytes as 8-bit text; anything outside ASCII becomes a UTF-8 lead byte.
std::string narrow(std::u16string_view text) {
    std::string result;
    for (const char16_t c : text) {
        result += c < 0x80 ? static_cast<char>(c) : '\xD0';
    }
    return result;
}

struct ReadCase {
    std::u16string_view text;
    std::optional<int> value;
};

// Names the row in test listings instead of dumping its bytes.
void PrintTo(const ReadCase& row, std::ostream* out) {
    *out << '"' << narrow(row.text) << '"';
}

// Test names allow only letters, digits and '_': the other characters are spelled out. The
// prefix keeps ctest from taking an all-digit name for a row index.
std::string rowName(const ::testing::TestParamInfo<ReadCase>& info) {
    std::string name;
    for (const char16_t c : info.param.text) {
        if (c == u'-') {
            name += "Minus";
        } else if (c == u'+') {
            name += "Plus";
        } else if (c == u' ') {
            name += "Space";
        } else if (c == u'\t') {
            name += "Tab";
        } else if (c < 0x80) {
            name += static_cast<char>(c);
        } else {
            name += "NonAscii";
        }
    }
    return "Text" + (name.empty() ? "Empty" : name);
}

class ReadDecimalTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadDecimalTest, ReadsLikeTheCReadInBothEncodings) {
    const ReadCase& c = GetParam();
    EXPECT_EQ(readDecimal(c.text), c.value);
    EXPECT_EQ(readDecimal(narrow(c.text)), c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ReadDecimalTest,
    ::testing::Values(
        ReadCase{u"", std::nullopt}, ReadCase{u"abc", std::nullopt}, ReadCase{u"x5", std::nullopt},
        ReadCase{u"-", std::nullopt}, ReadCase{u" -", std::nullopt}, ReadCase{u"+ 5", std::nullopt},
        ReadCase{u"12", 12}, ReadCase{u"  12", 12}, ReadCase{u"\t9", 9}, ReadCase{u"-5", -5},
        ReadCase{u"+42", 42}, ReadCase{u"4x5", 4}, ReadCase{u"007", 7},
        // U+0436 has '6' as its low byte: it must not read as a digit.
        ReadCase{u"ж1", std::nullopt}, ReadCase{u"\t -2147483648x", -2147483647 - 1},
        ReadCase{u"2147483647", 2147483647}, ReadCase{u"2147483648", std::nullopt},
        ReadCase{u"-2147483649", std::nullopt}, ReadCase{u"99999999999999999999", std::nullopt}),
    rowName);

TEST(DecimalTextTest, WritesTheDigits) {
    EXPECT_EQ(decimalText(0), u"0");
    EXPECT_EQ(decimalText(-25600), u"-25600");
}

} // namespace
} // namespace tevra
