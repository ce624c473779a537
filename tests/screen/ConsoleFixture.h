// Shared set-up of the console tests: the bench fonts and skins, the chat model, and a game server on
// loopback that reads back each client message the console sends as a short line ("leave 3", "talk 1 hello",
// ...).
#pragma once

#include "foundation/Utils.h"
#include "foundation/sysinc.h"
#include "gui/DialogElementsEdit.h"
#include "gui/GUIServices.h"
#include "gui/KeyCodes.h"
#include "network/CommunicationSend.h"
#include "network/Network.h"
#include "screen/ConsoleWindow.h"
#include "state/Creatures.h"
#include "state/CreaturesPlayer.h"
#include "state/Events.h"
#include "state/Preferences.h"
#include "state/Status.h"
#include "state/StatusClipboard.h"
#include "state/Talk.h"
#include "state/TalkFilter.h"
#include "state/TalkRouting.h"
#include "tests/gui/Probes.h"
#include "tests/gui/SkinScreen.h"
#include "tests/network/ClientConnection.h"
#include "tests/network/ClientMessages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// A client message of the console as a short line: "talk 1 hello", "private 4 Brenna hi", "channel 5 3 hi",
// "channels", "join 4", "leave 3", "remove Brenna", "cancel", "invite Brenna", "exclude Brenna"; the command
// number for any other.
inline std::string DescribeClientMessage(const std::vector<uint8_t>& Message) {
    size_t At = 1;
    auto Byte = [&]() -> int { return At < Message.size() ? Message[At++] : -1; };
    auto Word = [&] {
        const int Low = Byte();
        return Low | Byte() << 8;
    };
    auto Text = [&] {
        const size_t Length = static_cast<size_t>(Word());
        std::string Read;
        for (size_t i = 0; i < Length && At < Message.size(); i++)
            Read += static_cast<char>(Byte());
        return Read;
    };
    switch (Message.empty() ? -1 : Message[0]) {
    case 150: {
        const int Mode = Byte();
        const std::string Head = std::to_string(Mode) + " ";
        if (Mode == TALK_PRIVATE_MESSAGE || Mode == TALK_GAMEMASTER_ANSWER ||
            Mode == TALK_GAMEMASTER_MESSAGE || Mode == TALK_ANONYMOUS_MESSAGE) {
            const std::string Addressee = Text();
            return "private " + Head + Addressee + " " + Text();
        }
        if (Mode == TALK_CHANNEL_CALL || Mode == TALK_GAMEMASTER_CHANNELCALL ||
            Mode == TALK_ANONYMOUS_CHANNELCALL) {
            const std::string Channel = std::to_string(Word());
            return "channel " + Head + Channel + " " + Text();
        }
        return "talk " + Head + Text();
    }
    case 151:
        return "channels";
    case 152:
        return "join " + std::to_string(Word());
    case 153:
        return "leave " + std::to_string(Word());
    case 156:
        return "remove " + Text();
    case 157:
        return "cancel";
    case 171:
        return "invite " + Text();
    case 172:
        return "exclude " + Text();
    default:
        return "command " + std::to_string(Message.empty() ? -1 : Message[0]);
    }
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
        EXPECT_TRUE(StartClientOnPeer(Server, KEY));
    }
    ~ConsoleFixture() override {
        ExitNetwork();
        ClearMessages();
        ExitTalk();
        ExitClipboardGuard();
        ExitSystem();
    }
    static void tick(int32_t Count) {
        for (int32_t i = 0; i < Count; i++)
            IncreaseTickCounter();
    }

    // The client messages sent since the last call: a ping answer goes out behind them and everything before
    // it is read.
    std::vector<std::string> sentMessages() {
        SendPingAnswer();
        std::vector<std::string> Lines;
        for (;;) {
            const std::vector<uint8_t> Message = ReadClientMessage(Server, KEY);
            if (Message.empty() || Message[0] == 30) return Lines;
            Lines.push_back(DescribeClientMessage(Message));
        }
    }

    TSkinScreen Screen;
    TLoopbackPeer Server;

private:
    static constexpr uint8_t KEY[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
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
        sentMessages();
        type(Line);
        Console->keyPressed(KEY_ENTER);
        std::string All;
        for (const std::string& Sent : sentMessages())
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
