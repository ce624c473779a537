// The battle-list, VIP-list and chat-line menus.
#define EBRUN_SOURCE_NAME "ContextMenus.cpp"
#include "foundation/Exception.h"
#include "foundation/Utils.h"
#include "network/CommunicationSend.h"
#include "screen/ContextMenusPlayer.h"
#include "state/Creatures.h"
#include "state/CreaturesBuddies.h"
#include "state/CreaturesPlayer.h"
#include "state/Events.h"
#include "state/Preferences.h"
#include "state/Status.h"
#include "state/StatusClipboard.h"
#include "state/Talk.h"
#include "state/TalkBuffer.h"
#include "state/TalkFilter.h"
#include "state/TalkRouting.h"

#include <cstdio>
#include <cstring>

// ---- TCreatureMenu ----

TCreatureMenu::TCreatureMenu(uint32_t CreatureID, int32_t X, int32_t Y, int32_t ParentWidth,
                             int32_t ParentHeight) try
    : CreatureID(CreatureID) {
    const bool Attacked = CreatureID == GetAttackTarget(), Followed = CreatureID == GetFollowTarget();
    AddEntry(Attacked ? 10005 : 10004, Attacked ? "Stop Attack" : "Attack");
    AddEntry(Followed ? 10007 : 10006, Followed ? "Stop Follow" : "Follow");
    SeparatorPending = true;
    const TCreature* Creature = CreatureID != 0 ? GetCreature(CreatureID) : nullptr;
    const bool OtherPlayer = Creature != nullptr && IsPlayerID(CreatureID);
    if (OtherPlayer) {
        AddPlayerEntries(*this, Creature->Name);
        AddPartyEntry(*this, *Creature);
    }
    SeparatorPending = true;
    AddEntry(10203, "Copy Name");
    SeparatorPending = true;
    if (OtherPlayer && HasAnyRight()) AddEntry(10023, "Rule Violation");
    layout(X, Y, ParentWidth, ParentHeight);
}
CATCH_FRAME(X, Y)

void TCreatureMenu::handleEvent(int32_t Event) try {
    if (!HandleCreatureEvent(Event, CreatureID)) UnknownMenuEvent(Event);
}
CATCH_FRAME(Event)

// ---- TBuddyMenu ----

TBuddyMenu::TBuddyMenu(uint32_t CharacterID, int32_t X, int32_t Y, int32_t ParentWidth,
                       int32_t ParentHeight) try
    : _CharacterID(CharacterID) {
    const int32_t Position = GetBuddyPosition(_CharacterID);
    if (Position != -1) {
        const char* Name = GetBuddyName(Position);
        AddEntry(10302, TMenuText("Edit %s", Name).Text);
        AddEntry(10301, TMenuText("Remove %s", Name).Text);
        if (_CharacterID != GetPlayerID() && IsBuddyOnline(Position))
            AddEntry(10303, TMenuText("Message to %s", Name).Text);
        if (HasOwnPrivateChannel()) AddEntry(10016, "Invite to private chat");
        SeparatorPending = true;
    }
    AddEntry(10300, "Add new VIP");
    AddEntry(10304, "Sort by name");
    AddEntry(10305, "Sort by type");
    const bool HideOffline = GetBuddyHideOffline();
    if (!HideOffline) AddEntry(10306, "Sort by status");
    AddEntry(10307, HideOffline ? "Show offline VIPs" : "Hide offline VIPs");
    SeparatorPending = true;
    if (Position != -1) AddEntry(10204, "Copy Name");
    SeparatorPending = true;
    if (Position != -1 && HasAnyRight()) AddEntry(10023, "Rule Violation");
    layout(X, Y, ParentWidth, ParentHeight);
}
CATCH_FRAME(X, Y)

void TBuddyMenu::handleEvent(int32_t Event) try {
    switch (Event) {
    case 10300:
        AddMessage(MESSAGE_ADDVIP, 0, 0);
        return;
    case 10301:
        RemoveBuddy(_CharacterID);
        SendRemoveVIP(_CharacterID);
        return;
    case 10302:
        AddMessage(MESSAGE_EDITVIP, _CharacterID, 0);
        return;
    case 10304:
        SetBuddySortOrder(BUDDYSORT_NAME);
        return;
    case 10305:
        SetBuddySortOrder(BUDDYSORT_ICON);
        return;
    case 10306:
        SetBuddySortOrder(BUDDYSORT_STATUS);
        return;
    case 10307:
        HideOfflineBuddies(!GetBuddyHideOffline());
        return;
    case 10303:
    case 10016:
    case 10204:
    case 10023:
        break;
    default:
        UnknownMenuEvent(Event);
    }
    const int32_t Position = GetBuddyPosition(_CharacterID);
    if (Position == -1) return;
    const char* Name = GetBuddyName(Position);
    switch (Event) {
    case 10303:
        SendPrivateChannel(Name);
        break;
    case 10016:
        SendInviteToChannel(Name);
        break;
    case 10204:
        CopyTextToClipboard(Name);
        break;
    case 10023:
        PostRuleViolation(Name);
        break;
    }
}
CATCH_FRAME(Event)

// ---- TTextMenu ----

TTextMenu::TTextMenu(TChatTextView* TextWindow, int32_t LineNumber, int32_t X, int32_t Y, int32_t ParentWidth,
                     int32_t ParentHeight) try
    : _TextWindow(TextWindow), _LineNumber(LineNumber) {
    CHECK_TEXT(_TextWindow != nullptr, "_TextWindow!=NULL");
    const TCreature* Own = GetCreature(GetPlayerID());
    if (Own == nullptr)
        ThrowCheckFailure(EBRUN_SOURCE_NAME, __LINE__, "GetCreature(GetPlayerID())", "GetPlayerID()",
                          NamedValue(GetPlayerID()));
    const TTalkLine* Line = _TextWindow->getTalkLine(_LineNumber);
    bool HasSpeaker = Line != nullptr && Line->_Addressee[0] != 0;
    TTextBuffer* Buffer = _TextWindow->getTextBuffer();
    if (Line != nullptr && Buffer != nullptr && Buffer->isRequest() && Line->_Mode == TALK_GAMEMASTER_ANSWER)
        HasSpeaker = false;
    else if (HasSpeaker && std::strcmp(Line->_Addressee, Own->Name) != 0) {
        const char* Speaker = Line->_Addressee;
        AddEntry(10100, TMenuText("Message to %s", Speaker).Text);
        const bool InOwnChannel = Buffer != nullptr && Buffer->isOwnChannel() && Buffer->isPrivateChannel();
        if (HasOwnPrivateChannel())
            AddEntry(InOwnChannel ? 10017 : 10016,
                     InOwnChannel ? "Exclude from private chat" : "Invite to private chat");
        if (!IsBuddyName(Speaker)) AddEntry(10015, "Add to VIP list");
        AddEntry(10101,
                 TMenuText(IsTalkFiltered(0, Speaker, -1) ? "Unignore %s" : "Ignore %s", Speaker).Text);
        SeparatorPending = true;
    }
    if (_TextWindow->hasSelection()) AddEntry(10203, "Copy");
    if (HasSpeaker) AddEntry(10204, "Copy Name");
    if (Line != nullptr) AddEntry(10205, "Copy Message");
    SeparatorPending = true;
    AddEntry(10206, "Select all");
    if (HasSpeaker && HasAnyRight()) {
        SeparatorPending = true;
        AddEntry(10023, "Rule Violation");
    }
    layout(X, Y, ParentWidth, ParentHeight);
}
CATCH_FRAME(X, Y)

void TTextMenu::handleEvent(int32_t Event) try {
    const TTalkLine* Line = _TextWindow->getTalkLine(_LineNumber);
    const char* Speaker = Line != nullptr && Line->_Addressee[0] != 0 ? Line->_Addressee : nullptr;
    switch (Event) {
    case 10203:
        if (const char* Selected = _TextWindow->getSelectedText(); Selected != nullptr)
            CopyTextToClipboard(Selected);
        return;
    case 10206:
        _TextWindow->selectAll();
        return;
    case 10205:
        if (Line != nullptr) CopyTextToClipboard(Line->getText());
        return;
    case 10023:
        if (!HasAnyRight()) return;
        if (Line == nullptr) {
            AddMessage(MESSAGE_GAMEMASTERRULEVIOLATION, 0, 0);
            return;
        }
        AddMessage(MESSAGE_GAMEMASTERRULEVIOLATION, 0,
                   MessageParameter(NewReportedStatement(Line->_StatementID, Line->_Mode, Line->_Addressee,
                                                         Line->MessageText)));
        return;
    }
    if (Speaker == nullptr) return;
    switch (Event) {
    case 10100:
        SendPrivateChannel(Speaker);
        break;
    case 10016:
        SendInviteToChannel(Speaker);
        break;
    case 10017:
        SendExcludeFromChannel(Speaker);
        break;
    case 10015:
        SendAddVIP(Speaker);
        break;
    case 10204:
        CopyTextToClipboard(Speaker);
        break;
    case 10101: {
        char Text[200];
        std::snprintf(Text, sizeof Text,
                      ToggleIgnore(Speaker) ? "You are now ignoring player %s."
                                            : "You are no longer ignoring player %s.",
                      Speaker);
        AddTalk(0, Text, TALK_STATUS_MESSAGE, nullptr, 0, 0);
        break;
    }
    }
}
CATCH_FRAME(Event)

TReportedStatement* NewReportedStatement(int32_t StatementID, int32_t Mode, const char* Speaker,
                                         const char* Message) {
    const size_t Length = Message != nullptr ? std::strlen(Message) : 0;
    auto* Statement =
        static_cast<TReportedStatement*>(NewMessageBlock(sizeof(TReportedStatement) + Length + 1));
    Statement->StatementID = StatementID;
    Statement->Mode = Mode;
    CopyString(Statement->Speaker, Speaker != nullptr ? Speaker : "");
    if (Length > 0) std::memcpy(reinterpret_cast<char*>(Statement + 1), Message, Length);
    return Statement;
}

const char* GetReportedMessage(const TReportedStatement& Statement) {
    return reinterpret_cast<const char*>(&Statement + 1);
}
