// The trade window: both offers of a trade between two players, with the buttons that accept, reject or
// cancel it, and the entry points through which the game messages open, refresh and close it.
#pragma once

#include "gui/DialogElements.h"
#include "gui/DialogElementsControls.h"
#include "gui/DialogElementsScroll.h"
#include "gui/DialogElementsText.h"
#include "gui/DialogWindow.h"

#include <cstdint>

// The grid of offered objects: the own offer on the left (side 0), the partner's on the right (side 1).
class TTradeOffers : public TParentComponent {
public:
    TTradeOffers();

    // The offered object under a point of the grid; Side and Index -1 when there is none.
    void getObjectAt(int32_t X, int32_t Y, int32_t& Side, int32_t& Index) const;
    // 36 pixels a row of the longer offer, plus 4; at least the minimum height.
    int32_t getContentHeight() const;

    void setSize(int32_t _Width, int32_t _Height) override;
    int32_t getMinimumHeight() const override;
    void arrange() override;
    void draw(int32_t Surface, int32_t X, int32_t Y) override;
    bool leftButtonDown(int32_t X, int32_t Y, uint32_t Flags) override; // always taken
    bool leftButtonUp(int32_t X, int32_t Y, uint32_t Flags) override;   // looks at the object
    bool rightClick(int32_t X, int32_t Y, uint32_t Flags) override;     // looks at the object
    bool mouseScroll(int32_t X, int32_t Y, uint32_t Kind) override;

    TVerticalScrollBox* ScrollBox;
    TSeparator* Separator;

private:
    bool look(int32_t X, int32_t Y);
    void drawSide(int32_t Surface, int32_t X, int32_t Y, int32_t Side) const;
};

// The owners' names above the offers.
class TTradeHeader : public TParentComponent {
public:
    TTradeHeader();
    void setSize(int32_t _Width, int32_t _Height) override;
    void arrange() override; // the name of an offer that holds objects
    void draw(int32_t Surface, int32_t X, int32_t Y) override;

    TTextLabel* OwnLabel;
    TTextLabel* PartnerLabel;
    TSeparator* Separator;
};

// What the trade body takes: the controls' Accept button, and the news that the partner's offer arrived.
enum TRADE_COMMAND : int32_t {
    TRADE_ACCEPT = 1,
    TRADE_COUNTEROFFER = 21,
};

// The strip of buttons and the waiting text below the offers.
class TTradeControls : public TParentComponent {
public:
    TTradeControls(); // the text asks to wait for a counteroffer; no button

    void setSize(int32_t _Width, int32_t _Height) override;
    void draw(int32_t Surface, int32_t X, int32_t Y) override;
    // A "Cancel" (Cancel true) or "Reject" button in place of the present one, firing CloseBinding.
    void setCloseButton(bool Cancel);
    // "Accept" firing (EventComponent, TRADE_ACCEPT) and "Reject"; checks "EventComponent!=NULL".
    void showAccept(TComponent* EventComponent);
    // The Accept button goes; the text tells the player to wait for the partner.
    void showWaiting();

    TTextButton* CloseButton = nullptr;
    TTextButton* AcceptButton = nullptr;
    TTextLabel* Label = nullptr;
    TSeparator* Separator;
    TNotification CloseBinding;

private:
    void setLabel(const char* Text);
    void resize() { setSize(Width, Height); }
};

class TTradeWindow : public TSideWindowBody {
public:
    TTradeWindow();
    // Sends the close while the own offer still holds objects, then empties both offers.
    ~TTradeWindow() override;

    void setSize(int32_t _Width, int32_t _Height) override;
    int32_t getMinimumHeight() const override;
    void draw(int32_t Surface, int32_t X, int32_t Y) override;
    bool leftDoubleClick(int32_t X, int32_t Y, uint32_t Flags) override; // taken; nothing happens
    bool getHelpContext(int32_t X, int32_t Y) override;
    void handleEvent(int32_t Event) override; // TRADE_COMMAND
    int32_t getDefaultHeight() const override { return getMaximumHeight(); }
    int32_t getMaximumHeight() const override; // every row of the offers
    int32_t getContentHeight() const override { return getMinimumHeight(); }

    TTradeControls* Controls;
    TTradeOffers* Offers;
    TTradeHeader* Header;
};

// The framed trade window (TRADE_WINDOW).
TDialogWindow* CreateTradeWindow();

// The entry points of the game messages, given the column of side windows. The server reported the own
// offer: the window opens at the end of the column (checks "!DialogWindow->hasContentWindow(TRADE_WINDOW)").
TDialogWindow* OpenTradeWindow(TWindowColumn* DialogWindow);
// The partner's offer arrived: the open window offers Accept. Nothing while none is open.
void RefreshTradeWindow(TWindowColumn* DialogWindow);
// The server ended the trade and emptied the offers: the window goes without sending a close.
void CloseTradeWindow(TWindowColumn* DialogWindow);
