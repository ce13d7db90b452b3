#include "model/Generation.h"
#include "model/SplitMix64.h"
#include "model/TapTempo.h"

#include <cmath>
#include <gtest/gtest.h>

namespace tevra {
namespace {

TEST(StepTempoTest, TimesAddUpToTheBeatForWholeProgram) {
    for (const auto& [bpmText, bpm] : {std::pair{"128", 128.0}, {"127,5", 127.5}, {"60", 60.0}}) {
        ProgramImage image;
        Generation generation;
        generation.channels = {0};
        generation.lastStep = kMaxSteps;
        generation.timing = *StepTempo::parse(bpmText, 1);
        ASSERT_EQ(applyGeneration(image, generation), std::nullopt) << bpmText;
        long sum = 0;
        for (int k = 1; k <= kMaxSteps; ++k) {
            sum += image.stepTime(k);
            ASSERT_EQ(sum, std::floor(k * 6000.0 / bpm + 0.5)) << bpmText << " k=" << k;
        }
    }
}

TEST(StepTempoTest, ReadsDecimalsWithCommaOrPoint) {
    const std::pair<const char*, std::int64_t> table[] = {
        {"128", 128000}, {"127,5", 127500}, {"127.25", 127250}, {"0,001", 1},
        {"", 0},         {",5", 0},         {"12,", 0},         {"1,2345", 0},
        {"0", 0},        {"-5", 0},         {"12 ", 0},         {"99999999999", 0}};
    for (const auto& [text, milliBpm] : table) {
        const auto tempo = StepTempo::parse(text, 1);
        EXPECT_EQ(tempo ? tempo->milliBpm() : 0, milliBpm) << text;
    }
    EXPECT_EQ(StepTempo::parse("128", 0), std::nullopt);
    EXPECT_EQ(StepTempo::parse("127,50", 1)->bpmText(), "127,5");
    EXPECT_EQ(StepTempo::parse("60,05", 1)->bpmText(), "60,05");
}

TEST(TapTempoTest, JitteredTapsFitTheTempo) {
    constexpr std::int64_t kBeatMillis = 500; // 120 BPM
    constexpr std::uint64_t kJitterSpan = 41; // -20..20 ms
    for (const std::uint64_t seed : {1U, 2U, 3U, 4U}) {
        SplitMix64 random(seed);
        TapTempo taps;
        for (std::int64_t beat = 0; beat < 40; ++beat) {
            const auto jitter = static_cast<std::int64_t>(random.next() % kJitterSpan) - 20;
            taps.tap(std::chrono::milliseconds(10'000 + beat * kBeatMillis + jitter));
        }
        EXPECT_EQ(taps.count(), TapTempo::kMaxTaps);
        EXPECT_NEAR(taps.bpm().value_or(0), 120.0, 0.5) << seed;
    }
}

TEST(TapTempoTest, APauseStartsANewCount) {
    TapTempo taps;
    for (const int at : {0, 400, 800, 1200, 3201, 3601, 4001}) {
        taps.tap(std::chrono::milliseconds(at));
    }
    EXPECT_EQ(taps.bpm(), std::nullopt);
    taps.tap(std::chrono::milliseconds(4401));
    EXPECT_DOUBLE_EQ(taps.bpm().value_or(0), 150.0);
}

} // namespace
} // namespace tevra
