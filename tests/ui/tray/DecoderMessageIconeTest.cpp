#include "ui/tray/DecoderMessageIcone.h"

#include <gtest/gtest.h>

namespace {

// Twips per pixel at 72, 96, 120, 144, 192 and 288 dots per inch.
constexpr int Twips[] = {20, 15, 12, 10, 8, 5};

TEST(DecoderMessageIcone, EveryShellCode_decodesExactlyAtEveryResolution) {
    for (const int twips : Twips) {
        for (int code = 0x200; code <= 0x209; ++code) {
            const float X = static_cast<float>(code * twips);
            EXPECT_EQ(DecoderMessageIcone(X, twips), static_cast<float>(code))
                << "code " << code << " at " << twips << " twips per pixel";
        }
    }
}

TEST(DecoderMessageIcone, PositionsBesideAClick_doNotDecodeAsIt_theComparisonIsExact) {
    for (const int twips : Twips) {
        const float X = static_cast<float>(513 * twips);
        EXPECT_NE(DecoderMessageIcone(X + 1.0f, twips), 513.0f) << twips;
        EXPECT_NE(DecoderMessageIcone(X - 1.0f, twips), 513.0f) << twips;
    }
}

} // namespace
