// The internal event queue, the ownership of the heap parameters its events carry, and the dispatching pass.
#include "state/Events.h"

#include "foundation/Container.h"
#include "foundation/Exception.h"
#include "state/Status.h"

#include <cstdlib>
#include <cstring>

namespace {

// The queue; emptied by InitStatus and ExitStatus. Entries 0..Count-1 are the events, oldest first.
struct {
    TDynamicArray<TMessage> Entries{0, 9, 10};
    int32_t Count = 0;
} Queue;

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
    Queue.Entries.at(Queue.Count) = TMessage{Type, Param1, Param2};
    return ++Queue.Count;
}

int32_t AddPriorityMessage(int32_t Type, intptr_t Param1, intptr_t Param2) {
    CheckType(Type);
    for (int32_t i = Queue.Count; i > 0; i--) {
        // A copy: the first move into a full queue grows it, which moves the entry being copied.
        const TMessage Earlier = Queue.Entries.at(i - 1);
        Queue.Entries.at(i) = Earlier;
    }
    Queue.Entries.at(0) = TMessage{Type, Param1, Param2};
    return ++Queue.Count;
}

int32_t PeekMessageType() { return Queue.Count > 0 ? Queue.Entries.at(0).Type : MESSAGE_NONE; }

bool IsMessageQueued(int32_t Type) {
    for (int32_t i = 0; i < Queue.Count; i++)
        if (Queue.Entries.at(i).Type == Type) return true;
    return false;
}

void PopMessage(int32_t& Type, intptr_t& Param1, intptr_t& Param2) {
    Type = MESSAGE_NONE;
    Param1 = Param2 = 0;
    if (Queue.Count == 0) return;
    const TMessage& First = Queue.Entries.at(0);
    Type = First.Type;
    Param1 = First.Param1;
    Param2 = First.Param2;
    for (int32_t i = 1; i < Queue.Count; i++)
        Queue.Entries.at(i - 1) = Queue.Entries.at(i);
    Queue.Count--;
}

void ClearMessages() {
    for (int32_t i = 0; i < Queue.Count; i++) {
        const TMessage& Entry = Queue.Entries.at(i);
        FreeMessageParameters(Entry.Type, Entry.Param1, Entry.Param2);
    }
    Queue.Count = 0;
}

int32_t GetMessageCount() { return Queue.Count; }

void DispatchMessages(TMessageActions& Actions) {
    if (Actions.hasModalWindow() && GetActionState() == ACTIONSTATE_NONE) {
        Actions.destroyModalWindow();
        SetActionState(ACTIONSTATE_NONE);
    }
    if (!TakeMessages(Actions)) return;
    if (GetConnectionState() == CONNECTIONSTATE_GAME) Actions.moveCreatures();
    Actions.drawFrame();
}
