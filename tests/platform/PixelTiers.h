// Tests run once per pixel tier of this processor, the tier's name closing the test's name ("…/plain",
// "…/avx2"). Which tiers the processor has comes from the kernel's report of it, not from the build's own
// choice (GetPixelTiers): a tier the processor has but the build does not offer under its name (renamed,
// left out, refused by SetPixelTier) fails its cases instead of leaving them out.
#pragma once

#include "platform/PixelSurface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

// The names, as EBRUN_PIXELS takes them, of the tiers this processor runs: "plain" on every one, "avx2"
// where the kernel lists the flag in /proc/cpuinfo.
inline std::vector<std::string> ProcessorPixelTiers() {
    std::vector<std::string> Names{"plain"};
    std::ifstream CpuInfo("/proc/cpuinfo");
    for (std::string Line; std::getline(CpuInfo, Line);)
        if (Line.starts_with("flags")) {
            if ((Line + " ").find(" avx2 ") != std::string::npos) Names.push_back("avx2");
            break;
        }
    return Names;
}

inline auto PixelTiers() { return ::testing::ValuesIn(ProcessorPixelTiers()); }

inline std::string TierName(const ::testing::TestParamInfo<std::string>& Info) { return Info.param; }

// The pixel loops run in the tier of that name while it lives (a member of a test's fixture), then in the
// default one; a name the build does not offer fails the test.
class TPixelTierScope {
public:
    explicit TPixelTierScope(const std::string& Name) {
        const std::vector<TPixelTier> Offered = GetPixelTiers();
        const auto Tier = std::find_if(Offered.begin(), Offered.end(),
                                       [&Name](TPixelTier t) { return Name == PixelTierName(t); });
        if (Tier == Offered.end())
            ADD_FAILURE() << "the processor has the pixel tier " << Name
                          << ", the build offers none of that name";
        else
            EXPECT_TRUE(SetPixelTier(*Tier)) << Name;
    }
    ~TPixelTierScope() { SetPixelTier(DefaultPixelTier()); }
    TPixelTierScope(const TPixelTierScope&) = delete;
    TPixelTierScope& operator=(const TPixelTierScope&) = delete;
};

// A fixture whose test runs in the tier it is given.
class TTieredTest : public ::testing::TestWithParam<std::string> {
    TPixelTierScope Tier{GetParam()};
};

// A fixture whose test runs at a depth in bits per pixel, 32 or 16, in the tier it is given.
class TDepthTieredTest : public ::testing::TestWithParam<std::tuple<int32_t, std::string>> {
protected:
    int32_t bits() const { return std::get<0>(GetParam()); }

private:
    TPixelTierScope Tier{std::get<1>(GetParam())};
};

inline auto DepthsAndTiers() { return ::testing::Combine(::testing::Values(32, 16), PixelTiers()); }

// "32_plain".
inline std::string DepthAndTierName(const ::testing::TestParamInfo<std::tuple<int32_t, std::string>>& Info) {
    return std::to_string(std::get<0>(Info.param)) + "_" + std::get<1>(Info.param);
}
