#include "model/ClipboardText.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tevra {
namespace {

CellBlock sampleBlock(bool withTimes) {
    CellBlock block(3, 2);
    for (int step = 0; step < 3; ++step) {
        block.setCell(step, 0, static_cast<std::uint8_t>(step));
        block.setCell(step, 1, static_cast<std::uint8_t>(250 + step));
    }
    if (withTimes) {
        block.setTimes({5, 100, 65535});
    }
    return block;
}

TEST(ClipboardTextTest, BlocksRoundTripInBothFormats) {
    EXPECT_EQ(blockToText(sampleBlock(false)), "0\t1\t2\n250\t251\t252\n");
    for (const bool withTimes : {false, true}) {
        const ParsedBlock native = blockFromNativeText(blockToNativeText(sampleBlock(withTimes)));
        ASSERT_TRUE(native.block) << native.error;
        EXPECT_EQ(*native.block, sampleBlock(withTimes));
    }
    // As spreadsheets write it: CR LF, blanks, no final line break.
    for (const char* text : {"0\t1\t2\n250\t251\t252\n", "0\t1\t2\r\n250\t251\t252",
                             " 0\t1 \t2\r\n250\t251\t252\r\n"}) {
        const ParsedBlock parsed = blockFromText(text);
        ASSERT_TRUE(parsed.block) << text;
        EXPECT_EQ(*parsed.block, sampleBlock(false));
    }
}

TEST(ClipboardTextTest, BadTextIsRefusedNamingThePlace) {
    struct Case {
        std::string text;
        std::string error;
    };
    for (const Case& c : std::vector<Case>{
             {"", "Нет ни одной ячейки"},
             {"1\t2\n3\t256\n", "Строка 2, столбец 2: «256» не число от 0 до 255"},
             {"1\t\t3\n", "Строка 1, столбец 2: «» не число от 0 до 255"},
             {"1\t2\n3\n", "Строка 2, столбец 2: ячеек меньше, чем в первой строке"},
             {"1\n3\t4\n", "Строка 2, столбец 2: ячеек больше, чем в первой строке"},
             {"1\t-1\n", "Строка 1, столбец 2: «-1» не число от 0 до 255"},
             {"1\t2x\n", "Строка 1, столбец 2: «2x» не число от 0 до 255"},
         }) {
        const ParsedBlock parsed = blockFromText(c.text);
        EXPECT_FALSE(parsed.block) << c.text;
        EXPECT_EQ(parsed.error, c.error) << c.text;
    }
    for (const char* text :
         {"0\t1\n", "tevra-cells 1\nвремена\n1\n", "tevra-cells 1\ntimes\t5\n1\t2\n",
          "tevra-cells 1\ntimes\t70000\n1\n"}) {
        const ParsedBlock parsed = blockFromNativeText(text);
        EXPECT_FALSE(parsed.block) << text;
        EXPECT_FALSE(parsed.error.empty()) << text;
    }
}

} // namespace
} // namespace tevra
