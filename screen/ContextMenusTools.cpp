// The console-tab, request-queue, edit-field, automap and skills menus.
#define EBRUN_SOURCE_NAME "ContextMenus.cpp"
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
            AddEntry(10016, "Invite player");
            AddEntry(10017, "Exclude player");
            SeparatorPending = true;
        }
        AddEntry(10103, "Close");
        _ShowServerMessages = !_ConsoleWindow->getServerMessages();
        AddEntry(10100, _ShowServerMessages ? "Show server messages" : "Hide server messages");
        SeparatorPending = true;
    }
    AddEntry(10102, "Save Window");
    if (!TextBuffer->isRequestQueue()) AddEntry(10105, "Clear Window");
    layout(X, Y, ParentWidth, ParentHeight);
}
CATCH_FRAME(X, Y)

void TChannelMenu::handleEvent(int32_t Event) try {
    switch (Event) {
    case 10103:
        _ConsoleWindow->closeCurrentTab();
        break;
    case 10016:
        AddMessage(MESSAGE_INVITE, 0, 0);
        break;
    case 10017:
        AddMessage(MESSAGE_EXCLUDE, 0, 0);
        break;
    case 10100:
        _ConsoleWindow->setServerMessages(_ShowServerMessages);
        break;
    case 10102:
        _ConsoleWindow->saveCurrentChannel();
        break;
    case 10105: {
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
        AddEntry(10106, TMenuText("Process %s", Line->_Addressee).Text);
        AddEntry(10107, TMenuText("Remove %s", Line->_Addressee).Text);
        SeparatorPending = true;
        AddEntry(10204, "Copy Name");
        AddEntry(10205, "Copy Message");
    }
    layout(X, Y, ParentWidth, ParentHeight);
}
CATCH_FRAME(X, Y)

void TRequestMenu::handleEvent(int32_t Event) try {
    const TTalkLine* Line = RequestLine(*_ConsoleWindow, _LineNumber);
    if (Line == nullptr) return;
    const char* Speaker = Line->_Addressee;
    switch (Event) {
    case 10106: {
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
    case 10107:
        SendRemoveRequest(Speaker);
        break;
    case 10204:
        CopyTextToClipboard(Speaker);
        break;
    case 10205:
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
        if (!ReadOnly) AddEntry(10201, "Cut");
        AddEntry(10203, "Copy");
    }
    if (!IsClipboardEmpty() && !ReadOnly) AddEntry(10200, "Paste");
    SeparatorPending = true;
    if (Selection && !ReadOnly) {
        AddEntry(10202, "Delete");
        SeparatorPending = true;
    }
    AddEntry(10206, "Select All");
    layout(X, Y, ParentWidth, ParentHeight);
}
CATCH_FRAME(X, Y)

void TEditMenu::handleEvent(int32_t Event) try {
    switch (Event) {
    case 10203:
        _Edit->handleEvent(16);
        break;
    case 10201:
        _Edit->handleEvent(17);
        break;
    case 10200:
        _Edit->handleEvent(18);
        break;
    case 10202:
        _Edit->handleEvent(19);
        break;
    case 10206:
        _Edit->handleEvent(20);
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
        AddEntry(10401, "Edit Mark");
        AddEntry(10403, "Delete Mark");
    } else {
        AddEntry(10400, "Set Mark");
    }
    layout(X, Y, ParentWidth, ParentHeight);
}
CATCH_FRAME(X, Y)

void TMarkMenu::handleEvent(int32_t Event) try {
    const TCoordinate Field{_Data.x, _Data.y, _Data.z};
    switch (Event) {
    case 10400:
    case 10401: {
        auto* Position = static_cast<TCoordinate*>(NewMessageBlock(sizeof(TCoordinate)));
        *Position = Field;
        TMapMark* Mark = nullptr;
        if (Event == 10401) {
            Mark = static_cast<TMapMark*>(NewMessageBlock(sizeof(TMapMark)));
            *Mark = _Data.Mark;
        }
        AddMessage(Event == 10400 ? MESSAGE_NEWMAPMARK : MESSAGE_EDITMAPMARK, MessageParameter(Position),
                   MessageParameter(Mark));
        break;
    }
    case 10403:
        DeleteMapMark(TCoordinate{_Data.Mark.x, _Data.Mark.y, _Data.z}, _Data.z);
        break;
    default:
        UnknownMenuEvent(Event);
    }
}
CATCH_FRAME(Event)

// ---- TSkillsMenu ----

namespace {

// The skill bars in menu order: event 10502 + n is skill bar n.
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
    AddToggle(*this, 10500, GetLevelBar(), "Level");
    AddToggle(*this, 10501, GetMagLevelBar(), "Magic Level");
    for (int32_t n = 0; n < SKILLBARS; n++)
        AddToggle(*this, 10502 + n, GetSkillBar(n), SKILL_NAMES[n]);
    addSeparator();
    AddEntry(10509, "Show all Skill Bars");
    AddEntry(10510, "Hide all Skill Bars");
    layout(X, Y, ParentWidth, ParentHeight);
}
CATCH_FRAME(X, Y)

TSkillsMenu::~TSkillsMenu() {
    if (_SkillsWindow != nullptr) _SkillsWindow->SkillsMenu = nullptr;
}

void TSkillsMenu::handleEvent(int32_t Event) try {
    if (Event == 10500)
        SetLevelBar(!GetLevelBar());
    else if (Event == 10501)
        SetMagLevelBar(!GetMagLevelBar());
    else if (In(Event, 10502, 10502 + SKILLBARS - 1))
        SetSkillBar(Event - 10502, !GetSkillBar(Event - 10502));
    else if (Event == 10509 || Event == 10510)
        SetAllBars(Event == 10509);
    else
        UnknownMenuEvent(Event);
    if (_SkillsWindow != nullptr) _SkillsWindow->arrangeBars();
}
CATCH_FRAME(Event)
