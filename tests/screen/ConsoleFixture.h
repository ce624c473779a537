// Shared set-up of the console tests: the bench fonts and skins, the chat model, and senders that record
// each client message as a short line ("leave 3", "talk 1 hello", ...) instead of sending it.
#pragma once

#include "screen/ConsoleWindow.h"
#include "state/Events.h"
#include "state/Preferences.h"
#include "state/Status.h"
#include "state/TalkRouting.h"
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
    }
    static void tick(int32_t Count) {
        for (int32_t i = 0; i < Count; i++)
            IncreaseTickCounter();
    }

    TSkinScreen Screen;
};
