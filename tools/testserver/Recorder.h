// What the test server received, kept for the assertions of tests; safe to use from any thread.
#pragma once

#include "tools/testserver/ClientCommands.h"
#include "tools/testserver/Logins.h"
#include "tools/testserver/Wire.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace testserver {

// Everything received since the server started, in arrival order.
struct TReceived {
    uint32_t LoginConnections = 0; // accepted connections of each role
    uint32_t GameConnections = 0;
    std::vector<TLoginRecord> Logins;
    std::vector<TGameLoginRecord> GameLogins;
    std::vector<TMessage> Commands; // deciphered client commands after a game login, command byte first
    std::vector<TClientCommand> GameCommands; // the decoding of each whole command, with its sender
    std::vector<std::string> Errors;          // the peer broke the protocol: what and where

    // The decoded commands that sessions of Character sent (the name without regard to case), in order.
    std::vector<TClientCommand> commandsOf(std::string_view Character) const;
};

class TRecorder {
public:
    void countConnection(bool Game);
    void addLogin(TLoginRecord Record);
    void addGameLogin(TGameLoginRecord Record);
    void addCommand(TMessage Command);
    void addGameCommand(TClientCommand Command);
    void addError(std::string Text);

    TReceived snapshot() const;
    // Waits until Condition holds for what was received, at most Limit; true when it holds.
    bool waitUntil(const std::function<bool(const TReceived&)>& Condition,
                   std::chrono::milliseconds Limit) const;

private:
    template <typename Change> void update(Change&& Apply);

    mutable std::mutex Mutex;
    mutable std::condition_variable Changed;
    TReceived Data;
};

} // namespace testserver
