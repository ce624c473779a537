// The battle-list, VIP-list and chat-line menus.
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
    AddEntry(Attacked ? MENU_STOP_ATTACK : MENU_ATTACK, Attacked ? "Stop Attack" : "Attack");
    AddEntry(Followed ? MENU_STOP_FOLLOW : MENU_FOLLOW, Followed ? "Stop Follow" : "Follow");
    SeparatorPending = true;
    const TCreature* Creature = CreatureID != 0 ? GetCreature(CreatureID) : nullptr;
    const bool OtherPlayer = Creature != nullptr && IsPlayerID(CreatureID);
    if (OtherPlayer) {
        AddPlayerEntries(*this, Creature->Name);
        AddPartyEntry(*this, *Creature);
    }
    SeparatorPending = true;
    AddEntry(MENU_COPY_CREATURE_NAME, "Copy Name");
    SeparatorPending = true;
    if (OtherPlayer && HasAnyRight()) AddEntry(MENU_RULE_VIOLATION, "Rule Violation");
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
        AddEntry(MENU_EDIT_VIP, TMenuText("Edit %s", Name).Text);
        AddEntry(MENU_REMOVE_VIP, TMenuText("Remove %s", Name).Text);
        if (_CharacterID != GetPlayerID() && IsBuddyOnline(Position))
            AddEntry(MENU_MESSAGE_TO_VIP, TMenuText("Message to %s", Name).Text);
        if (HasOwnPrivateChannel()) AddEntry(MENU_INVITE_TO_CHANNEL, "Invite to private chat");
        SeparatorPending = true;
    }
    AddEntry(MENU_NEW_VIP, "Add new VIP");
    AddEntry(MENU_SORT_BY_NAME, "Sort by name");
    AddEntry(MENU_SORT_BY_TYPE, "Sort by type");
    const bool HideOffline = GetBuddyHideOffline();
    if (!HideOffline) AddEntry(MENU_SORT_BY_STATUS, "Sort by status");
    AddEntry(MENU_OFFLINE_VIPS, HideOffline ? "Show offline VIPs" : "Hide offline VIPs");
    SeparatorPending = true;
    if (Position != -1) AddEntry(MENU_COPY_NAME, "Copy Name");
    SeparatorPending = true;
    if (Position != -1 && HasAnyRight()) AddEntry(MENU_RULE_VIOLATION, "Rule Violation");
    layout(X, Y, ParentWidth, ParentHeight);
}
CATCH_FRAME(X, Y)

void TBuddyMenu::handleEvent(int32_t Event) try {
    switch (Event) {
    case MENU_NEW_VIP:
        AddMessage(MESSAGE_ADDVIP, 0, 0);
        return;
    case MENU_REMOVE_VIP:
        RemoveBuddy(_CharacterID);
        SendRemoveVIP(_CharacterID);
        return;
    case MENU_EDIT_VIP:
        AddMessage(MESSAGE_EDITVIP, _CharacterID, 0);
        return;
    case MENU_SORT_BY_NAME:
        SetBuddySortOrder(BUDDYSORT_NAME);
        return;
    case MENU_SORT_BY_TYPE:
        SetBuddySortOrder(BUDDYSORT_ICON);
        return;
    case MENU_SORT_BY_STATUS:
        SetBuddySortOrder(BUDDYSORT_STATUS);
        return;
    case MENU_OFFLINE_VIPS:
        HideOfflineBuddies(!GetBuddyHideOffline());
        return;
    case MENU_MESSAGE_TO_VIP:
    case MENU_INVITE_TO_CHANNEL:
    case MENU_COPY_NAME:
    case MENU_RULE_VIOLATION:
        break;
    default:
        UnknownMenuEvent(Event);
    }
    const int32_t Position = GetBuddyPosition(_CharacterID);
    if (Position == -1) return;
    const char* Name = GetBuddyName(Position);
    switch (Event) {
    case MENU_MESSAGE_TO_VIP:
        SendPrivateChannel(Name);
        break;
    case MENU_INVITE_TO_CHANNEL:
        SendInviteToChannel(Name);
        break;
    case MENU_COPY_NAME:
        CopyTextToClipboard(Name);
        break;
    case MENU_RULE_VIOLATION:
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
        AddEntry(MENU_MESSAGE_TO, TMenuText("Message to %s", Speaker).Text);
        const bool InOwnChannel = Buffer != nullptr && Buffer->isOwnChannel() && Buffer->isPrivateChannel();
        if (HasOwnPrivateChannel())
            AddEntry(InOwnChannel ? MENU_EXCLUDE_FROM_CHANNEL : MENU_INVITE_TO_CHANNEL,
                     InOwnChannel ? "Exclude from private chat" : "Invite to private chat");
        if (!IsBuddyName(Speaker)) AddEntry(MENU_ADD_TO_VIP, "Add to VIP list");
        AddEntry(MENU_IGNORE,
                 TMenuText(IsTalkFiltered(0, Speaker, -1) ? "Unignore %s" : "Ignore %s", Speaker).Text);
        SeparatorPending = true;
    }
    if (_TextWindow->hasSelection()) AddEntry(MENU_COPY, "Copy");
    if (HasSpeaker) AddEntry(MENU_COPY_NAME, "Copy Name");
    if (Line != nullptr) AddEntry(MENU_COPY_MESSAGE, "Copy Message");
    SeparatorPending = true;
    AddEntry(MENU_SELECT_ALL, "Select all");
    if (HasSpeaker && HasAnyRight()) {
        SeparatorPending = true;
        AddEntry(MENU_RULE_VIOLATION, "Rule Violation");
    }
    layout(X, Y, ParentWidth, ParentHeight);
}
CATCH_FRAME(X, Y)

void TTextMenu::handleEvent(int32_t Event) try {
    const TTalkLine* Line = _TextWindow->getTalkLine(_LineNumber);
    const char* Speaker = Line != nullptr && Line->_Addressee[0] != 0 ? Line->_Addressee : nullptr;
    switch (Event) {
    case MENU_COPY:
        if (const char* Selected = _TextWindow->getSelectedText(); Selected != nullptr)
            CopyTextToClipboard(Selected);
        return;
    case MENU_SELECT_ALL:
        _TextWindow->selectAll();
        return;
    case MENU_COPY_MESSAGE:
        if (Line != nullptr) CopyTextToClipboard(Line->getText());
        return;
    case MENU_RULE_VIOLATION:
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
    case MENU_MESSAGE_TO:
        SendPrivateChannel(Speaker);
        break;
    case MENU_INVITE_TO_CHANNEL:
        SendInviteToChannel(Speaker);
        break;
    case MENU_EXCLUDE_FROM_CHANNEL:
        SendExcludeFromChannel(Speaker);
        break;
    case MENU_ADD_TO_VIP:
        SendAddVIP(Speaker);
        break;
    case MENU_COPY_NAME:
        CopyTextToClipboard(Speaker);
        break;
    case MENU_IGNORE: {
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
