// The thread-safe record of received logins, commands and protocol errors.
#include "tools/testserver/Recorder.h"

namespace testserver {

std::vector<TClientCommand> TReceived::commandsOf(std::string_view Character) const {
    std::vector<TClientCommand> Sent;
    for (const TClientCommand& Command : GameCommands)
        if (SameName(Command.Character, Character)) Sent.push_back(Command);
    return Sent;
}

template <typename Change> void TRecorder::update(Change&& Apply) {
    {
        std::lock_guard Lock(Mutex);
        Apply(Data);
    }
    Changed.notify_all();
}

void TRecorder::countConnection(bool Game) {
    update([&](TReceived& r) { ++(Game ? r.GameConnections : r.LoginConnections); });
}

void TRecorder::addLogin(TLoginRecord Record) {
    update([&](TReceived& r) { r.Logins.push_back(std::move(Record)); });
}

void TRecorder::addGameLogin(TGameLoginRecord Record) {
    update([&](TReceived& r) { r.GameLogins.push_back(std::move(Record)); });
}

void TRecorder::addCommand(TMessage Command) {
    update([&](TReceived& r) { r.Commands.push_back(std::move(Command)); });
}

void TRecorder::addGameCommand(TClientCommand Command) {
    update([&](TReceived& r) { r.GameCommands.push_back(std::move(Command)); });
}

void TRecorder::addError(std::string Text) {
    update([&](TReceived& r) { r.Errors.push_back(std::move(Text)); });
}

TReceived TRecorder::snapshot() const {
    std::lock_guard Lock(Mutex);
    return Data;
}

bool TRecorder::waitUntil(const std::function<bool(const TReceived&)>& Condition,
                          std::chrono::milliseconds Limit) const {
    std::unique_lock Lock(Mutex);
    return Changed.wait_for(Lock, Limit, [&] { return Condition(Data); });
}

} // namespace testserver
