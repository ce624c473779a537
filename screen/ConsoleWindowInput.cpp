// The console's input line: copy and select keys, hotkeys, the input history, and sending a typed line with
// the talk mode, addressee and channel chosen by the selected tab and the line's prefix.
#include "foundation/Exception.h"
#include "foundation/Utils.h"
#include "gui/DialogElements.h"
#include "gui/DialogElementsEdit.h"
#include "gui/KeyCodes.h"
#include "network/CommunicationSend.h"
#include "screen/ConsoleWindow.h"
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

namespace {

constexpr int32_t KEY_SHIFT_TAB = KEY_SHIFT | KEY_TAB;
constexpr int32_t KEY_SELECT_ALL = KEY_CTRL | 'a', KEY_COPY = KEY_CTRL | 'c', KEY_CUT = KEY_CTRL | 'x';
constexpr int32_t KEY_CTRL_INSERT = KEY_CTRL | KEY_INSERT;
constexpr int32_t KEY_SHIFT_DELETE = KEY_SHIFT | KEY_DELETE, KEY_CTRL_DELETE = KEY_CTRL | KEY_DELETE;
constexpr int32_t HOTKEYS_PER_SET = 12;
constexpr int32_t ADDRESSEE_LENGTH = 29;

// The talk mode a "#" prefix letter selects; -1 keeps the mode.
int32_t PrefixMode(char Letter) {
    switch (Letter) {
    case 'A':
        return TALK_ANONYMOUS_BROADCAST;
    case 'B':
        return TALK_GAMEMASTER_BROADCAST;
    case 'C':
        return TALK_GAMEMASTER_CHANNELCALL;
    case 'D':
        return TALK_ANONYMOUS_CHANNELCALL;
    case 'I':
    case 'X':
        return 0;
    case 'S':
        return TALK_SAY;
    case 'W':
        return TALK_WHISPER;
    case 'Y':
        return TALK_YELL;
    default:
        return -1;
    }
}

int32_t NameMode(char Separator) {
    return Separator == '*'   ? TALK_PRIVATE_MESSAGE
           : Separator == '@' ? TALK_GAMEMASTER_MESSAGE
                              : TALK_ANONYMOUS_MESSAGE;
}

char* SkipSpace(char* p) {
    while (*p != 0 && IsSpace(*p))
        p++;
    return p;
}

// True when the text holds the account number or the password (an empty one never counts).
bool HoldsAccountData(const char* Text) {
    const char* Number = GetAccountNumberText();
    const char* Password = GetPassword();
    return (Number != nullptr && Number[0] != 0 && std::strstr(Text, Number) != nullptr) ||
           (Password != nullptr && Password[0] != 0 && std::strstr(Text, Password) != nullptr);
}

} // namespace

// ---- keys ----

bool TConsoleWindow::editKey(int32_t Key) {
    ConsoleTextView* View = CurrentConsole->View;
    if (Key == KEY_SELECT_ALL) {
        View->clearSelection();
        Input->SelectionLength = 0;
        if (Input->getLength() > 0)
            Input->handleEvent(EDIT_SELECT_ALL);
        else
            View->handleEvent(EDIT_SELECT_ALL);
        return true;
    }
    TComponent* Holder = View->hasSelection()    ? static_cast<TComponent*>(View)
                         : Input->hasSelection() ? Input
                                                 : nullptr;
    if (Holder == nullptr) return false;
    if (Key == KEY_CTRL_INSERT || Key == KEY_COPY)
        Holder->handleEvent(EDIT_COPY);
    else if (Key == KEY_SHIFT_DELETE || Key == KEY_CUT)
        Holder->handleEvent(EDIT_CUT);
    else if (Key == KEY_CTRL_DELETE)
        Holder->handleEvent(EDIT_DELETE);
    else
        return false;
    return true;
}

void TConsoleWindow::keyPressed(int32_t Key) try {
    if (Key == KEY_TAB) handleEvent(CONSOLE_NEXT_TAB);
    if (Key == KEY_SHIFT_TAB) handleEvent(CONSOLE_PREVIOUS_TAB);
    if (editKey(Key)) return;
    TTextBuffer* TextBuffer = CurrentConsole->getTextBuffer();
    CHECK_TEXT(TextBuffer != nullptr, "TextBuffer!=NULL");
    if (!TextBuffer->isOpen()) return;
    Input->keyPressed(Key);
    if (Key == KEY_ENTER) sendInput();
    if (In(Key & KEY_CODE_MASK, KEY_F1, KEY_F12)) {
        sendHotkey(Key);
        return;
    }
    recallHistory(Key);
}
CATCH_FRAME(Key)

void TConsoleWindow::sendHotkey(int32_t Key) {
    int32_t Number = (Key & KEY_CODE_MASK) - KEY_F1;
    if ((Key & KEY_SHIFT) != 0)
        Number += HOTKEYS_PER_SET;
    else if ((Key & KEY_CTRL) != 0)
        Number += 2 * HOTKEYS_PER_SET;
    bool AutoSend = false;
    const char* Text = GetHotkey(Number, AutoSend);
    if (Text == nullptr) return;
    Input->setText(Text);
    if (AutoSend) sendInput();
}

void TConsoleWindow::recallHistory(int32_t Key) {
    const int32_t Code = Key & KEY_CODE_MASK, Count = History->getNumberOfLines();
    if (Code == KEY_DOWN && HistoryIndex >= -1)
        HistoryIndex--;
    else if (Code == KEY_UP && HistoryIndex < Count - 1)
        HistoryIndex++;
    else
        return;
    if (HistoryIndex >= 0) {
        const TTalkLine* Line = History->seekLine(Count - HistoryIndex - 1);
        CHECK_TEXT(Line != nullptr, "Line!=NULL");
        Input->setText(Line->MessageText);
    } else if (HistoryIndex == -1) {
        Input->clearText();
    } else {
        storeInHistory();
        Input->clearText();
    }
}

void TConsoleWindow::storeInHistory() try {
    const char* Text = Input->getText();
    const int32_t Count = History->getNumberOfLines();
    const TTalkLine* Newest = Count > 0 ? History->seekLine(Count - 1) : nullptr;
    if (Text[0] != 0 && (Newest == nullptr || std::strcmp(Newest->MessageText, Text) != 0))
        History->addLine(std::make_unique<TTalkLine>(0, TALK_SAY, Text, 0));
    HistoryIndex = -1;
}
CATCH_FRAME()

// ---- sending ----

void TConsoleWindow::parseInput(char* Line, const char*& Text, const char*& Addressee, int32_t& Mode,
                                char& Separator) try {
    Text = nullptr;
    Separator = 0;
    char* p = SkipSpace(Line);
    if (*p == 0) return;
    if (*p == '#') {
        const char Letter = ToUpper(p[1]);
        while (*p != 0 && !IsSpace(*p))
            p++;
        Separator = Letter;
        if (PrefixMode(Letter) != -1) Mode = PrefixMode(Letter);
    } else if (*p == '*' || *p == '@' || *p == '$') {
        char* Name = p + 1;
        char* Close = std::strchr(Name, *p);
        if (Close == nullptr || Close == Name) {
            Addressee = nullptr;
            return;
        }
        Separator = *p;
        *Close = 0;
        Addressee = Name;
        Mode = NameMode(Separator);
        p = Close + 1;
    }
    if (HoldsAccountData(p)) {
        Addressee = nullptr;
        Mode = 0;
        Separator = 0;
        AddMessage(MESSAGE_ACCOUNTDATAWARNING, reinterpret_cast<intptr_t>("Account Data Warning"), 0);
        return;
    }
    p = SkipSpace(p);
    if (*p != 0) Text = p;
}
CATCH_FRAME()

void TConsoleWindow::sendByMode(int32_t TalkMode, const char* Text, const char* Addressee,
                                int32_t ChannelID) {
    auto PlayerName = [] {
        const TCreature* Player = GetCreature(GetPlayerID());
        CHECK_TEXT(Player != nullptr, "GetCreature(GetPlayerID())");
        return Player->Name;
    };
    switch (TalkMode) {
    case 0:
        break;
    case TALK_SAY:
    case TALK_WHISPER:
    case TALK_YELL:
    case TALK_GAMEMASTER_BROADCAST:
    case TALK_ANONYMOUS_BROADCAST:
        SendTalk(TalkMode, Text);
        break;
    case TALK_PRIVATE_MESSAGE:
    case TALK_GAMEMASTER_MESSAGE:
    case TALK_ANONYMOUS_MESSAGE: {
        CHECK_TEXT(Addressee != nullptr, "Addressee!=NULL");
        const char* Name = PlayerName();
        AddOwnPrivateMessage(Name, Text, TalkMode, Addressee, ChannelID);
        if (CompareNoCase(Addressee, Name, -1) != 0) SendPrivateTalk(TalkMode, Addressee, Text);
        break;
    }
    case TALK_CHANNEL_CALL:
    case TALK_GAMEMASTER_CHANNELCALL:
    case TALK_ANONYMOUS_CHANNELCALL:
        CHECK(ChannelID != -1, ChannelID);
        SendChannelTalk(TalkMode, ChannelID, Text);
        break;
    case TALK_GAMEMASTER_ANSWER: {
        CHECK_TEXT(Addressee != nullptr, "Addressee!=NULL");
        const char* Name = PlayerName();
        SendPrivateTalk(TALK_GAMEMASTER_ANSWER, Addressee, Text);
        AddOwnPrivateMessage(Name, Text, TALK_PLAYER_ANSWER, Addressee, -1);
        break;
    }
    case TALK_PLAYER_ANSWER: {
        const char* Name = PlayerName();
        SendTalk(TALK_PLAYER_ANSWER, Text);
        AddOwnPrivateMessage(Name, Text, TALK_GAMEMASTER_ANSWER, "", -1);
        break;
    }
    default:
        CHECK_TEXT(false, "unknown talk mode", TalkMode);
    }
}

void TConsoleWindow::sendInput() try {
    TTextBuffer* Buffer = getCurrentTextBuffer();
    int32_t Mode, ChannelID;
    const char* Addressee;
    if (Buffer->usesSpeechModes()) {
        Mode = TalkMode;
        Addressee = nullptr;
        ChannelID = -1;
        TalkModeButton->resetState();
        TalkMode = TALK_SAY;
    } else {
        Mode = Buffer->isOpen() ? Buffer->getSendTalkMode() : 0;
        ChannelID = Buffer->getChannelID();
        Addressee = Buffer->getAddressee();
    }
    if (Input->getLength() > 0) storeInHistory();
    // The line is parsed in a copy: the prefix is cut in place, and the field is emptied before the
    // addressee is used again.
    char Line[256];
    CopyString(Line, Input->getText());
    const char* Text;
    char Separator;
    parseInput(Line, Text, Addressee, Mode, Separator);
    if (ChannelID == -1 && (Mode == TALK_GAMEMASTER_CHANNELCALL || Mode == TALK_ANONYMOUS_CHANNELCALL)) {
        SetStatusMessage("This is not a chat channel.", false);
        Text = nullptr;
    }
    if (HasOwnPrivateChannel() && Text != nullptr) {
        if (Separator == 'I') SendInviteToChannel(Text);
        if (Separator == 'X') SendExcludeFromChannel(Text);
    }
    if (Text != nullptr) sendByMode(Mode, Text, Addressee, ChannelID);
    Input->clearText();
    const char* Partner = Buffer->getAddressee();
    if (Mode == TALK_PRIVATE_MESSAGE && Addressee != nullptr &&
        (Partner == nullptr || CompareNoCase(Partner, Addressee, -1) != 0)) {
        char Prefix[ADDRESSEE_LENGTH + 4];
        std::snprintf(Prefix, sizeof(Prefix), "*%.*s* ", ADDRESSEE_LENGTH, Addressee);
        Input->setText(Prefix);
    }
}
CATCH_FRAME()
