// The clipboard: SDL's while the video subsystem runs, the in-memory one before and after.
#include "platform/Clipboard.h"

#include <SDL.h>
#include <gtest/gtest.h>

TEST(PlatformClipboard, SdlWhileVideoRunsMemoryOtherwise) {
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
    EXPECT_TRUE(SystemClipboardHasText());
}
