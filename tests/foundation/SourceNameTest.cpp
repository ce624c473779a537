// Checks and frames report the file that holds their line, by the part of its name behind the last '/';
// a check in a header reports the header.
#include "foundation/Container.h"

#include <gtest/gtest.h>

namespace {
void Frame(int Count) try { CHECK(Count < 0, Count); }
CATCH_FRAME(Count)
} // namespace

TEST(SourceName, ChecksAndFramesReportTheirOwnFileAlsoInHeaders) {
    try {
        Frame(3);
        FAIL();
    } catch (const TMyException& E) {
        EXPECT_EQ(E.getText().rfind("SourceNameTest.cpp ", 0), 0u) << E.getText();
        EXPECT_EQ(E.getLocation().rfind("SourceNameTest.cpp ", 0), 0u);
    }
    EXPECT_STREQ(EBRUN_SOURCE_NAME, "SourceNameTest.cpp") << "made while compiling, no directory";
    try {
        TFixedArray<int> Empty(1, 0);
        FAIL();
    } catch (const TMyException& E) {
        EXPECT_EQ(E.getText().rfind("Container.h ", 0), 0u) << E.getText();
    }
}
