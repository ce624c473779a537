// The console's tab bar: tabs with unread marks and dragging, the layout with the hidden stores on either
// side, scrolling, selection, and the close message each tab sends when it is destroyed.
#include "foundation/Exception.h"
#include "foundation/Utils.h"
#include "graphics/graphics.h"
#include "gui/GUIServices.h"
#include "gui/SkinProperties.h"
#include "network/CommunicationSend.h"
#include "screen/ConsoleWindow.h"
#include "screen/Help.h"
#include "state/Events.h"
#include "state/Preferences.h"
#include "state/Status.h"
#include "state/Talk.h"
#include "state/TalkBuffer.h"
#include "state/TalkFilter.h"

#include <algorithm>
#include <cstring>

namespace {

std::unique_ptr<char[]> TrimmedCopy(const char* Caption) {
    auto Copy = std::make_unique<char[]>(std::strlen(Caption) + 1);
    CopyTrimmed(Copy.get(), Caption);
    return Copy;
}

TConsoleTab* AsTab(TComponent* Component) { return static_cast<TConsoleTab*>(Component); }

} // namespace

// ---- TConsoleTab ----

TConsoleTab::TConsoleTab(const char* Caption, TTextBuffer* TextBuffer, TComponent* Target, int32_t Identifier)
    : _TextBuffer(TextBuffer), Notification(Target, Identifier) {
    CHECK_TEXT(Caption != nullptr, "_Caption!=NULL");
    CHECK_TEXT(TextBuffer != nullptr, "_TextBuffer!=NULL");
    const auto& Tab = SkinProperties.ConsoleTab;
    TComponent::setSize(Tab.Width, Tab.Height);
    _Caption = TrimmedCopy(Caption);
    DisplayCaption = TrimmedCopy(Caption);
    const int32_t Fit =
        GetTextFitLength(Tab.SelectedFormat.Font, DisplayCaption.get(), Tab.Width - 2 * Tab.CaptionMargin);
    CaptionShortened = ShortenText(DisplayCaption.get(), Fit);
}

TConsoleTab::~TConsoleTab() {
    try {
        sendCloseMessage();
        DeleteTextBuffer(_TextBuffer);
    } catch (...) {
        // A destructor must not throw; the buffer stays registered and ends with the chat model.
    }
}

void TConsoleTab::sendCloseMessage() {
    TTextBuffer* Buffer = _TextBuffer;
    if (Buffer->isPrivateChannel()) {
        if (Buffer->isOwnChannel() && !Buffer->isClosedByUser()) return;
        if (Buffer->isOpen()) SendLeaveChannel(Buffer->getChannelID());
        return;
    }
    if (Buffer->isRequest() && Buffer->getReceiveTalkMode() == TALK_GAMEMASTER_ANSWER) {
        SendCancelRequest();
    } else if (Buffer->isRequest() && Buffer->getReceiveTalkMode() == TALK_PLAYER_ANSWER &&
               Buffer->isOpen()) {
        const char* PlayerName = Buffer->getAddressee();
        CHECK_TEXT(PlayerName != nullptr, "PlayerName!=NULL");
        SendRemoveRequest(PlayerName);
    } else if (Buffer->getChannelID() != -1) {
        SendLeaveChannel(Buffer->getChannelID());
    }
}

const char* TConsoleTab::getCaption() const {
    return CaptionShortened ? _Caption.get() : DisplayCaption.get();
}

void TConsoleTab::setActive(bool Active) try {
    _Active = Active;
    Unread = false;
    if (Active) arrange();
}
CATCH_FRAME()

void TConsoleTab::arrange() try {
    if (_TextBuffer->checkChanged()) {
        if (_TextBuffer->getNumberOfLines() != LastLineCount)
            FlashUntil = GetTickCounter() + SkinProperties.ConsoleTab.FlashLength;
        LastLineCount = _TextBuffer->getNumberOfLines();
        Unread = true;
    }
    if (_TextBuffer->checkClearHighlight()) {
        Unread = false;
        FlashUntil = 0;
    }
}
CATCH_FRAME()

void TConsoleTab::draw(int32_t Surface, int32_t X, int32_t Y) try {
    CHECK(X >= 0, X);
    CHECK(Y >= 0, Y);
    const auto& Tab = SkinProperties.ConsoleTab;
    DrawSkin(Surface, X, Y, Width, Height, _Active ? Tab.SelectedSkin : Tab.UnselectedSkin, 0, 0);
    const TTextFormat& Format = _Active                     ? Tab.SelectedFormat
                                : Unread && FlashUntil == 0 ? Tab.UnreadFormat
                                : Unread                    ? Tab.FlashFormat
                                                            : Tab.UnselectedFormat;
    PrintFormattedText(Surface, X + Tab.Caption.x, Y + Tab.Caption.y, Format, DisplayCaption.get());
    if (FlashUntil < GetTickCounter()) FlashUntil = 0;
}
CATCH_FRAME(X, Y)

bool TConsoleTab::leftButtonDown(int32_t X, int32_t Y, uint32_t) try {
    Dragging = true;
    setCapture(this);
    PressX = X;
    PressY = Y;
    DragOffset = Width - this->X + PressX;
    static_cast<TConsoleTabBar*>(Parent)->selectTab(this);
    Notification.fire();
    return true;
}
CATCH_FRAME(X, Y)

bool TConsoleTab::leftDoubleClick(int32_t X, int32_t Y, uint32_t Flags) try {
    return leftButtonDown(X, Y, Flags);
}
CATCH_FRAME(X, Y)

bool TConsoleTab::mouseMove(int32_t X, int32_t Y) try {
    if (Dragging && Parent != nullptr) {
        const int32_t NewX = std::clamp(this->X - PressX + X, 0, std::max(Parent->getWidth() - Width, 0));
        setPosition(NewX, this->Y);
        static_cast<TConsoleTabBar*>(Parent)->rearrangeTabs(this);
    }
    return true;
}
CATCH_FRAME(X, Y)

bool TConsoleTab::leftButtonUp(int32_t, int32_t, uint32_t) try {
    if (Dragging) {
        auto* Bar = static_cast<TConsoleTabBar*>(Parent);
        releaseCapture(this);
        if (Bar != nullptr) Bar->rearrangeTabs(nullptr);
    }
    return true;
}
CATCH_FRAME()

void TConsoleTab::releaseCapture(TComponent* Component) try {
    Dragging = false;
    TLeafComponent::releaseCapture(Component);
}
CATCH_FRAME()

bool TConsoleTab::rightClick(int32_t, int32_t, uint32_t) try {
    static_cast<TConsoleTabBar*>(Parent)->selectTab(this);
    Notification.fire();
    AddMessage(MESSAGE_CHANNELTABMENU, 0, 0);
    return true;
}
CATCH_FRAME()

void TConsoleTab::getToolTip(int32_t, int32_t) try {
    SetTooltip(CaptionShortened ? _Caption.get() : nullptr);
}
CATCH_FRAME()

// ---- TConsoleTabBar: lists ----

TConsoleTabBar::TConsoleTabBar()
    : LeftStore(std::make_unique<TParentComponent>()), RightStore(std::make_unique<TParentComponent>()) {
    arrange();
}

// The stores go first, then the visible tabs with the container; each tab sends its close message.
TConsoleTabBar::~TConsoleTabBar() {
    LeftStore.reset();
    RightStore.reset();
}

TParentComponent* TConsoleTabBar::findComposite(const TComponent* Tab) {
    if (TParentComponent::isChild(Tab)) return this;
    if (LeftStore->isChild(Tab)) return LeftStore.get();
    if (RightStore->isChild(Tab)) return RightStore.get();
    return nullptr;
}

TParentComponent* TConsoleTabBar::getComposite(const TComponent* Tab) try {
    TParentComponent* Container = findComposite(Tab);
    CHECK_TEXT(Container != nullptr, "failed to get composite");
    return Container;
}
CATCH_FRAME()

TConsoleTab* TConsoleTabBar::findTab(const TTextBuffer* TextBuffer) {
    for (const TParentComponent* List :
         {static_cast<TParentComponent*>(this), LeftStore.get(), RightStore.get()})
        for (TComponent* Tab = List->FirstChild; Tab != nullptr; Tab = Tab->Next)
            if (AsTab(Tab)->getTextBuffer() == TextBuffer) return AsTab(Tab);
    return nullptr;
}

void TConsoleTabBar::added(TComponent* Child) {
    NeedsUpdate = true;
    rearrangeTabs(nullptr);
    Child->arrange();
}

TComponent* TConsoleTabBar::addChild(TComponent* Child) try {
    TParentComponent::addChild(Child);
    added(Child);
    return Child;
}
CATCH_FRAME()

// A tab appended while others wait on the right belongs behind them, not in front.
TComponent* TConsoleTabBar::appendChild(TComponent* Child) try {
    if (RightStore->FirstChild != nullptr)
        RightStore->appendChild(Child);
    else
        TParentComponent::appendChild(Child);
    added(Child);
    return Child;
}
CATCH_FRAME()

TComponent* TConsoleTabBar::insertChild(TComponent* After, TComponent* Child) try {
    TParentComponent::insertChild(After, Child);
    added(Child);
    return Child;
}
CATCH_FRAME()

TComponent* TConsoleTabBar::removeChild(TComponent* Child) try {
    TParentComponent* Container = getComposite(Child);
    if (Container == this)
        TParentComponent::removeChild(Child);
    else
        Container->removeChild(Child);
    if (DraggedTab == Child) DraggedTab = nullptr;
    rearrangeTabs(nullptr);
    NeedsUpdate = true;
    return Child;
}
CATCH_FRAME()

void TConsoleTabBar::deleteChild(TComponent* Child) try {
    if (CurrentTab == Child) CurrentTab = nullptr;
    delete removeChild(Child);
}
CATCH_FRAME()

void TConsoleTabBar::swapChildren(TComponent* Child1, TComponent* Child2) try {
    TParentComponent::swapChildren(Child1, Child2);
    NeedsUpdate = true;
}
CATCH_FRAME()

bool TConsoleTabBar::isChild(const TComponent* Child) const {
    return TParentComponent::isChild(Child) || LeftStore->isChild(Child) || RightStore->isChild(Child);
}

// ---- TConsoleTabBar: selection ----

void TConsoleTabBar::selectTab(TConsoleTab* Tab) try {
    CHECK_TEXT(Tab != nullptr, "Tab!=NULL");
    TParentComponent* Container = getComposite(Tab);
    CHECK_TEXT(Container != nullptr, "Container!=NULL");
    NeedsUpdate = true;
    if (CurrentTab != nullptr) CurrentTab->setActive(false);
    Tab->setActive(true);
    CurrentTab = Tab;
    bringIntoView(Tab);
}
CATCH_FRAME()

void TConsoleTabBar::bringIntoView(TConsoleTab* Tab) try {
    if (TParentComponent::isChild(Tab)) return;
    TComponent* Last = getLastChild();
    getComposite(Tab)->removeChild(Tab);
    TParentComponent::appendChild(Tab);
    if (Last != nullptr) TParentComponent::swapChildren(Last, Tab);
    rearrangeTabs(nullptr);
    NeedsUpdate = true;
}
CATCH_FRAME()

void TConsoleTabBar::storeOpenChannels() try {
    ClearOpenChannels();
    for (const TParentComponent* List :
         {LeftStore.get(), static_cast<TParentComponent*>(this), RightStore.get()})
        for (TComponent* Tab = List->FirstChild; Tab != nullptr; Tab = Tab->Next) {
            TTextBuffer* Buffer = AsTab(Tab)->getTextBuffer();
            if (Buffer->getChannelID() != -1 && !Buffer->isPrivateChannel())
                AddOpenChannel(Buffer->getChannelID());
        }
}
CATCH_FRAME()

// ---- TConsoleTabBar: layout ----

void TConsoleTabBar::setSize(int32_t _Width, int32_t _Height) try {
    TParentComponent::setSize(_Width, _Height);
    rearrangeTabs(nullptr);
    NeedsUpdate = true;
}
CATCH_FRAME(_Width, _Height)

void TConsoleTabBar::arrange() try {
    TParentComponent::arrange();
    LeftStore->arrange();
    RightStore->arrange();
    rearrangeTabs(nullptr);
}
CATCH_FRAME()

void TConsoleTabBar::swapWithNeighbours(TConsoleTab* Dragged) {
    TComponent *Previous = nullptr, *Search = FirstChild;
    while (Search != nullptr && Search != Dragged) {
        Previous = Search;
        Search = Search->Next;
    }
    CHECK_TEXT(Search != nullptr, "Search!=NULL");
    TComponent* Following = Dragged->Next;
    if (Previous != nullptr && Dragged->X < Previous->X + Previous->getWidth() / 2)
        swapChildren(Previous, Dragged);
    if (Following != nullptr && Dragged->X + Dragged->getWidth() > Following->X + Following->getWidth() / 2)
        swapChildren(Dragged, Following);
}

void TConsoleTabBar::rearrangeTabs(TConsoleTab* Dragged) try {
    if (Rearranging) return;
    Rearranging = true;
    DraggedTab = Dragged;
    if (Dragged != nullptr) swapWithNeighbours(Dragged);
    int32_t x = 0;
    // Tabs pushed off the right keep their order at the head of the right store.
    TComponent* PushedLast = nullptr;
    for (TComponent *Tab = FirstChild, *Next; Tab != nullptr; Tab = Next) {
        Next = Tab->Next;
        if (Tab != DraggedTab) Tab->setPosition(x, Tab->Y);
        x += Tab->getWidth();
        if (x > Width) {
            TParentComponent::removeChild(Tab);
            RightStore->insertChild(PushedLast, Tab);
            PushedLast = Tab;
        }
    }
    for (TComponent *Tab = RightStore->FirstChild, *Next; Tab != nullptr; Tab = Next) {
        Next = Tab->Next;
        if (x + Tab->getWidth() <= Width) {
            RightStore->removeChild(Tab);
            TParentComponent::appendChild(Tab);
            Tab->setPosition(x, Tab->Y);
        }
        x += Tab->getWidth();
    }
    if (x == 0 && LeftStore->FirstChild != nullptr) {
        TComponent* Tab = LeftStore->removeChild(LeftStore->getLastChild());
        TParentComponent::addChild(Tab);
        Tab->setPosition(0, Tab->Y);
    }
    Rearranging = false;
} catch (...) {
    Rearranging = false;
    RethrowInFrame(EBRUN_SOURCE_NAME, __LINE__);
}

// ---- TConsoleTabBar: scrolling, drawing and help ----

void TConsoleTabBar::scrollRight() {
    if (LeftStore->FirstChild != nullptr) addChild(LeftStore->removeChild(LeftStore->getLastChild()));
}

bool TConsoleTabBar::scrollLeft() {
    if (RightStore->FirstChild == nullptr || FirstChild == nullptr) return false;
    LeftStore->appendChild(TParentComponent::removeChild(FirstChild));
    NeedsUpdate = true;
    rearrangeTabs(nullptr);
    return true;
}

void TConsoleTabBar::handleEvent(int32_t Identifier) try {
    switch (static_cast<TABBAR_COMMAND>(Identifier)) {
    case TABBAR_SCROLL_RIGHT:
        scrollRight();
        break;
    case TABBAR_SCROLL_LEFT:
        scrollLeft();
        break;
    case TABBAR_SCROLL_RIGHT_ALL:
        while (LeftStore->FirstChild != nullptr)
            scrollRight();
        break;
    case TABBAR_SCROLL_LEFT_ALL:
        while (RightStore->FirstChild != nullptr && scrollLeft()) {
        }
        break;
    }
    rearrangeTabs(nullptr);
}
CATCH_FRAME(Identifier)

void TConsoleTabBar::draw(int32_t Surface, int32_t X, int32_t Y) try {
    drawDrawingList(Surface, X, Y);
    for (TComponent* Tab = FirstChild; Tab != nullptr; Tab = Tab->Next)
        if (Tab != DraggedTab) Tab->draw(Surface, X + Tab->X, Y + Tab->Y);
    if (DraggedTab != nullptr && TParentComponent::isChild(DraggedTab))
        DraggedTab->draw(Surface, X + DraggedTab->X, Y + DraggedTab->Y);
}
CATCH_FRAME(X, Y)

bool TConsoleTabBar::getHelpContext(int32_t, int32_t) try {
    SetHelpContext(HELP_CONSOLE_CHANNELS);
    if (Parent != nullptr) SetHelpExtent(Parent->getWidth(), Parent->getHeight());
    MoveHelpOrigin(-X, -Y);
    return true;
}
CATCH_FRAME()
