// The clipboard: in memory without a video subsystem, SDL's once it runs.
#include "platform/Clipboard.h"

#include <SDL.h>
#include <gtest/gtest.h>

TEST(PlatformClipboard, InMemoryWithoutVideo) {
    ASSERT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u);
    ASSERT_TRUE(WriteSystemClipboard("\xC3\xA4 memory"));
    EXPECT_TRUE(SystemClipboardHasText());
    std::string Text;
    ASSERT_TRUE(ReadSystemClipboard(Text));
    EXPECT_EQ(Text, "\xC3\xA4 memory");
    ASSERT_TRUE(WriteSystemClipboard(""));
    EXPECT_TRUE(SystemClipboardHasText()); // an empty text is still a text
    ASSERT_TRUE(ReadSystemClipboard(Text));
    EXPECT_EQ(Text, "");
}

TEST(PlatformClipboard, SdlWhileVideoRunsThenMemoryAgain) {
    ASSERT_TRUE(WriteSystemClipboard("kept in memory"));
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    ASSERT_TRUE(WriteSystemClipboard("through SDL \xC3\xBC"));
    char* Raw = SDL_GetClipboardText();
    EXPECT_STREQ(Raw, "through SDL \xC3\xBC");
    SDL_free(Raw);
    EXPECT_TRUE(SystemClipboardHasText());
    std::string Text;
    ASSERT_TRUE(ReadSystemClipboard(Text));
    EXPECT_EQ(Text, "through SDL \xC3\xBC");
    SDL_Quit();
    ASSERT_TRUE(ReadSystemClipboard(Text));
    EXPECT_EQ(Text, "kept in memory");
}
