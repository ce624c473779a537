// The message-text table: exact texts at sample indices, deliberate repeats, line breaks, and the link
// pattern.
#include "screen/MessageTexts.h"
#include "foundation/Regex.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>

namespace {

TEST(MessageTexts, SampleEntriesAreExact) {
    EXPECT_STREQ(MessageTexts[0], "You are poisoned");
    EXPECT_STREQ(MessageTexts[11], "You have killed too many unmarked players");
    EXPECT_STREQ(MessageTexts[12], "Close this Channel (Ctrl+E)");
    EXPECT_STREQ(MessageTexts[14], "Hide server messages in this channel (Ctrl+M)");
    EXPECT_STREQ(MessageTexts[19], "Move channels to the left");
    EXPECT_STREQ(MessageTexts[37], "Scroll automap (Alt+Cursor)");
    EXPECT_STREQ(MessageTexts[52], "You have %d percent to go");
    EXPECT_STREQ(MessageTexts[62], "Trying to reconnect in %d %s.");
    EXPECT_STREQ(MessageTexts[68],
                 "Please state the rule violation in one\nclear sentence and wait for a reply\n"
                 "from a gamemaster.\nPlease note that your message will\ndisappear if you "
                 "close this channel.");
    EXPECT_STREQ(MessageTexts[97], "Welcome to Pellarune772");
    EXPECT_STREQ(MessageTexts[109], "Your character list is being loaded. Please wait.");
    EXPECT_STREQ(MessageTexts[119], "Please wait patiently for a gamemaster to reply.");
    EXPECT_STREQ(MessageTexts[120], "You have already submitted a request. Please be patient.");
    EXPECT_STREQ(MessageTexts[127],
                 "The channel has been closed. You need to re-join the channel if you get invited.");
    EXPECT_STREQ(MessageTexts[134], "You are permanently ignoring players.");
    EXPECT_STREQ(MessageTexts[145], "Rule Violations");
    EXPECT_STREQ(MessageTexts[146], "Report Rule Violation");
    EXPECT_EQ(std::string(MessageTexts[122]).substr(0, 28), "Welcome to the help channel!");
    EXPECT_EQ(std::strlen(MessageTexts[122]), 439u);
}

TEST(MessageTexts, RepeatsLineBreaksAndAddresses) {
    for (auto [A, B] : {std::pair{67, 71}, std::pair{70, 112}, std::pair{72, 113}, std::pair{139, 140}})
        EXPECT_STREQ(MessageTexts[A], MessageTexts[B]) << A;
    EXPECT_STREQ(MessageTexts[57], "Please wait for \nyour partner to accept.");
    EXPECT_STREQ(MessageTexts[118], "Please tell us what you were doing just before the crash:\n");
    const std::string Crash = MessageTexts[116];
    EXPECT_EQ(Crash.find("stopped.\r\n\r\nA detailed"), 57u);
    EXPECT_NE(Crash.find("which\r\nyou are asked"), std::string::npos);
    EXPECT_EQ(Crash.find("\n\n"), std::string::npos);
    const std::string Manual = MessageTexts[136], Graphics = MessageTexts[139];
    EXPECT_EQ(Manual.substr(Manual.find("/guide")), "/guide/?subtopic=manual");
    EXPECT_EQ(Graphics.substr(Graphics.find("/guide")),
              "/guide/?subtopic=manual&section=options#graphicsoptions");
    for (int i = 0; i < NUMBER_OF_MESSAGE_TEXTS; i++)
        ASSERT_NE(MessageTexts[i], nullptr) << i;
}

TEST(MessageTexts, LinkPatternFindsHostsAndNumbers) {
    std::unique_ptr<TRegex> Pattern = CompileRegex(MessageTexts[147]);
    ASSERT_NE(Pattern, nullptr);
    auto Matches = [&](const char* Text) { return MatchRegex(Pattern.get(), Text) == 1; };
    EXPECT_TRUE(Matches("visit www.example.com today"));
    EXPECT_TRUE(Matches("www.example.com"));
    EXPECT_TRUE(Matches("ip 192.168.0.1 here"));
    EXPECT_TRUE(Matches("see shop%2eexample%2ede now"));
    EXPECT_FALSE(Matches("see shop.example.invalid now"));
    EXPECT_FALSE(Matches("no link in here"));
    EXPECT_FALSE(Matches("a.b"));
}

} // namespace
