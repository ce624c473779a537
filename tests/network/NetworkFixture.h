// Shared set-up of the connection tests: recording network handlers, a scripted resolver, a frame window that
// hands look-up answers on, and helpers to read the queued events.
#pragma once

#include "network/Network.h"
#include "platform/Resolver.h"
#include "state/Events.h"
#include "state/Preferences.h"
#include "state/Status.h"

#include "LoopbackPeer.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <mutex>
#include <string>
#include <vector>

// Answers look-ups from a script, one result per call (the last one repeats); holds answers back while
// blocked.
class TScriptedResolver : public THostResolver {
public:
    THostLookupResult resolve(const std::string& HostName) override {
        std::unique_lock<std::mutex> Guard(Lock);
        Asked.push_back(HostName);
        Changed.wait(Guard, [&] { return !Blocked; });
        THostLookupResult Result = Script.empty() ? THostLookupResult{0, "127.0.0.1"} : Script.front();
        if (Script.size() > 1) Script.pop_front();
        return Result;
    }
    void setScript(std::deque<THostLookupResult> Results) {
        std::lock_guard<std::mutex> Guard(Lock);
        Script = std::move(Results);
    }
    void setBlocked(bool Value) {
        std::lock_guard<std::mutex> Guard(Lock);
        Blocked = Value;
        Changed.notify_all();
    }
    size_t askedCount() {
        std::lock_guard<std::mutex> Guard(Lock);
        return Asked.size();
    }

private:
    std::mutex Lock;
    std::condition_variable Changed;
    std::deque<THostLookupResult> Script;
    std::vector<std::string> Asked;
    bool Blocked = false;
};

// Stands in for the frame window: hands the look-up answer on and remembers which entry it was for.
class TForwardingWindow : public TWindowMessageTarget {
public:
    std::vector<int32_t> AnsweredServers;
    std::function<void()> BeforeAnswer;
    void onWindowMessage(uint32_t Message, uintptr_t WParam, uintptr_t LParam) override {
        ASSERT_EQ(Message, WM_HOSTNAME_RESOLVED);
        AnsweredServers.push_back(GetCurrentServer());
        if (BeforeAnswer) BeforeAnswer();
        ReceiveHostnameAnswer(WParam, LParam);
    }
};

struct TQueuedEvent {
    int32_t Type;
    intptr_t Param1, Param2;
    std::string Title, Text; // of a message box
};

class NetworkTest : public ::testing::Test {
protected:
    static inline int Connected = 0, Received = 0, Closed = 0;
    static inline std::function<void()> OnReceived;
    static void ConnectedHandler() { Connected++; }
    static void ReceivedHandler() {
        Received++;
        if (OnReceived) OnReceived();
    }
    static void ClosedHandler() { Closed++; }
    static bool NoWarning() { return true; }

    void SetUp() override {
        Connected = Received = Closed = 0;
        OnReceived = nullptr;
        InitStatus(0, NoWarning);
        SetTestServer(false);
        Resolver = std::make_shared<TScriptedResolver>();
        SetHostResolver(Resolver);
        SetLoginServerEndpoint("login.pellarune.test", TLoopbackPeer::unusedPort());
        InitNetwork(ConnectedHandler, ReceivedHandler, ClosedHandler);
        SetNetworkWindow(&Window);
    }
    void TearDown() override {
        ExitNetwork();
        SetNetworkWindow(nullptr);
        Resolver->setBlocked(false);
        SetHostResolver(nullptr);
        SetTestServer(false);
        SetLoginServerEndpoint(LOGIN_SERVER_HOSTNAME, LOGIN_SERVER_PORT);
        ExitStatus();
    }

    // Takes every queued event; message-box texts are copied and freed.
    static std::vector<TQueuedEvent> TakeEvents() {
        std::vector<TQueuedEvent> Events;
        while (GetMessageCount() > 0) {
            TQueuedEvent Event{};
            PopMessage(Event.Type, Event.Param1, Event.Param2);
            if (Event.Type == MESSAGE_MESSAGEBOX) {
                Event.Title = MessagePointer<char>(Event.Param1);
                Event.Text = MessagePointer<char>(Event.Param2);
            }
            FreeMessageParameters(Event.Type, Event.Param1, Event.Param2);
            Events.push_back(Event);
        }
        return Events;
    }

    std::shared_ptr<TScriptedResolver> Resolver;
    TForwardingWindow Window;
};
