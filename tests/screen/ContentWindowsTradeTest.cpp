// The trade window: heights from the offers, looks at offered objects, the accept and close flow read back
// from the loopback server, and the entry points of the game messages.
#include "screen/ContentWindowsTrade.h"
#include "gui/GUI.h"
#include "tests/foundation/Thrown.h"
#include "tests/screen/SideWindowFixture.h"

namespace {

class TradeWindowTest : public SideWindowTest {
protected:
    void TearDown() override {
        Column.reset();
        SideWindowTest::TearDown();
    }
    static void Offer(int32_t Own, int32_t Counter) {
        StartOwnOffer("Alice");
        for (int32_t i = 0; i < Own; i++)
            AddOwnOfferObject(TObject{ITEM, 0, 0});
        if (Counter == 0) return;
        StartCounterOffer("Bob");
        for (int32_t i = 0; i < Counter; i++)
            AddCounterOfferObject(TObject{ITEM, 0, 0});
    }
    // The trade window opened by the game message into a column of the side bar.
    TTradeWindow& openInColumn() {
        Column = std::make_unique<TWindowColumn>();
        Column->setSize(176, 600);
        TDialogWindow* Window = OpenTradeWindow(Column.get());
        return *dynamic_cast<TTradeWindow*>(Window->Body);
    }
    static void Click(TButton* Button) {
        ASSERT_NE(Button, nullptr);
        TEventScope Scope;
        Button->Notification.fire();
    }
    static std::string Text(const TTextButton* Button) { return Button != nullptr ? Button->_Text : "none"; }
    static std::string Text(const TTextLabel* Label) { return Label != nullptr ? Label->getText() : "none"; }

    std::unique_ptr<TWindowColumn> Column;
};

TEST_F(TradeWindowTest, HeightsFollowTheLongerOffer) {
    Offer(5, 1);
    TTradeWindow& Body = open<TTradeWindow>(CreateTradeWindow);
    EXPECT_EQ(Body.Offers->getContentHeight(), 112);
    EXPECT_EQ(Body.getMaximumHeight(), 150);
    EXPECT_EQ(Body.getHeight(), 150);
    EXPECT_EQ(Body.Offers->getHeight(), 112);
    Body.setSize(Body.getWidth(), 10); // clamped to the minimum
    EXPECT_EQ(Body.getHeight(), 78);
    EXPECT_EQ(Body.Controls->Y, 78 - 26);
}

TEST_F(TradeWindowTest, ClicksLookAtOfferedObjectsOnly) {
    Offer(3, 1);
    TTradeWindow& Body = open<TTradeWindow>(CreateTradeWindow);
    TTradeOffers& Grid = *Body.Offers;
    int32_t Side, Index;
    for (int32_t X = 74; X <= 81; X++) {
        Grid.getObjectAt(X, 10, Side, Index);
        EXPECT_EQ(Side, -1) << X;
    }
    Grid.getObjectAt(3 + 36 + 34, 3 + 36 + 34, Side, Index); // the last pixel of the own third cell's row
    EXPECT_EQ(Side, -1);                                     // no fourth object
    Grid.getObjectAt(3, 3 + 36, Side, Index);
    EXPECT_EQ(Side, 0);
    EXPECT_EQ(Index, 2);

    EXPECT_TRUE(Grid.leftButtonUp(83, 4, 0));
    EXPECT_EQ(Sent(), std::vector<uint8_t>(TWire(126).u8(1).u8(0)));
    Grid.rightClick(40, 4, 0);
    EXPECT_EQ(Sent(), std::vector<uint8_t>(TWire(126).u8(0).u8(1)));
    Grid.leftButtonUp(120, 4, 0); // the partner's empty cell
    SetActionState(ACTIONSTATE_USEWITH);
    Grid.leftButtonUp(4, 4, 0);
    SetActionState(ACTIONSTATE_TRADEWITH);
    Grid.rightClick(4, 4, 0);
    EXPECT_TRUE(NothingSent());
}

TEST_F(TradeWindowTest, NamesShowForOffersWithObjects) {
    Offer(1, 0);
    TTradeWindow& Body = open<TTradeWindow>(CreateTradeWindow);
    EXPECT_EQ(Text(Body.Header->OwnLabel), "Alice");
    EXPECT_EQ(Text(Body.Header->PartnerLabel), "");
    StartCounterOffer("Bob");
    AddCounterOfferObject(TObject{ITEM, 0, 0});
    Body.handleEvent(TRADE_COUNTEROFFER);
    EXPECT_EQ(Text(Body.Header->PartnerLabel), "Bob");
}

TEST_F(TradeWindowTest, AcceptThenRejectClosesAndSendsTheClose) {
    Offer(2, 0);
    TTradeWindow& Body = openInColumn();
    TTradeControls& Controls = *Body.Controls;
    EXPECT_EQ(Text(Controls.Label), "Please wait for a\ncounteroffer");
    EXPECT_EQ(Text(Controls.CloseButton), "Cancel");
    EXPECT_EQ(Controls.AcceptButton, nullptr);

    StartCounterOffer("Bob");
    AddCounterOfferObject(TObject{ITEM, 0, 0});
    RefreshTradeWindow(Column.get());
    EXPECT_EQ(Text(Controls.CloseButton), "Reject");
    EXPECT_EQ(Text(Controls.AcceptButton), "Accept");
    EXPECT_EQ(Controls.Label, nullptr);
    RefreshTradeWindow(Column.get()); // reported twice: still one Accept button
    int32_t Buttons = 0;
    for (TComponent* Child = Controls.getFirstChild(); Child != nullptr; Child = Child->getNext())
        Buttons += dynamic_cast<TTextButton*>(Child) != nullptr;
    EXPECT_EQ(Buttons, 2);

    Click(Controls.AcceptButton);
    EXPECT_EQ(Sent(), std::vector<uint8_t>(TWire(127)));
    EXPECT_EQ(Controls.AcceptButton, nullptr);
    EXPECT_EQ(Text(Controls.Label), "Please wait for \nyour partner to accept.");
    EXPECT_EQ(Text(Controls.CloseButton), "Reject");

    Click(Controls.CloseButton);
    EXPECT_FALSE(Column->hasContentWindow(TRADE_WINDOW));
    EXPECT_EQ(Sent(), std::vector<uint8_t>(TWire(128)));
    EXPECT_EQ(GetOwnOfferCount(), 0);
    EXPECT_EQ(GetCounterOfferCount(), 0);
}

TEST_F(TradeWindowTest, TheServerEndingTheTradeSendsNoClose) {
    Offer(1, 0);
    openInColumn();
    EXPECT_NE(ThrownText([&] {
                  OpenTradeWindow(Column.get());
              }).find("!DialogWindow->hasContentWindow(TRADE_WINDOW)"),
              std::string::npos);
    CloseTradeWindow(Column.get());
    EXPECT_FALSE(Column->hasContentWindow(TRADE_WINDOW));
    EXPECT_TRUE(NothingSent());
    RefreshTradeWindow(Column.get()); // none open: nothing
}

TEST_F(TradeWindowTest, CellsOfBothOffersAreDrawn) {
    Offer(1, 0);
    TTradeWindow& Body = open<TTradeWindow>(CreateTradeWindow);
    Screen.clear();
    Body.draw(SCREEN_SURFACE, 0, 0);
    EXPECT_EQ(Screen.source(3, 12 + 3), TSkinScreen::skinPixel(125, 0, 0));
    EXPECT_EQ(Screen.source(3 + 36 + 33, 12 + 3 + 33), TSkinScreen::skinPixel(7, 72, 36));
    EXPECT_NE(Screen.source(82, 12 + 3), TSkinScreen::skinPixel(125, 0, 0));
}

} // namespace
