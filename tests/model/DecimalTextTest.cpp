#include "model/DecimalText.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tevra {
namespace {

TEST(DecimalTextTest, ReadsLikeTheCReadInBothEncodings) {
    // U+0436 has '6' as its low byte: it must not read as a digit.
    std::vector<std::pair<std::u16string_view, std::optional<int>>> rows = {
        {u"12", 12},
        {u"  12", 12},
        {u"\t9", 9},
        {u"-5", -5},
        {u"+42", 42},
        {u"4x5", 4},
        {u"007", 7},
        {u"2147483647", 2147483647},
        {u"\t -2147483648x", -2147483647 - 1}};
    for (const std::u16string_view text : {u"", u"abc", u"-", u" -", u"+ 5", u"ж1", u"2147483648",
                                           u"-2147483649", u"99999999999999999999"}) {
        rows.emplace_back(text, std::nullopt);
    }
    for (const auto& [text, value] : rows) {
        // The same bytes as 8-bit text; anything outside ASCII becomes a UTF-8 lead byte.
        std::string narrow;
        for (const char16_t c : text) {
            narrow += c < 0x80 ? static_cast<char>(c) : '\xD0';
        }
        EXPECT_EQ(readDecimal(text), value) << narrow;
        EXPECT_EQ(readDecimal(narrow), value) << narrow;
    }
    EXPECT_EQ(decimalText(-25600), u"-25600");
}

} // namespace
} // namespace tevra
