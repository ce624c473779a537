// Tests run once per pixel tier of this processor, the tier's name closing the test's name ("…/plain",
// "…/avx2"); a tier the processor lacks is not run.
#pragma once

#include "platform/PixelSurface.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

inline auto PixelTiers() { return ::testing::ValuesIn(GetPixelTiers()); }

inline std::string TierName(const ::testing::TestParamInfo<TPixelTier>& Info) {
    return PixelTierName(Info.param);
}

// The pixel loops run in one tier while it lives (a member of a test's fixture), then in the default one.
class TPixelTierScope {
public:
    explicit TPixelTierScope(TPixelTier Tier) { EXPECT_TRUE(SetPixelTier(Tier)) << PixelTierName(Tier); }
    ~TPixelTierScope() { SetPixelTier(DefaultPixelTier()); }
    TPixelTierScope(const TPixelTierScope&) = delete;
    TPixelTierScope& operator=(const TPixelTierScope&) = delete;
};

// A fixture whose test runs in the tier it is given.
class TTieredTest : public ::testing::TestWithParam<TPixelTier> {
    TPixelTierScope Tier{GetParam()};
};

// A fixture whose test runs at a depth in bits per pixel, 32 or 16, in the tier it is given.
class TDepthTieredTest : public ::testing::TestWithParam<std::tuple<int32_t, TPixelTier>> {
protected:
    int32_t bits() const { return std::get<0>(GetParam()); }

private:
    TPixelTierScope Tier{std::get<1>(GetParam())};
};

inline auto DepthsAndTiers() { return ::testing::Combine(::testing::Values(32, 16), PixelTiers()); }

// "32_plain".
inline std::string DepthAndTierName(const ::testing::TestParamInfo<std::tuple<int32_t, TPixelTier>>& Info) {
    return std::to_string(std::get<0>(Info.param)) + "_" + PixelTierName(std::get<1>(Info.param));
}
