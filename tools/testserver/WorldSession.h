// A game session that plays the server's live world of its plan's setup: after the game login it enters the
// character, hands the client's commands to the world and sends what the world has queued for the player
// once per slice, until the client logs out or closes.
#pragma once

#include "tools/testserver/GameWorld.h"
#include "tools/testserver/Session.h"

namespace testserver {

class TWorldSession : public TGameSession {
public:
    using TGameSession::TGameSession;

protected:
    void afterAnswer() override;

private:
    // Packs each batch into as few frames as the client's receive buffer allows and sends them.
    void send(const TOutbox& Batches);
    // Reads, records and answers one command; false when the client went away or logged out.
    bool answerCommand(TGameWorld& World, TPlayer& Player);
};

} // namespace testserver
