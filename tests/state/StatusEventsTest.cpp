// Tests of the event queue: order, growth, front insertion, ownership of heap parameters, the dispatching
// pass.
#include "state/Events.h"
#include "state/Status.h"

#include "foundation/Exception.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

bool NoWarning() { return true; }

// A controller that records what the pass asks of it. Types in OpensDialog open a modal window.
class TRecordingActions : public TMessageActions {
public:
    std::vector<std::string> Log;
    std::vector<int32_t> OpensModal;
    bool Modal = false;
    bool Captured = false;
    std::function<void(int32_t, intptr_t, intptr_t)> OnPerform;

    bool hasModalWindow() override { return Modal; }
    void destroyModalWindow() override {
        Log.push_back("destroy");
        Modal = false;
    }
    bool isMouseCaptured() override { return Captured; }
    void performMessage(int32_t Type, intptr_t Param1, intptr_t Param2) override {
        Log.push_back(std::to_string(Type));
        if (OnPerform) OnPerform(Type, Param1, Param2);
        for (int32_t Opening : OpensModal)
            if (Opening == Type) Modal = true;
    }
    void placeModalWindow(bool IsContextMenu) override { Log.push_back(IsContextMenu ? "menu" : "dialog"); }
    void moveCreatures() override { Log.push_back("move"); }
    void drawFrame() override { Log.push_back("frame"); }
};

std::vector<int32_t> QueuedTypes() {
    std::vector<int32_t> Types;
    std::vector<TMessage> Popped;
    while (GetMessageCount() > 0) {
        TMessage Entry;
        PopMessage(Entry.Type, Entry.Param1, Entry.Param2);
        Types.push_back(Entry.Type);
        Popped.push_back(Entry);
    }
    for (const TMessage& Entry : Popped)
        AddMessage(Entry.Type, Entry.Param1, Entry.Param2);
    return Types;
}

class EventQueueTest : public ::testing::Test {
protected:
    void SetUp() override { InitStatus(0, NoWarning); }
    void TearDown() override { ExitStatus(); }
};

using Log = std::vector<std::string>;

} // namespace

TEST_F(EventQueueTest, PriorityMessageOnAnEmptyQueueComesFirst) {
    EXPECT_EQ(AddPriorityMessage(MESSAGE_OPTIONS, 5, 6), 1);
    int32_t Type;
    intptr_t Param1, Param2;
    PopMessage(Type, Param1, Param2);
    EXPECT_EQ(Type, MESSAGE_OPTIONS);
    EXPECT_EQ(Param1, 5);
    EXPECT_EQ(Param2, 6);
}

TEST_F(EventQueueTest, GrowsPastTenEntriesAndStaysFirstInFirstOut) {
    // The queue grows from 10 places in steps of its present size and never shrinks, whatever earlier tests
    // left: one of these counts fills it to its last place, so that the priority message makes it grow.
    for (const int32_t Full : {10, 20, 40, 80}) {
        ClearMessages();
        for (int32_t i = 1; i <= Full; i++)
            EXPECT_EQ(AddMessage(MESSAGE_CHARACTERLIST, i, 0), i);
        AddPriorityMessage(MESSAGE_WAITFORDISCONNECT, 0, 0);
        EXPECT_EQ(PeekMessageType(), MESSAGE_WAITFORDISCONNECT);
        int32_t Type;
        intptr_t Param1, Param2;
        PopMessage(Type, Param1, Param2);
        for (int32_t i = 1; i <= Full; i++) {
            PopMessage(Type, Param1, Param2);
            EXPECT_EQ(Param1, i);
        }
        PopMessage(Type, Param1, Param2);
        EXPECT_EQ(Type, MESSAGE_NONE);
        EXPECT_EQ(Param1, 0);
        EXPECT_EQ(Param2, 0);
        EXPECT_EQ(GetMessageCount(), 0) << "popping an empty queue keeps the count at 0";
    }
    EXPECT_EQ(PeekMessageType(), MESSAGE_NONE);
}

TEST_F(EventQueueTest, TypesOutsideTheTableAreRefused) {
    EXPECT_THROW(AddMessage(73, 0, 0), TMyException);
    EXPECT_THROW(AddPriorityMessage(-1, 0, 0), TMyException);
    EXPECT_THROW(AddMessage(MESSAGE_NONE, 0, 0), TMyException) << "type 0 would stall the queue";
    EXPECT_EQ(GetMessageCount(), 0);
    try {
        AddMessage(80, 0, 0);
    } catch (const TMyException& Error) {
        EXPECT_NE(Error.getText().find("(Type = 80), reason:\nIn(Type,MESSAGE_NONE,MESSAGE_STARTPATCHER)"),
                  std::string::npos);
    }
}

TEST_F(EventQueueTest, ParametersHoldWholePointers) {
    char* Text = NewMessageText("Connection refused.");
    AddMessage(MESSAGE_MESSAGEBOX, MessageParameter("Connection failed"), MessageParameter(Text));
    int32_t Type;
    intptr_t Param1, Param2;
    PopMessage(Type, Param1, Param2);
    EXPECT_EQ(MessagePointer<char>(Param2), Text);
    EXPECT_STREQ(MessagePointer<char>(Param2), "Connection refused.");
    FreeMessageParameters(Type, Param1, Param2);
}

// Leaks and wrong frees are caught by the sanitizers: every heap block below must be freed exactly once,
// and the static and stack parameters never.
TEST_F(EventQueueTest, ClearMessagesFreesWhatEachQueuedEventOwns) {
    static const char Title[] = "Sorry";
    int Local = 0;
    auto* Record = static_cast<intptr_t*>(NewMessageBlock(2 * sizeof(intptr_t)));
    Record[0] = MessageParameter(NewMessageText("first"));
    Record[1] = MessageParameter(NewMessageText("second"));
    AddMessage(MESSAGE_EDITTEXT, MessageParameter(NewMessageText("caption")), MessageParameter(Record));
    AddMessage(MESSAGE_MESSAGEBOX, MessageParameter(Title), MessageParameter(NewMessageText("text")));
    AddMessage(MESSAGE_MESSAGEBOX2, MessageParameter(Title), 0);
    AddMessage(MESSAGE_OBJECTMENU, MessageParameter(&Local), MessageParameter(&Local));
    AddMessage(MESSAGE_WAITINGLIST, MessageParameter(NewMessageText("queue")), 30);
    AddMessage(MESSAGE_CHANNELLIST, MessageParameter(NewMessageBlock(64)), 0);
    AddMessage(MESSAGE_GAMEMASTERRULEVIOLATION, 0, MessageParameter(NewMessageText("statement")));
    AddMessage(MESSAGE_OPENCHANNEL, 7, MessageParameter(NewMessageText("Trade")));
    AddMessage(MESSAGE_DOWNLOAD, MessageParameter("Ebrun.spr"), 1000);
    AddMessage(MESSAGE_MAPMARKMENU, MessageParameter(NewMessageBlock(32)), 0);
    ClearMessages();
    EXPECT_EQ(GetMessageCount(), 0);
    EXPECT_EQ(PeekMessageType(), MESSAGE_NONE);
}

TEST_F(EventQueueTest, DialogStopsThePassUntilItHasFinished) {
    TRecordingActions Actions;
    Actions.OpensModal = {MESSAGE_MESSAGEBOX, MESSAGE_OPTIONS};
    AddMessage(MESSAGE_MESSAGEBOX, MessageParameter("Sorry"), MessageParameter(NewMessageText("text")));
    AddMessage(MESSAGE_OPTIONS, 0, 0);
    DispatchMessages(Actions);
    EXPECT_EQ(Actions.Log, (Log{"1", "dialog", "frame"}));
    EXPECT_EQ(GetActionState(), ACTIONSTATE_DIALOG);
    EXPECT_EQ(QueuedTypes(), std::vector<int32_t>{MESSAGE_OPTIONS});

    Actions.Log.clear();
    DispatchMessages(Actions);
    EXPECT_EQ(Actions.Log, Log{"frame"}) << "the box is still open";

    SetActionState(ACTIONSTATE_NONE);
    Actions.Log.clear();
    DispatchMessages(Actions);
    EXPECT_EQ(Actions.Log, (Log{"destroy", "33", "dialog", "frame"}));
    EXPECT_EQ(GetMessageCount(), 0);
}

TEST_F(EventQueueTest, ContextMenuSetsItsOwnActionState) {
    TRecordingActions Actions;
    Actions.OpensModal = {MESSAGE_OBJECTMENU};
    AddMessage(MESSAGE_OBJECTMENU, 0, 0);
    DispatchMessages(Actions);
    EXPECT_EQ(Actions.Log, (Log{"52", "menu", "frame"}));
    EXPECT_EQ(GetActionState(), ACTIONSTATE_CONTEXTMENU);
}

TEST_F(EventQueueTest, WaitForDisconnectHoldsTheQueueWhileConnected) {
    TRecordingActions Actions;
    SetConnectionState(CONNECTIONSTATE_LOGIN);
    AddMessage(MESSAGE_WAITFORDISCONNECT, 0, 0);
    AddMessage(MESSAGE_LOGINDIALOG, 0, 0);
    DispatchMessages(Actions);
    EXPECT_EQ(Actions.Log, Log{"frame"});
    EXPECT_EQ(QueuedTypes(), (std::vector<int32_t>{MESSAGE_WAITFORDISCONNECT, MESSAGE_LOGINDIALOG}));

    SetConnectionState(CONNECTIONSTATE_OFFLINE);
    Actions.Log.clear();
    DispatchMessages(Actions);
    EXPECT_EQ(Actions.Log, (Log{"8", "frame"}));
}

TEST_F(EventQueueTest, StartPatcherEndsThePassAtOnce) {
    TRecordingActions Actions;
    SetConnectionState(CONNECTIONSTATE_GAME);
    AddMessage(MESSAGE_STARTPATCHER, 0, 0);
    AddMessage(MESSAGE_OPTIONS, 0, 0);
    DispatchMessages(Actions);
    EXPECT_EQ(Actions.Log, Log{"72"}) << "no creature step, no frame";
    EXPECT_EQ(GetMessageCount(), 1);
}

TEST_F(EventQueueTest, CapturedMouseLeavesTheQueueAndInGameTheCreaturesMove) {
    TRecordingActions Actions;
    Actions.Captured = true;
    SetConnectionState(CONNECTIONSTATE_GAME);
    AddMessage(MESSAGE_HELP, 0, 0);
    DispatchMessages(Actions);
    EXPECT_EQ(Actions.Log, (Log{"move", "frame"}));
    EXPECT_EQ(GetMessageCount(), 1);
}

TEST_F(EventQueueTest, EventPostedByAnActionIsTakenInTheSamePass) {
    TRecordingActions Actions;
    Actions.OnPerform = [](int32_t Type, intptr_t, intptr_t) {
        if (Type == MESSAGE_CONNECTLOGIN) AddMessage(MESSAGE_LOADINGCHARACTERS, 0, 0);
    };
    AddMessage(MESSAGE_CONNECTLOGIN, 0, 0);
    AddMessage(MESSAGE_USEWITHCURSOR, 0, 0);
    DispatchMessages(Actions);
    EXPECT_EQ(Actions.Log, (Log{"61", "44", "3", "frame"}));
}

TEST_F(EventQueueTest, ParametersAreFreedAfterTheActionEvenWhenItFails) {
    TRecordingActions Actions;
    std::string Seen;
    Actions.OnPerform = [&](int32_t, intptr_t, intptr_t Param2) {
        Seen = MessagePointer<char>(Param2);
        throw TMyException("Control.cpp", 1, "dialog failed", "", 0, "", 0, "");
    };
    AddMessage(MESSAGE_MESSAGEBOX, MessageParameter("Error"), MessageParameter(NewMessageText("heap text")));
    EXPECT_THROW(DispatchMessages(Actions), TMyException);
    EXPECT_EQ(Seen, "heap text");
}
