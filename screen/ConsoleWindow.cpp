// The console window: its frame and controls, opening and closing tabs, the channels re-joined at start and
// remembered at the end, and saving a channel to a file.
#include "screen/ConsoleWindow.h"
#include "foundation/Exception.h"
#include "foundation/sysinc.h"
#include "graphics/graphics.h"
#include "gui/DialogElements.h"
#include "gui/DialogElementsEdit.h"
#include "gui/GUIServices.h"
#include "gui/KeyCodes.h"
#include "gui/SkinProperties.h"
#include "network/CommunicationSend.h"
#include "screen/Help.h"
#include "screen/MessageTexts.h"
#include "state/Creatures.h"
#include "state/CreaturesPlayer.h"
#include "state/Events.h"
#include "state/Preferences.h"
#include "state/Status.h"
#include "state/Talk.h"
#include "state/TalkBuffer.h"
#include "state/TalkFilter.h"
#include "state/TalkRouting.h"

#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

namespace {

constexpr int32_t INPUT_LENGTH = 255;
constexpr int32_t FOCUS_DELAY = 50; // ticks
// Ctrl plus an upper-case letter, and what it fires.
constexpr int32_t SHORTCUTS[][2] = {
    {KEY_CTRL | 'I', CONSOLE_IGNORE},    {KEY_CTRL | 'O', CONSOLE_OPEN_CHANNEL},
    {KEY_CTRL | 'E', CONSOLE_CLOSE_TAB}, {KEY_CTRL | 'M', CONSOLE_FLIP_SERVER_MESSAGES},
    {KEY_CTRL | 'K', CONSOLE_HOTKEYS},   {KEY_CTRL | 'D', CONSOLE_DEFAULT_TAB}};

// A caption comes from the server: anything that could leave the working directory becomes '_'.
std::string ChannelFileName(const char* Caption) {
    std::string Name = Caption;
    for (char& c : Name)
        if (c == '/' || c == '\\' || c == ':' || static_cast<unsigned char>(c) < 32) c = '_';
    if (Name.empty() || Name[0] == '.') Name.insert(Name.begin(), '_');
    return Name + ".txt";
}

} // namespace

// ---- construction ----

TConsoleWindow::TConsoleWindow() : TalkMode(TALK_SAY) {
    allocateDrawingList(9);
    History = std::make_unique<TTextBuffer>(0);
    Input = new TEditField(INPUT_LENGTH, false);
    TabBar = new TConsoleTabBar;
    CurrentConsole = new ConsoleTextWindow;
    // Each state shows its talk mode's face; a click chooses the next mode: say, yell, whisper.
    const TButtonState States[3] = {{SKIN_SAY, SKIN_SAY + 1, {this, CONSOLE_YELL}},
                                    {SKIN_YELL, SKIN_YELL + 1, {this, CONSOLE_WHISPER}},
                                    {SKIN_WHISPER, SKIN_WHISPER + 1, {this, CONSOLE_SAY}}};
    TalkModeButton = new TMultiStateButton(0, 0, MessageTexts[TEXT_TIP_TALK_MODE], 3, States);
    CloseButton = new TButton(0, 0, SKIN_CLOSE_CHANNEL, SKIN_CLOSE_CHANNEL + 1, this, CONSOLE_CLOSE_TAB,
                              MessageTexts[TEXT_TIP_CLOSE_CHANNEL], false);
    ServerMessagesButton = new TToggleButton(
        0, 0, SKIN_SERVER_MESSAGES, SKIN_SERVER_MESSAGES + 1, this, CONSOLE_SERVER_MESSAGES,
        MessageTexts[TEXT_TIP_SHOW_SERVER_MESSAGES], MessageTexts[TEXT_TIP_HIDE_SERVER_MESSAGES], false);
    IgnoreButton = new TButton(0, 0, SKIN_IGNORE, SKIN_IGNORE_PRESSED, this, CONSOLE_IGNORE,
                               MessageTexts[TEXT_TIP_IGNORE], false);
    OpenChannelButton = new TButton(0, 0, SKIN_OPEN_CHANNEL, SKIN_OPEN_CHANNEL + 1, this,
                                    CONSOLE_OPEN_CHANNEL, MessageTexts[TEXT_TIP_OPEN_CHANNEL], false);
    MoveRightButton = new TButton(0, 0, 203, 204, TabBar, TABBAR_SCROLL_RIGHT,
                                  MessageTexts[TEXT_TIP_CHANNELS_RIGHT], false);
    MoveLeftButton =
        new TButton(0, 0, 205, 206, TabBar, TABBAR_SCROLL_LEFT, MessageTexts[TEXT_TIP_CHANNELS_LEFT], false);
    for (TComponent* Child :
         std::initializer_list<TComponent*>{Input, TabBar, CurrentConsole, TalkModeButton, IgnoreButton,
                                            OpenChannelButton, MoveRightButton, MoveLeftButton})
        appendChild(Child);
    for (const auto& Shortcut : SHORTCUTS)
        SetShortcut(Shortcut[0], this, Shortcut[1]);
    FocusAfter = GetTickCounter() + FOCUS_DELAY;
    std::unique_ptr<int32_t[]> Channels;
    const int32_t Count = GetOpenChannels(Channels);
    for (int32_t i = 0; i < Count; i++)
        SendJoinChannel(Channels[i]);
}

TConsoleWindow::~TConsoleWindow() {
    try {
        TabBar->storeOpenChannels();
        SetConsoleHeight(Height);
    } catch (...) {
        // The options keep their old values; the console ends all the same.
    }
    History.reset();
    for (TComponent* Control : std::initializer_list<TComponent*>{
             TalkModeButton, CloseButton, ServerMessagesButton, MoveRightButton, MoveLeftButton})
        if (!TParentComponent::isChild(Control)) delete Control;
    for (const auto& Shortcut : SHORTCUTS)
        RemoveShortcut(Shortcut[0]);
}

// ---- layout and drawing ----

int32_t TConsoleWindow::getMinimumHeight() const { return SkinProperties.Console.MinimumHeight; }

void TConsoleWindow::setPresent(TComponent* Control, bool Present, int32_t X, int32_t Y) {
    const bool Child = TParentComponent::isChild(Control);
    if (Present && !Child) appendChild(Control);
    if (!Present && Child) removeChild(Control);
    if (Present && Width > 0 && Height > 0) moveChild(Control, X, Y);
}

void TConsoleWindow::setSize(int32_t _Width, int32_t _Height) try {
    TComponent::setSize(_Width, _Height);
    if (Width > 0 && Height > 0) {
        const auto& C = SkinProperties.Console;
        placeChild(TabBar, C.TabBar.x, C.TabBar.y, C.TabBar.width, C.TabBar.height);
        placeChild(Input, C.Input.x, C.Input.y, C.Input.width, C.Input.height);
        placeChild(CurrentConsole, C.Text.x, C.Text.y, C.Text.width, C.Text.height);
        const std::pair<TComponent*, TSkinPoint> Controls[] = {{TalkModeButton, C.TalkModeButton},
                                                               {CloseButton, C.CloseButton},
                                                               {ServerMessagesButton, C.ServerMessagesButton},
                                                               {IgnoreButton, C.IgnoreButton},
                                                               {OpenChannelButton, C.OpenChannelButton},
                                                               {MoveRightButton, C.MoveRightButton},
                                                               {MoveLeftButton, C.MoveLeftButton}};
        for (const auto& [Control, At] : Controls)
            if (TParentComponent::isChild(Control)) moveChild(Control, At.x, At.y);
        CurrentConsole->arrange();
    }
    arrange();
}
CATCH_FRAME(_Width, _Height)

void TConsoleWindow::arrange() try {
    const int32_t W = Width, H = Height;
    const TSkin &TL = GetSkin(177), &TR = GetSkin(178), &BL = GetSkin(179), &BR = GetSkin(180);
    const TSkin &Left = GetSkin(181), &Right = GetSkin(182), &Top = GetSkin(183), &Bottom = GetSkin(184);
    const TSkin& Back = GetSkin(185);
    TSkinPiece* P = DrawingList.get();
    P[0] = {177, 0, 0, 0, 0, 0, 0};
    P[1] = {183, TL.Width, 0, W - TR.Width - TL.Width, Top.Height, 0, 0};
    P[2] = {178, W - TR.Width, 0, 0, 0, 0, 0};
    P[3] = {181, 0, TL.Height, Left.Width, H - BL.Height - TL.Height, 0, 0};
    P[4] = {182, W - Right.Width, TR.Height, Right.Width, H - BR.Height - TR.Height, 0, 0};
    P[5] = {179, 0, H - BL.Height, 0, 0, 0, 0};
    P[6] = {184, BL.Width, H - Bottom.Height, W - BR.Width - BL.Width, Bottom.Height, 0, 0};
    P[7] = {180, W - BR.Width, H - BR.Height, 0, 0, 0, 0};
    // The background keeps its place on the screen when the console's height changes.
    P[8] = {185,
            Left.Width,
            Top.Height,
            W - Right.Width - Left.Width,
            H - Bottom.Height - Top.Height,
            0,
            Back.Height > 0 ? ((this->Y % Back.Height) + Back.Height) % Back.Height : 0};
}
CATCH_FRAME()

void TConsoleWindow::draw(int32_t Surface, int32_t X, int32_t Y) try {
    if (GetConsoleChanged()) {
        TabBar->arrange();
        CHECK_TEXT(CurrentConsole != nullptr, "CurrentConsole!=NULL");
        TTextBuffer* TextBuffer = CurrentConsole->getTextBuffer();
        CHECK_TEXT(TextBuffer != nullptr, "TextBuffer!=NULL");
        CurrentConsole->arrange();
        activateInput(TextBuffer->isOpen());
        Input->setDisabled(!TextBuffer->isOpen());
    }
    IgnoreButton->setSkins(IsIgnoreTimerRunning() ? SKIN_IGNORE_TIMER : SKIN_IGNORE, SKIN_IGNORE_PRESSED);
    if (TabBar->NeedsUpdate) {
        TabBar->NeedsUpdate = false;
        updateControls();
    }
    TParentComponent::draw(Surface, X, Y);
}
CATCH_FRAME(X, Y)

void TConsoleWindow::updateControls() try {
    TTextBuffer* TextBuffer = CurrentConsole->getTextBuffer();
    CHECK_TEXT(TextBuffer != nullptr, "TextBuffer!=NULL");
    const auto& C = SkinProperties.Console;
    setPresent(TalkModeButton, false, 0, 0);
    setPresent(CloseButton, false, 0, 0);
    setPresent(ServerMessagesButton, false, 0, 0);
    setPresent(MoveRightButton, TabBar->LeftStore->FirstChild != nullptr, C.MoveRightButton.x,
               C.MoveRightButton.y);
    setPresent(MoveLeftButton, TabBar->RightStore->FirstChild != nullptr, C.MoveLeftButton.x,
               C.MoveLeftButton.y);
    if (!TextBuffer->isDefault()) {
        setPresent(CloseButton, true, C.CloseButton.x, C.CloseButton.y);
        setPresent(ServerMessagesButton, true, C.ServerMessagesButton.x, C.ServerMessagesButton.y);
        ServerMessagesButton->State = TextBuffer->ShowServerMessages;
    }
    const bool TalkButton = TextBuffer->usesSpeechModes();
    if (TalkButton) setPresent(TalkModeButton, true, C.TalkModeButton.x, C.TalkModeButton.y);
    const TTextFormat& Format = TalkButton ? C.TalkFormat : C.NoTalkFormat;
    Input->setFormat(Format.Font, Format.Red, Format.Green, Format.Blue, Format.Alignment);
    Input->setDisabled(!TextBuffer->isOpen());
    activateInput(TextBuffer->isOpen());
}
CATCH_FRAME()

bool TConsoleWindow::leftButtonDown(int32_t X, int32_t Y, uint32_t Flags) try {
    CurrentConsole->View->clearSelection();
    Input->SelectionLength = 0;
    return TParentComponent::leftButtonDown(X, Y, Flags);
}
CATCH_FRAME(X, Y)

bool TConsoleWindow::getHelpContext(int32_t X, int32_t Y) try {
    if (TParentComponent::getHelpContext(X, Y)) return true;
    SetHelpContext(HELP_CONSOLE);
    SetHelpOrigin(0, 0);
    SetHelpExtent(Width, Height);
    return true;
}
CATCH_FRAME(X, Y)

// ---- tabs ----

void TConsoleWindow::showCurrentTab() {
    TConsoleTab* CurrentTab = TabBar->getCurrentTab();
    CHECK_TEXT(CurrentTab != nullptr, "CurrentTab!=NULL");
    CurrentConsole->View->setTextBuffer(CurrentTab->getTextBuffer());
    CurrentConsole->ScrollToEnd = true;
    CurrentConsole->arrange();
    updateControls();
    setSize(Width, Height);
    CurrentConsole->arrange();
}

void TConsoleWindow::openDefaultTab(TTextBuffer* TextBuffer, const char* Caption) try {
    DefaultTab = new TConsoleTab(Caption, TextBuffer, this, CONSOLE_SHOW_TAB);
    TabBar->addChild(DefaultTab);
    TabBar->selectTab(DefaultTab);
    showCurrentTab();
}
CATCH_FRAME()

void TConsoleWindow::openTab(TTextBuffer* TextBuffer, const char* Caption) try {
    CHECK_TEXT(TextBuffer != nullptr, "TextBuffer!=NULL");
    TConsoleTab* NewTab = TabBar->findTab(TextBuffer);
    if (NewTab == nullptr) {
        NewTab = new TConsoleTab(Caption, TextBuffer, this, CONSOLE_SHOW_TAB);
        TabBar->appendChild(NewTab);
        if (TextBuffer->getChannelID() == HELP_CHANNEL_ID) {
            AddToTextBuffer(TextBuffer, 0, MessageTexts[TEXT_HELP_CHANNEL_WELCOME], TALK_ADMIN_MESSAGE,
                            nullptr, 0);
            TextBuffer->clearHighlight();
        }
        CHECK_TEXT(NewTab != nullptr, "NewTab!=NULL");
    }
    TextBuffer->setOpen(true);
    if (GetTickCounter() >= FocusAfter) {
        TabBar->selectTab(NewTab);
        showCurrentTab();
    } else if (TabBar->getCurrentTab() != nullptr) {
        NewTab->setActive(false);
    }
}
CATCH_FRAME()

TTextBuffer* TConsoleWindow::openChannel(int32_t ReceiveMode, int32_t SendMode, const char* Name,
                                         int32_t ChannelID, const char* Caption) try {
    TTextBuffer* TextBuffer = CreateTextBuffer(ReceiveMode, SendMode, Name, ChannelID);
    if (TextBuffer == nullptr) TextBuffer = FindTextBuffer(ReceiveMode, Name, ChannelID);
    CHECK_TEXT(TextBuffer != nullptr, "TextBuffer!=NULL");
    openTab(TextBuffer, Caption);
    return TextBuffer;
}
CATCH_FRAME(ReceiveMode, ChannelID)

void TConsoleWindow::openRequestTab(const char* Question) try {
    if (TTextBuffer* Pending = FindTextBuffer(TALK_GAMEMASTER_ANSWER, nullptr, -1); Pending != nullptr) {
        TConsoleTab* NewTab = TabBar->findTab(Pending);
        CHECK_TEXT(NewTab != nullptr, "NewTab!=NULL");
        TabBar->selectTab(NewTab);
        showCurrentTab();
        SetStatusMessage(MessageTexts[TEXT_REQUEST_PENDING], false);
        return;
    }
    CHECK_TEXT(Question != nullptr, "Question!=NULL");
    CHECK_TEXT(std::strlen(Question) > 0, "strlen(Question)>0");
    openChannel(TALK_GAMEMASTER_ANSWER, TALK_PLAYER_ANSWER, nullptr, -1,
                MessageTexts[TEXT_REPORT_RULE_VIOLATION_CAPTION]);
    TTextBuffer* TextBuffer = FindTextBuffer(TALK_GAMEMASTER_ANSWER, nullptr, -1);
    CHECK_TEXT(TextBuffer != nullptr, "TextBuffer!=NULL");
    const TCreature* Player = GetCreature(GetPlayerID());
    CHECK_TEXT(Player != nullptr, "GetCreature(GetPlayerID())");
    AddToTextBuffer(TextBuffer, 0, Question, TALK_PLAYER_ANSWER, Player->Name, 0);
    AddToTextBuffer(TextBuffer, 0, MessageTexts[TEXT_WAIT_FOR_GAMEMASTER], TALK_ADMIN_MESSAGE, nullptr, 0);
    SendTalk(TALK_GAMEMASTER_REQUEST, Question);
    TextBuffer->setOpen(false);
}
CATCH_FRAME()

void TConsoleWindow::closeCurrentTab() try {
    CHECK_TEXT(DefaultTab != nullptr, "DefaultTab!=NULL");
    TConsoleTab* Closed = TabBar->getCurrentTab();
    if (Closed == nullptr || Closed == DefaultTab) return;
    TComponent* Neighbour = nullptr;
    if (Closed->getParent() == TabBar) {
        Neighbour = Closed->getNext();
        if (Neighbour == nullptr) Neighbour = Closed->getPrevious();
    }
    Closed->getTextBuffer()->setClosedByUser(true);
    TabBar->removeChild(Closed);
    if (Neighbour == nullptr) Neighbour = TabBar->getFirstChild();
    CHECK_TEXT(Neighbour != nullptr, "NewTab!=NULL");
    TabBar->selectTab(static_cast<TConsoleTab*>(Neighbour));
    delete Closed;
    showCurrentTab();
}
CATCH_FRAME()

void TConsoleWindow::selectNextTab() {
    TConsoleTab* Current = TabBar->getCurrentTab();
    auto NextOf = [&] {
        return Current != nullptr && Current->getParent() == TabBar ? Current->getNext() : nullptr;
    };
    if (NextOf() == nullptr) TabBar->handleEvent(TABBAR_SCROLL_LEFT);
    if (TComponent* Next = NextOf(); Next != nullptr) {
        TabBar->selectTab(static_cast<TConsoleTab*>(Next));
    } else {
        TabBar->handleEvent(TABBAR_SCROLL_RIGHT_ALL);
        if (TabBar->getFirstChild() != nullptr)
            TabBar->selectTab(static_cast<TConsoleTab*>(TabBar->getFirstChild()));
    }
}

void TConsoleWindow::selectPreviousTab() {
    TConsoleTab* Current = TabBar->getCurrentTab();
    auto PreviousOf = [&] {
        return Current != nullptr && Current->getParent() == TabBar ? Current->getPrevious() : nullptr;
    };
    if (PreviousOf() == nullptr) TabBar->handleEvent(TABBAR_SCROLL_RIGHT);
    if (TComponent* Previous = PreviousOf(); Previous != nullptr) {
        TabBar->selectTab(static_cast<TConsoleTab*>(Previous));
    } else {
        TabBar->handleEvent(TABBAR_SCROLL_LEFT_ALL);
        if (TabBar->getLastChild() != nullptr)
            TabBar->selectTab(static_cast<TConsoleTab*>(TabBar->getLastChild()));
    }
}

void TConsoleWindow::handleEvent(int32_t Event) try {
    switch (static_cast<CONSOLE_COMMAND>(Event)) {
    case CONSOLE_SHOW_TAB:
        return showCurrentTab();
    case CONSOLE_CLOSE_TAB:
        closeCurrentTab();
        return showCurrentTab();
    case CONSOLE_FLIP_SERVER_MESSAGES:
        ServerMessagesButton->State = !ServerMessagesButton->State;
        [[fallthrough]];
    case CONSOLE_SERVER_MESSAGES:
        getCurrentTextBuffer()->ShowServerMessages = ServerMessagesButton->State;
        return;
    case CONSOLE_IGNORE:
        AddMessage(MESSAGE_IGNORELIST, 0, 0);
        return;
    case CONSOLE_OPEN_CHANNEL:
        SendGetChannels();
        return;
    case CONSOLE_SAY:
        TalkMode = TALK_SAY;
        return;
    case CONSOLE_WHISPER:
        TalkMode = TALK_WHISPER;
        return;
    case CONSOLE_YELL:
        TalkMode = TALK_YELL;
        return;
    case CONSOLE_DEFAULT_TAB:
        TabBar->selectTab(DefaultTab);
        return showCurrentTab();
    case CONSOLE_NEXT_TAB:
        selectNextTab();
        return showCurrentTab();
    case CONSOLE_PREVIOUS_TAB:
        selectPreviousTab();
        return showCurrentTab();
    case CONSOLE_HOTKEYS:
        AddMessage(MESSAGE_HOTKEYOPTIONS, 0, 0);
        return;
    }
    CHECK_TEXT(false, "unknown event", Event);
}
CATCH_FRAME(Event)

// ---- services for the main window and the channel menu ----

void TConsoleWindow::activateInput(bool Active) try {
    TTextBuffer* TextBuffer = CurrentConsole->getTextBuffer();
    CHECK_TEXT(TextBuffer != nullptr, "TextBuffer!=NULL");
    CHECK_TEXT(Input != nullptr, "Input!=NULL");
    if (!TextBuffer->isOpen()) Active = false;
    if (!Active && GetActionState() == ACTIONSTATE_CONTEXTMENU) return;
    Input->setFocus(Active);
}
CATCH_FRAME()

TTextBuffer* TConsoleWindow::getCurrentTextBuffer() try {
    CHECK_TEXT(CurrentConsole->getTextBuffer() != nullptr, "CurrentConsole->getTextBuffer()!=NULL");
    return CurrentConsole->getTextBuffer();
}
CATCH_FRAME()

bool TConsoleWindow::getServerMessages() try {
    CHECK_TEXT(CurrentConsole->getTextBuffer() != nullptr, "CurrentConsole->getTextBuffer()!=NULL");
    CHECK_TEXT(CurrentConsole->getTextBuffer()->isDefault() == false,
               "CurrentConsole->getTextBuffer()->isDefault()==false");
    return ServerMessagesButton->State;
}
CATCH_FRAME()

void TConsoleWindow::setServerMessages(bool On) try {
    CHECK_TEXT(CurrentConsole->getTextBuffer() != nullptr, "CurrentConsole->getTextBuffer()!=NULL");
    CHECK_TEXT(CurrentConsole->getTextBuffer()->isDefault() == false,
               "CurrentConsole->getTextBuffer()->isDefault()==false");
    ServerMessagesButton->State = On;
    handleEvent(CONSOLE_SERVER_MESSAGES);
}
CATCH_FRAME()

bool TConsoleWindow::saveCurrentChannel() try {
    TConsoleTab* CurrentTab = TabBar->getCurrentTab();
    CHECK_TEXT(CurrentTab != nullptr, "CurrentTab!=NULL");
    CHECK_TEXT(CurrentTab->getCaption() != nullptr, "CurrentTab->getCaption()!=NULL");
    const std::string FileName = ChannelFileName(CurrentTab->getCaption());
    std::FILE* File = OpenFile(FileName.c_str(), "a");
    if (File == nullptr) return false;
    const std::time_t Now = std::time(nullptr);
    std::fprintf(File, "\nChannel saved at %s", std::ctime(&Now));
    CurrentTab->getTextBuffer()->save(File);
    const bool Written = std::ferror(File) == 0;
    if (std::fclose(File) != 0 || !Written) return false;
    char Message[STATUSMESSAGE_LENGTH];
    std::snprintf(Message, sizeof(Message), "Channel appended to %s", FileName.c_str());
    SetStatusMessage(Message, false);
    return true;
}
CATCH_FRAME()

TChatTextView* TConsoleWindow::getTextView() { return CurrentConsole->View; }
