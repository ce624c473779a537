// The internal event queue, the ownership of the heap parameters its events carry, and the dispatching pass.
#include "state/Events.h"

#include "foundation/Exception.h"
#include "state/Status.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <deque>

namespace {

// The queue, oldest first; emptied by InitStatus and ExitStatus. Both ends take and give in constant time, so
// a flood of events drains in time linear in its length.
std::deque<TMessage> Queue;

void CheckType(int32_t Type) {
    CHECK(In(Type, MESSAGE_NONE, MESSAGE_STARTPATCHER), Type);
    CHECK(Type != MESSAGE_NONE, Type);
}

void FreeParameter(intptr_t Parameter) { FreeMessageBlock(MessagePointer<void>(Parameter)); }

// Frees an event's heap parameters when the action is done, also when it throws.
class TParameterGuard {
public:
    TParameterGuard(int32_t Type, intptr_t Param1, intptr_t Param2)
        : Type(Type), Param1(Param1), Param2(Param2) {}
    ~TParameterGuard() { FreeMessageParameters(Type, Param1, Param2); }
    TParameterGuard(const TParameterGuard&) = delete;
    TParameterGuard& operator=(const TParameterGuard&) = delete;

private:
    int32_t Type;
    intptr_t Param1, Param2;
};

// Pops and acts until a modal window opens, the mouse is captured or the queue is empty; false when the
// pass must end at once (event 72).
bool TakeMessages(TMessageActions& Actions) {
    while (!Actions.hasModalWindow() && !Actions.isMouseCaptured() && PeekMessageType() != MESSAGE_NONE) {
        int32_t Type;
        intptr_t Param1, Param2;
        PopMessage(Type, Param1, Param2);
        if (Type == MESSAGE_WAITFORDISCONNECT) {
            if (GetConnectionState() == CONNECTIONSTATE_OFFLINE) continue;
            AddPriorityMessage(MESSAGE_WAITFORDISCONNECT, 0, 0);
            return true;
        }
        if (!In(Type, 1, MESSAGE_STARTPATCHER))
            throw TMyException(EBRUN_SOURCE_NAME, __LINE__, "unknown message type", "Type", Type, "", 0, "");
        {
            TParameterGuard Guard(Type, Param1, Param2);
            Actions.performMessage(Type, Param1, Param2);
        }
        if (Type == MESSAGE_STARTPATCHER) return false;
        if (Actions.hasModalWindow()) {
            bool IsContextMenu = Type >= MESSAGE_OBJECTMENU;
            SetActionState(IsContextMenu ? ACTIONSTATE_CONTEXTMENU : ACTIONSTATE_DIALOG);
            Actions.placeModalWindow(IsContextMenu);
        }
    }
    return true;
}

} // namespace

char* NewMessageText(const char* Text) {
    size_t Length = Text != nullptr ? std::strlen(Text) : 0;
    char* Copy = static_cast<char*>(NewMessageBlock(Length + 1));
    if (Length > 0) std::memcpy(Copy, Text, Length);
    return Copy;
}

void* NewMessageBlock(size_t Bytes) {
    void* Block = std::calloc(Bytes > 0 ? Bytes : 1, 1);
    CHECK(Block != nullptr);
    return Block;
}

void FreeMessageBlock(void* Block) { std::free(Block); }

void FreeMessageParameters(int32_t Type, intptr_t Param1, intptr_t Param2) {
    switch (Type) {
    case MESSAGE_MESSAGEBOX:
    case MESSAGE_MESSAGEBOX2:
    case MESSAGE_OPENPRIVATECHANNEL:
    case MESSAGE_OPENCHANNEL:
    case MESSAGE_OPENOWNCHANNEL:
    case MESSAGE_OPENREQUESTQUEUE:
        FreeParameter(Param2);
        break;
    case MESSAGE_WAITINGLIST:
    case MESSAGE_YESNOBOX:
    case MESSAGE_LOGOUTBOX:
    case MESSAGE_OUTFIT:
    case MESSAGE_ADDVIPNAME:
    case MESSAGE_REMOVEVIPNAME:
    case MESSAGE_OPENREQUEST:
    case MESSAGE_MAPMARKMENU:
        FreeParameter(Param1);
        break;
    case MESSAGE_EDITTEXT:
        FreeParameter(Param1);
        if (Param2 != 0) {
            FreeParameter(MessagePointer<intptr_t>(Param2)[0]);
            FreeParameter(MessagePointer<intptr_t>(Param2)[1]);
        }
        FreeParameter(Param2);
        break;
    case MESSAGE_EDITLIST:
    case MESSAGE_CHANNELLIST:
    case MESSAGE_GAMEMASTERRULEVIOLATION:
    case MESSAGE_NEWMAPMARK:
    case MESSAGE_EDITMAPMARK:
        FreeParameter(Param1);
        FreeParameter(Param2);
        break;
    default:
        break;
    }
}

int32_t AddMessage(int32_t Type, intptr_t Param1, intptr_t Param2) {
    CheckType(Type);
    Queue.push_back(TMessage{Type, Param1, Param2});
    return GetMessageCount();
}

int32_t AddPriorityMessage(int32_t Type, intptr_t Param1, intptr_t Param2) {
    CheckType(Type);
    Queue.push_front(TMessage{Type, Param1, Param2});
    return GetMessageCount();
}

int32_t PeekMessageType() { return Queue.empty() ? MESSAGE_NONE : Queue.front().Type; }

bool IsMessageQueued(int32_t Type) {
    return std::any_of(Queue.begin(), Queue.end(),
                       [Type](const TMessage& Entry) { return Entry.Type == Type; });
}

void PopMessage(int32_t& Type, intptr_t& Param1, intptr_t& Param2) {
    const TMessage First = Queue.empty() ? TMessage{} : Queue.front();
    if (!Queue.empty()) Queue.pop_front();
    Type = First.Type;
    Param1 = First.Param1;
    Param2 = First.Param2;
}

void ClearMessages() {
    for (const TMessage& Entry : Queue)
        FreeMessageParameters(Entry.Type, Entry.Param1, Entry.Param2);
    Queue.clear();
}

int32_t GetMessageCount() { return static_cast<int32_t>(Queue.size()); }

void DispatchMessages(TMessageActions& Actions) {
    if (Actions.hasModalWindow() && GetActionState() == ACTIONSTATE_NONE) {
        Actions.destroyModalWindow();
        SetActionState(ACTIONSTATE_NONE);
    }
    if (!TakeMessages(Actions)) return;
    if (GetConnectionState() == CONNECTIONSTATE_GAME) Actions.moveCreatures();
    Actions.drawFrame();
}
