// The console-tab, request-queue, edit-field, automap and skills menus.
#include "foundation/Exception.h"
#include "foundation/sysinc.h"
#include "gui/DialogElementsEdit.h"
#include "network/CommunicationSend.h"
#include "screen/ContextMenusPlayer.h"
#include "state/Events.h"
#include "state/Preferences.h"
#include "state/StatusClipboard.h"
#include "state/Talk.h"
#include "state/TalkBuffer.h"
#include "state/TalkFilter.h"

#include <cstdio>

// ---- TChannelMenu ----

TChannelMenu::TChannelMenu(TChatConsole* ConsoleWindow, int32_t X, int32_t Y, int32_t ParentWidth,
                           int32_t ParentHeight) try
    : _ConsoleWindow(ConsoleWindow) {
    CHECK_TEXT(_ConsoleWindow != nullptr, "_ConsoleWindow!=NULL");
    TTextBuffer* TextBuffer = _ConsoleWindow->getCurrentTextBuffer();
    CHECK_TEXT(TextBuffer != nullptr, "TextBuffer!=NULL");
    if (!TextBuffer->isDefault()) {
        if (TextBuffer->isOwnChannel() && TextBuffer->isPrivateChannel()) {
            AddEntry(MENU_INVITE_TO_CHANNEL, "Invite player");
            AddEntry(MENU_EXCLUDE_FROM_CHANNEL, "Exclude player");
            SeparatorPending = true;
        }
        AddEntry(MENU_CLOSE_CHANNEL, "Close");
        _ShowServerMessages = !_ConsoleWindow->getServerMessages();
        AddEntry(MENU_SERVER_MESSAGES, _ShowServerMessages ? "Show server messages" : "Hide server messages");
        SeparatorPending = true;
    }
    AddEntry(MENU_SAVE_CHANNEL, "Save Window");
    if (!TextBuffer->isRequestQueue()) AddEntry(MENU_CLEAR_CHANNEL, "Clear Window");
    layout(X, Y, ParentWidth, ParentHeight);
}
CATCH_FRAME(X, Y)

void TChannelMenu::handleEvent(int32_t Event) try {
    switch (Event) {
    case MENU_CLOSE_CHANNEL:
        _ConsoleWindow->closeCurrentTab();
        break;
    case MENU_INVITE_TO_CHANNEL:
        AddMessage(MESSAGE_INVITE, 0, 0);
        break;
    case MENU_EXCLUDE_FROM_CHANNEL:
        AddMessage(MESSAGE_EXCLUDE, 0, 0);
        break;
    case MENU_SERVER_MESSAGES:
        _ConsoleWindow->setServerMessages(_ShowServerMessages);
        break;
    case MENU_SAVE_CHANNEL:
        _ConsoleWindow->saveCurrentChannel();
        break;
    case MENU_CLEAR_CHANNEL: {
        TTextBuffer* TextBuffer = _ConsoleWindow->getCurrentTextBuffer();
        CHECK_TEXT(TextBuffer != nullptr, "TextBuffer!=NULL");
        ClearTextBuffer(TextBuffer);
        break;
    }
    default:
        UnknownMenuEvent(Event);
    }
}
CATCH_FRAME(Event)

// ---- TRequestMenu ----

namespace {

// The request line under the pointer when it has a speaker, else NULL.
const TTalkLine* RequestLine(TChatConsole& Console, int32_t LineNumber) {
    TChatTextView* View = Console.getTextView();
    const TTalkLine* Line = View != nullptr ? View->getTalkLine(LineNumber) : nullptr;
    return Line != nullptr && Line->_Addressee[0] != 0 ? Line : nullptr;
}

} // namespace

TRequestMenu::TRequestMenu(TChatConsole* ConsoleWindow, int32_t LineNumber, int32_t X, int32_t Y,
                           int32_t ParentWidth, int32_t ParentHeight) try
    : _ConsoleWindow(ConsoleWindow), _LineNumber(LineNumber) {
    CHECK_TEXT(_ConsoleWindow != nullptr, "_ConsoleWindow!=NULL");
    if (const TTalkLine* Line = RequestLine(*_ConsoleWindow, _LineNumber); Line != nullptr) {
        AddEntry(MENU_PROCESS_REQUEST, TMenuText("Process %s", Line->_Addressee).Text);
        AddEntry(MENU_REMOVE_REQUEST, TMenuText("Remove %s", Line->_Addressee).Text);
        SeparatorPending = true;
        AddEntry(MENU_COPY_NAME, "Copy Name");
        AddEntry(MENU_COPY_MESSAGE, "Copy Message");
    }
    layout(X, Y, ParentWidth, ParentHeight);
}
CATCH_FRAME(X, Y)

void TRequestMenu::handleEvent(int32_t Event) try {
    const TTalkLine* Line = RequestLine(*_ConsoleWindow, _LineNumber);
    if (Line == nullptr) return;
    const char* Speaker = Line->_Addressee;
    switch (Event) {
    case MENU_PROCESS_REQUEST: {
        const TMenuText Caption("%s's Report", Speaker);
        _ConsoleWindow->openChannel(TALK_PLAYER_ANSWER, TALK_GAMEMASTER_ANSWER, Speaker, -1, Caption.Text);
        TTextBuffer* TextBuffer = FindTextBuffer(TALK_PLAYER_ANSWER, Speaker, -1);
        CHECK_TEXT(TextBuffer != nullptr, "TextBuffer!=NULL");
        TextBuffer->clear();
        AddToTextBuffer(TextBuffer, Line->_StatementID, Line->MessageText, TALK_PLAYER_ANSWER, Speaker, 0);
        TextBuffer->setOpen(true);
        SendProcessRequest(Speaker);
        break;
    }
    case MENU_REMOVE_REQUEST:
        SendRemoveRequest(Speaker);
        break;
    case MENU_COPY_NAME:
        CopyTextToClipboard(Speaker);
        break;
    case MENU_COPY_MESSAGE:
        CopyTextToClipboard(Line->getText());
        break;
    }
}
CATCH_FRAME(Event)

// ---- TEditMenu ----

TEditMenu::TEditMenu(TEditField* Edit, int32_t X, int32_t Y, int32_t ParentWidth, int32_t ParentHeight) try
    : _Edit(Edit) {
    CHECK_TEXT(_Edit != nullptr, "_Edit!=NULL");
    const bool Selection = _Edit->hasSelection(), ReadOnly = _Edit->ReadOnly;
    if (Selection) {
        if (!ReadOnly) AddEntry(MENU_CUT, "Cut");
        AddEntry(MENU_COPY, "Copy");
    }
    if (!IsClipboardEmpty() && !ReadOnly) AddEntry(MENU_PASTE, "Paste");
    SeparatorPending = true;
    if (Selection && !ReadOnly) {
        AddEntry(MENU_DELETE, "Delete");
        SeparatorPending = true;
    }
    AddEntry(MENU_SELECT_ALL, "Select All");
    layout(X, Y, ParentWidth, ParentHeight);
}
CATCH_FRAME(X, Y)

void TEditMenu::handleEvent(int32_t Event) try {
    switch (Event) {
    case MENU_COPY:
        _Edit->handleEvent(EDIT_COPY);
        break;
    case MENU_CUT:
        _Edit->handleEvent(EDIT_CUT);
        break;
    case MENU_PASTE:
        _Edit->handleEvent(EDIT_PASTE);
        break;
    case MENU_DELETE:
        _Edit->handleEvent(EDIT_DELETE);
        break;
    case MENU_SELECT_ALL:
        _Edit->handleEvent(EDIT_SELECT_ALL);
        break;
    default:
        UnknownMenuEvent(Event);
    }
}
CATCH_FRAME(Event)

// ---- TMarkMenu ----

TMarkMenu::TMarkMenu(TMarkMenuData* Data, int32_t X, int32_t Y, int32_t ParentWidth,
                     int32_t ParentHeight) try {
    CHECK_TEXT(Data != nullptr, "_Data!=NULL");
    _Data = *Data; // the block stays the event's
    if (_Data.Mark.x != 0 || _Data.Mark.y != 0) {
        AddEntry(MENU_EDIT_MARK, "Edit Mark");
        AddEntry(MENU_DELETE_MARK, "Delete Mark");
    } else {
        AddEntry(MENU_SET_MARK, "Set Mark");
    }
    layout(X, Y, ParentWidth, ParentHeight);
}
CATCH_FRAME(X, Y)

void TMarkMenu::handleEvent(int32_t Event) try {
    const TCoordinate Field{_Data.x, _Data.y, _Data.z};
    switch (Event) {
    case MENU_SET_MARK:
    case MENU_EDIT_MARK: {
        auto* Position = static_cast<TCoordinate*>(NewMessageBlock(sizeof(TCoordinate)));
        *Position = Field;
        TMapMark* Mark = nullptr;
        if (Event == MENU_EDIT_MARK) {
            Mark = static_cast<TMapMark*>(NewMessageBlock(sizeof(TMapMark)));
            *Mark = _Data.Mark;
        }
        AddMessage(Event == MENU_SET_MARK ? MESSAGE_NEWMAPMARK : MESSAGE_EDITMAPMARK,
                   MessageParameter(Position), MessageParameter(Mark));
        break;
    }
    case MENU_DELETE_MARK:
        DeleteMapMark(TCoordinate{_Data.Mark.x, _Data.Mark.y, _Data.z}, _Data.z);
        break;
    default:
        UnknownMenuEvent(Event);
    }
}
CATCH_FRAME(Event)

// ---- TSkillsMenu ----

namespace {

// The skill bars in menu order: event MENU_FIRST_SKILL_BAR + n is skill bar n.
constexpr const char* SKILL_NAMES[SKILLBARS] = {"Fist Fighting", "Club Fighting",     "Sword Fighting",
                                                "Axe Fighting",  "Distance Fighting", "Shielding",
                                                "Fishing"};

void AddToggle(TContextMenu& Menu, int32_t Event, bool Shown, const char* Name) {
    char Text[50];
    std::snprintf(Text, sizeof Text, "%s %s", Shown ? "Hide" : "Show", Name);
    Menu.AddEntry(Event, Text);
}

void SetAllBars(bool Shown) {
    SetLevelBar(Shown);
    SetMagLevelBar(Shown);
    for (int32_t n = 0; n < SKILLBARS; n++)
        SetSkillBar(n, Shown);
}

} // namespace

TSkillsMenuHost::~TSkillsMenuHost() {
    if (SkillsMenu != nullptr) SkillsMenu->_SkillsWindow = nullptr;
}

TSkillsMenu::TSkillsMenu(TSkillsMenuHost* SkillsWindow, int32_t X, int32_t Y, int32_t ParentWidth,
                         int32_t ParentHeight) try {
    CHECK_TEXT(SkillsWindow != nullptr, "_SkillsWindow");
    _SkillsWindow = SkillsWindow;
    _SkillsWindow->SkillsMenu = this;
    AddToggle(*this, MENU_LEVEL_BAR, GetLevelBar(), "Level");
    AddToggle(*this, MENU_MAGIC_LEVEL_BAR, GetMagLevelBar(), "Magic Level");
    for (int32_t n = 0; n < SKILLBARS; n++)
        AddToggle(*this, MENU_FIRST_SKILL_BAR + n, GetSkillBar(n), SKILL_NAMES[n]);
    addSeparator();
    AddEntry(MENU_SHOW_ALL_BARS, "Show all Skill Bars");
    AddEntry(MENU_HIDE_ALL_BARS, "Hide all Skill Bars");
    layout(X, Y, ParentWidth, ParentHeight);
}
CATCH_FRAME(X, Y)

TSkillsMenu::~TSkillsMenu() {
    if (_SkillsWindow != nullptr) _SkillsWindow->SkillsMenu = nullptr;
}

void TSkillsMenu::handleEvent(int32_t Event) try {
    if (Event == MENU_LEVEL_BAR)
        SetLevelBar(!GetLevelBar());
    else if (Event == MENU_MAGIC_LEVEL_BAR)
        SetMagLevelBar(!GetMagLevelBar());
    else if (In(Event, MENU_FIRST_SKILL_BAR, MENU_FIRST_SKILL_BAR + SKILLBARS - 1))
        SetSkillBar(Event - MENU_FIRST_SKILL_BAR, !GetSkillBar(Event - MENU_FIRST_SKILL_BAR));
    else if (Event == MENU_SHOW_ALL_BARS || Event == MENU_HIDE_ALL_BARS)
        SetAllBars(Event == MENU_SHOW_ALL_BARS);
    else
        UnknownMenuEvent(Event);
    if (_SkillsWindow != nullptr) _SkillsWindow->arrangeBars();
}
CATCH_FRAME(Event)
