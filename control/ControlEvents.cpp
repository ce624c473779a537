// The controller's event cases 1 to 60: the windows of the catalogue, the outfit request, the VIP names and
// the console's new tabs.
#include "control/ControlEvents.h"

#include "control/DialogsCatalogue.h"
#include "foundation/Exception.h"
#include "network/Communication.h"
#include "screen/ConsoleWindow.h"
#include "screen/MainWindow.h"
#include "screen/MessageTexts.h"
#include "state/Events.h"
#include "state/Talk.h"
#include "state/TalkBuffer.h"
#include "state/TalkFilter.h"
#include "state/TalkRouting.h"

namespace {

const char* Text(intptr_t Parameter) { return MessagePointer<const char>(Parameter); }

// The request queue registered for Channel, NULL when it has gone (its tab closed, or the game screen
// removed, while the event waited).
TTextBuffer* RequestQueue(int32_t Channel) {
    TTextBuffer* Queue = FindTextBuffer(TALK_GAMEMASTER_REQUEST, nullptr, Channel);
    return Queue != nullptr && Queue->getChannelID() == Channel ? Queue : nullptr;
}

// Events 47 to 51: the console shows the tab of a new channel, conversation or request. Without the game
// screen there is no console; a request queue that no tab took is then given back.
void OpenConsoleTab(int32_t Type, intptr_t Param1, intptr_t Param2) {
    TMainWindow* Main = GetMainWindow();
    auto* Console = Main != nullptr ? dynamic_cast<TConsoleWindow*>(Main->Console) : nullptr;
    const int32_t Channel = static_cast<int32_t>(Param1);
    if (Console == nullptr) {
        TTextBuffer* Queue = Type == MESSAGE_OPENREQUESTQUEUE ? RequestQueue(Channel) : nullptr;
        if (Queue != nullptr) DeleteTextBuffer(Queue);
        return;
    }
    switch (Type) {
    case MESSAGE_OPENPRIVATECHANNEL:
        // A conversation needs a partner to write to: an empty name from the server opens nothing.
        if (Text(Param2) != nullptr && Text(Param2)[0] != 0)
            Console->openChannel(TALK_PRIVATE_MESSAGE, TALK_PRIVATE_MESSAGE, Text(Param2), -1, Text(Param2));
        return;
    case MESSAGE_OPENCHANNEL:
        Console->openChannel(TALK_CHANNEL_CALL, TALK_CHANNEL_CALL, nullptr, Channel, Text(Param2));
        return;
    case MESSAGE_OPENOWNCHANNEL:
        Console->openChannel(TALK_CHANNEL_CALL, TALK_CHANNEL_CALL, nullptr, Channel, Text(Param2))
            ->setOwnChannel(true);
        return;
    case MESSAGE_OPENREQUESTQUEUE:
        if (TTextBuffer* Queue = RequestQueue(Channel); Queue != nullptr)
            Console->openTab(Queue, MessageTexts[TEXT_RULE_VIOLATIONS_CAPTION]);
        return;
    case MESSAGE_OPENREQUEST:
        Console->openRequestTab(Text(Param1));
        return;
    }
}

} // namespace

void PerformWindowEvent(int32_t Type, intptr_t Param1, intptr_t Param2) try {
    switch (Type) {
    case MESSAGE_ADDVIPNAME:
        AddVIPName(Text(Param1));
        return;
    case MESSAGE_REMOVEVIPNAME:
        RemoveVIPName(Text(Param1));
        return;
    case MESSAGE_OPENPRIVATECHANNEL:
    case MESSAGE_OPENCHANNEL:
    case MESSAGE_OPENOWNCHANNEL:
    case MESSAGE_OPENREQUESTQUEUE:
    case MESSAGE_OPENREQUEST:
        OpenConsoleTab(Type, Param1, Param2);
        return;
    case MESSAGE_OUTFIT:
        SetOutfitRequested(false);
        break;
    default:
        break;
    }
    const TWindowOpener Open = FindWindowOpener(Type);
    if (Open == nullptr) ThrowCheckFailure(EBRUN_SOURCE_NAME, __LINE__, "unknown event", EBRUN_NAMED(Type));
    if (TComponent* Window = Open(Param1, Param2); Window != nullptr) SetModalWindow(Window);
}
CATCH_FRAME(Type)
