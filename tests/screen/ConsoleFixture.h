// Shared set-up of the console tests: the bench fonts and skins, the chat model, and senders that record
// each client message as a short line ("leave 3", "talk 1 hello", ...) instead of sending it.
#pragma once

#include "foundation/Utils.h"
#include "foundation/sysinc.h"
#include "gui/DialogElementsEdit.h"
#include "gui/GUIServices.h"
#include "screen/ConsoleWindow.h"
#include "state/Creatures.h"
#include "state/CreaturesPlayer.h"
#include "state/Events.h"
#include "state/Preferences.h"
#include "state/Status.h"
#include "state/StatusClipboard.h"
#include "state/TalkFilter.h"
#include "state/TalkRouting.h"
#include "tests/gui/Probes.h"
#include "tests/gui/SkinScreen.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

inline std::vector<std::string> SentMessages;

inline TConsoleSenders RecordingSenders() {
    TConsoleSenders Senders;
    Senders.Talk = [](int32_t Mode, const char* Text) {
        SentMessages.push_back("talk " + std::to_string(Mode) + " " + Text);
    };
    Senders.PrivateTalk = [](int32_t Mode, const char* Addressee, const char* Text) {
        SentMessages.push_back("private " + std::to_string(Mode) + " " + Addressee + " " + Text);
    };
    Senders.ChannelTalk = [](int32_t Mode, int32_t Channel, const char* Text) {
        SentMessages.push_back("channel " + std::to_string(Mode) + " " + std::to_string(Channel) + " " +
                               Text);
    };
    Senders.GetChannels = [] { SentMessages.push_back("channels"); };
    Senders.JoinChannel = [](int32_t Channel) { SentMessages.push_back("join " + std::to_string(Channel)); };
    Senders.LeaveChannel = [](int32_t Channel) {
        SentMessages.push_back("leave " + std::to_string(Channel));
    };
    Senders.RemoveRequest = [](const char* Name) { SentMessages.push_back(std::string("remove ") + Name); };
    Senders.CancelRequest = [] { SentMessages.push_back("cancel"); };
    Senders.InviteToChannel = [](const char* Name) { SentMessages.push_back(std::string("invite ") + Name); };
    Senders.ExcludeFromChannel = [](const char* Name) {
        SentMessages.push_back(std::string("exclude ") + Name);
    };
    return Senders;
}

class ConsoleFixture : public ::testing::Test {
protected:
    ConsoleFixture() {
        InitSystem();
        InitClipboardGuard();
        ResetOptions();
        SetTimeStamps(false);
        ClearMessages();
        InitTalk();
        SentMessages.clear();
        SetConsoleSenders(RecordingSenders());
    }
    ~ConsoleFixture() override {
        SetConsoleSenders(NetworkConsoleSenders());
        ClearMessages();
        ExitTalk();
        ExitClipboardGuard();
        ExitSystem();
    }
    static void tick(int32_t Count) {
        for (int32_t i = 0; i < Count; i++)
            IncreaseTickCounter();
    }

    TSkinScreen Screen;
};

// A console of 600 x 150 with its default tab, the player "Aldo" in the world, and the account 123456 with
// the password "secret".
class ConsoleWindowFixture : public ConsoleFixture {
protected:
    ConsoleWindowFixture() {
        ResetShortcuts();
        InitCreatures();
        SetPlayerID(PLAYER);
        CopyString(NewCreature(0, PLAYER)->Name, "Aldo");
        SetAccount(123456, "secret");
        Place(&Root, 0, 0, 800, 600);
    }
    ~ConsoleWindowFixture() override {
        if (Console != nullptr) Root.deleteChild(Console);
        SetAccount(0, "");
    }
    void build() {
        Console = new TConsoleWindow;
        Root.appendChild(Console);
        Console->setPosition(0, 400);
        Console->setSize(600, 150);
        Console->openDefaultTab(DefaultTextBuffer(), "Default");
    }
    void type(const std::string& Keys) {
        for (char c : Keys)
            Console->keyPressed(static_cast<uint8_t>(c));
    }
    // Types the line and presses Enter; answers what was sent, "" when nothing.
    std::string send(const std::string& Line) {
        SentMessages.clear();
        type(Line);
        Console->keyPressed(13);
        std::string All;
        for (const std::string& Sent : SentMessages)
            All += (All.empty() ? "" : "; ") + Sent;
        return All;
    }
    std::string input() const { return Console->Input->getText(); }
    TConsoleTab* currentTab() const { return Console->TabBar->getCurrentTab(); }
    bool present(TComponent* Control) const { return Control->getParent() == Console; }

    static constexpr uint32_t PLAYER = 0x10000001;
    TParentComponent Root;
    TConsoleWindow* Console = nullptr;
};
