// A game session that plays the world: after the game login it enters the player into a fresh copy of the
// village, answers the client's commands, walks paced paths and moves the townsfolk when asked or on the
// world's clock, until the client logs out or closes.
#pragma once

#include "tools/testserver/Game.h"
#include "tools/testserver/Session.h"

namespace testserver {

class TWorldSession : public TGameSession {
public:
    using TGameSession::TGameSession;

protected:
    void afterAnswer() override;

private:
    // Packs the messages into as few frames as the client's receive buffer allows and sends them.
    void send(const std::vector<TMessage>& Messages);
    // Reads, records and answers one command; false when the client went away or logged out.
    bool answerCommand(TGame& Game);
};

} // namespace testserver
