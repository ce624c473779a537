// The console's tabs and tab bar: captions, unread marks, dragging, the hidden stores and scrolling,
// selection, and the close message each kind of buffer sends when its tab is destroyed.
#include "ConsoleFixture.h"

#include "graphics/graphics.h"
#include "gui/GUIServices.h"
#include "state/Talk.h"
#include "state/TalkBuffer.h"
#include "state/TalkFilter.h"
#include "tests/gui/Probes.h"

#include <memory>

namespace {

class ConsoleTabs : public ConsoleFixture {
protected:
    ConsoleTabs() {
        Place(&Root, 0, 0, 640, 480);
        Root.appendChild(Bar);
    }
    ~ConsoleTabs() override { Root.deleteChild(Bar); }

    // A tab of a new public channel buffer, appended to the bar.
    TConsoleTab* channel(int32_t Channel, const char* Caption = "Channel") {
        auto* Tab = new TConsoleTab(
            Caption, CreateTextBuffer(TALK_CHANNEL_CALL, TALK_CHANNEL_CALL, nullptr, Channel), &Log, 201);
        Bar->appendChild(Tab);
        return Tab;
    }
    static std::string names(const TParentComponent* List) {
        std::string Names;
        for (TComponent* Tab = List->FirstChild; Tab != nullptr; Tab = Tab->Next)
            Names += static_cast<TConsoleTab*>(Tab)->getCaption();
        return Names;
    }
    // Visible tabs with their x positions, then the stores: "A0 B96 | left C | right D".
    std::string layout() {
        std::string Text;
        for (TComponent* Tab = Bar->FirstChild; Tab != nullptr; Tab = Tab->Next)
            Text += std::string(static_cast<TConsoleTab*>(Tab)->getCaption()) + std::to_string(Tab->X) + " ";
        return Text + "| left " + names(Bar->LeftStore.get()) + " | right " + names(Bar->RightStore.get());
    }

    TEventLog Events;
    TProbeParent Log{Events, "console"};
    TParentComponent Root;
    TConsoleTabBar* Bar = new TConsoleTabBar;
};

TEST_F(ConsoleTabs, CaptionsAreTrimmedAndShortenedToFit) {
    Place(Bar, 0, 0, 600, 18);
    TConsoleTab* Short = channel(1, "  Trade \t");
    TConsoleTab* Long = channel(2, "A caption far too long for a tab");
    EXPECT_STREQ(Short->getCaption(), "Trade");
    EXPECT_FALSE(Short->CaptionShortened);
    EXPECT_STREQ(Long->getCaption(), "A caption far too long for a tab");
    const std::string Shown = Long->DisplayCaption.get();
    EXPECT_EQ(Shown.substr(Shown.size() - 3), "...");
    EXPECT_LE(GetStringWidth(2, Shown.c_str()), 96 - 8);
    Long->getToolTip(0, 0);
    EXPECT_STREQ(GetTooltip(), "A caption far too long for a tab");
    Short->getToolTip(0, 0);
    EXPECT_EQ(GetTooltip(), nullptr);
    EXPECT_EQ(Short->getWidth(), 96);
    EXPECT_EQ(Short->getHeight(), 18);
}

TEST_F(ConsoleTabs, NewTextInAnUnselectedTabFlashesThenStaysUnread) {
    Place(Bar, 0, 0, 600, 18);
    TConsoleTab* Selected = channel(1, "One");
    TConsoleTab* Other = channel(2, "Two");
    Bar->selectTab(Selected);
    EXPECT_TRUE(Selected->isActive());
    EXPECT_EQ(Bar->getCurrentTab(), Selected);
    AddToTextBuffer(Other->getTextBuffer(), 0, "news", TALK_CHANNEL_CALL, nullptr, 0);
    AddToTextBuffer(Selected->getTextBuffer(), 0, "here", TALK_CHANNEL_CALL, nullptr, 0);
    Bar->arrange();
    EXPECT_TRUE(Other->Unread);
    EXPECT_EQ(Other->FlashUntil, GetTickCounter() + 10);
    tick(11);
    Bar->draw(SCREEN_SURFACE, 0, 0);
    EXPECT_EQ(Other->FlashUntil, 0) << "the flash is over: the unread style stays";
    EXPECT_TRUE(Other->Unread);
    Bar->selectTab(Other);
    EXPECT_FALSE(Selected->Unread) << "text in the selected tab leaves no mark";
    EXPECT_FALSE(Selected->isActive());
    Bar->selectTab(Selected);
    EXPECT_FALSE(Other->Unread);

    Other->getTextBuffer()->clearHighlight();
    AddToTextBuffer(Other->getTextBuffer(), 0, "quiet", TALK_CHANNEL_CALL, nullptr, 0);
    Bar->arrange();
    EXPECT_FALSE(Other->Unread) << "text the client added itself";
}

TEST_F(ConsoleTabs, DraggingPastTheMiddleOfANeighbourSwapsAndSnaps) {
    Place(Bar, 0, 0, 400, 18);
    TConsoleTab* A = channel(1, "A");
    channel(2, "B");
    channel(3, "C");
    Bar->leftButtonDown(10, 5, 0);
    EXPECT_EQ(Bar->getCurrentTab(), A);
    EXPECT_EQ(Events.back(), "console:event 201");
    Bar->mouseMove(10 + 40, 5);
    EXPECT_EQ(layout(), "A40 B96 C192 | left  | right ") << "not past the middle yet";
    Bar->mouseMove(10 + 60, 5);
    EXPECT_EQ(layout(), "B0 A60 C192 | left  | right ");
    Bar->mouseMove(1000, 5);
    EXPECT_EQ(A->X, 400 - 96) << "a tab cannot leave the bar";
    Bar->leftButtonUp(1000, 5, 0);
    EXPECT_EQ(layout(), "B0 C96 A192 | left  | right ");
    EXPECT_FALSE(A->Dragging);
    EXPECT_EQ(Bar->DraggedTab, nullptr);
}

TEST_F(ConsoleTabs, TabsThatDoNotFitWaitOnEitherSideInOrder) {
    Place(Bar, 0, 0, 200, 18);
    for (const char* Name : {"A", "B", "C", "D"})
        channel(1 + *Name - 'A', Name);
    EXPECT_EQ(layout(), "A0 B96 | left  | right CD") << "a new tab goes behind the hidden ones";
    Bar->setSize(100, 18);
    EXPECT_EQ(layout(), "A0 | left  | right BCD") << "several pushed off at once keep their order";
    Bar->setSize(200, 18);
    EXPECT_EQ(layout(), "A0 B96 | left  | right CD");
    Bar->handleEvent(TABBAR_SCROLL_LEFT);
    EXPECT_EQ(layout(), "B0 C96 | left A | right D");
    EXPECT_TRUE(Bar->NeedsUpdate);
    Bar->handleEvent(TABBAR_SCROLL_LEFT_ALL);
    EXPECT_EQ(layout(), "C0 D96 | left AB | right ");
    Bar->handleEvent(TABBAR_SCROLL_RIGHT);
    EXPECT_EQ(layout(), "B0 C96 | left A | right D");
    Bar->handleEvent(TABBAR_SCROLL_RIGHT_ALL);
    EXPECT_EQ(layout(), "A0 B96 | left  | right CD");
    Bar->selectTab(static_cast<TConsoleTab*>(Bar->RightStore->getLastChild()));
    EXPECT_EQ(layout(), "A0 D96 | left  | right BC") << "a selected hidden tab takes the last visible place";
}

TEST_F(ConsoleTabs, WithNoVisibleTabTheLastHiddenOnTheLeftIsShown) {
    Place(Bar, 0, 0, 100, 18);
    channel(1, "A");
    TConsoleTab* B = channel(2, "B");
    Bar->handleEvent(TABBAR_SCROLL_LEFT);
    EXPECT_EQ(layout(), "B0 | left A | right ");
    Bar->deleteChild(B);
    EXPECT_EQ(layout(), "A0 | left  | right ");
    EXPECT_THROW(Bar->selectTab(nullptr), TMyException);
}

TEST_F(ConsoleTabs, DestroyedTabsTellTheServer) {
    Place(Bar, 0, 0, 100, 18);
    auto Close = [&](TTextBuffer* Buffer) {
        sentMessages();
        Bar->appendChild(new TConsoleTab("x", Buffer, &Log, 201));
        Bar->deleteChild(Bar->findTab(Buffer));
        const std::vector<std::string> Sent = sentMessages();
        return Sent.empty() ? std::string("nothing") : Sent.front();
    };
    EXPECT_EQ(Close(CreateTextBuffer(TALK_CHANNEL_CALL, TALK_CHANNEL_CALL, nullptr, 3)), "leave 3");
    EXPECT_EQ(Close(CreateTextBuffer(TALK_PRIVATE_MESSAGE, TALK_PRIVATE_MESSAGE, "Brenna", -1)), "nothing");
    EXPECT_EQ(Close(CreateTextBuffer(TALK_GAMEMASTER_ANSWER, TALK_PLAYER_ANSWER, nullptr, -1)), "cancel");
    EXPECT_EQ(Close(CreateTextBuffer(TALK_PLAYER_ANSWER, TALK_GAMEMASTER_ANSWER, "Brenna", -1)),
              "remove Brenna");
    TTextBuffer* Closed = CreateTextBuffer(TALK_PLAYER_ANSWER, TALK_GAMEMASTER_ANSWER, "Corin", -1);
    Closed->setOpen(false);
    EXPECT_EQ(Close(Closed), "nothing");
    EXPECT_EQ(Close(CreateTextBuffer(TALK_CHANNEL_CALL, TALK_CHANNEL_CALL, nullptr, 10)), "leave 10");
    TTextBuffer* Own = CreateTextBuffer(TALK_CHANNEL_CALL, TALK_CHANNEL_CALL, nullptr, 11);
    Own->setOwnChannel(true);
    EXPECT_EQ(Close(Own), "nothing");
    TTextBuffer* Ended = CreateTextBuffer(TALK_CHANNEL_CALL, TALK_CHANNEL_CALL, nullptr, 12);
    Ended->setOpen(false);
    EXPECT_EQ(Close(Ended), "nothing");
    EXPECT_EQ(Close(DefaultTextBuffer()), "nothing");
    EXPECT_NE(DefaultTextBuffer(), nullptr) << "the default buffer is never given back";
}

TEST_F(ConsoleTabs, OpenPublicChannelsAreRemembered) {
    Place(Bar, 0, 0, 100, 18);
    channel(4);
    channel(2);
    channel(9);
    Bar->handleEvent(TABBAR_SCROLL_LEFT);
    Bar->storeOpenChannels();
    std::unique_ptr<int32_t[]> Channels;
    ASSERT_EQ(GetOpenChannels(Channels), 2);
    EXPECT_EQ(Channels[0], 4);
    EXPECT_EQ(Channels[1], 2);
}

TEST_F(ConsoleTabs, RightClickSelectsAndOpensTheChannelMenu) {
    Place(Bar, 0, 0, 300, 18);
    channel(1, "A");
    TConsoleTab* B = channel(2, "B");
    Bar->rightClick(100, 5, 0);
    EXPECT_EQ(Bar->getCurrentTab(), B);
    EXPECT_EQ(PeekMessageType(), 56);
    EXPECT_TRUE(Bar->getHelpContext(3, 3));
    EXPECT_EQ(GetHelpContext(), 23);
}

} // namespace
