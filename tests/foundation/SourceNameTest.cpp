// A file of a module spread over several files reports under the module's name.
#include "foundation/Container.h"

#include <gtest/gtest.h>

namespace {
void Frame(int Count) try { CHECK(Count < 0, Count); }
CATCH_FRAME(Count)
} // namespace

TEST(SourceName, ChecksAndFramesReportTheModuleNameWhileHeadersKeepTheirOwn) {
    try {
        Frame(3);
        FAIL();
    } catch (const TMyException& E) {
        EXPECT_EQ(E.getText().rfind("Communication.cpp ", 0), 0u) << E.getText();
        EXPECT_EQ(E.getLocation().rfind("Communication.cpp ", 0), 0u);
    }
    try {
        TFixedArray<int> Empty(1, 0);
        FAIL();
    } catch (const TMyException& E) {
        EXPECT_EQ(E.getText().rfind("Container.h ", 0), 0u) << E.getText();
    }
}
