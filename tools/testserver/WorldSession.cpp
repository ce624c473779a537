// The world session's loop over one connection: the world's ticks and the client's commands.
#include "tools/testserver/WorldSession.h"

#include "tools/testserver/Messages.h"
#include "tools/testserver/WorldRoads.h"

namespace testserver {

namespace {

// How long the loop waits for a command before it ticks the world and sends what waits again.
constexpr std::chrono::milliseconds WAIT_SLICE{20};

bool FitsOneFrame(size_t MessageBytes) { return (MessageBytes + 2 + 7) / 8 * 8 <= MAX_SERVER_FRAME_BODY; }

// Takes the player out of the world however the session ends.
struct TLeaveOnExit {
    TGameWorld& World;
    TPlayer& Player;
    ~TLeaveOnExit() { World.leave(Player); }
};

} // namespace

void TWorldSession::afterAnswer() {
    std::shared_ptr<TGameWorld> World = Context.Worlds.of(Plan.World);
    std::shared_ptr<TPlayer> Player =
        World->enter({CharacterName, Account, Gamemaster}, TGameWorld::TClock::now());
    if (!Player) {
        log("game: " + CharacterName + " is in the world already");
        send({{GameErrorMessage("You are already logged in.")}});
        return;
    }
    TLeaveOnExit Leave{*World, *Player};
    log("game: " + CharacterName + " entered the world");
    for (;;) {
        send(World->tick(*Player, TGameWorld::TClock::now()));
        int Ready = Connection.waitReadable(WAIT_SLICE);
        if (Ready < 0 || (Ready > 0 && !answerCommand(*World, *Player))) break;
    }
    log("game: " + CharacterName + " left the world");
}

bool TWorldSession::answerCommand(TGameWorld& World, TPlayer& Player) {
    std::optional<TMessage> Raw = readCommand();
    if (!Raw) return false;
    std::optional<TClientCommand> Command = recordCommand(*Raw, &Handlers());
    if (!Command) return true;
    send(World.act(Player, *Command, TGameWorld::TClock::now()));
    return !Player.LoggedOut;
}

void TWorldSession::send(const TOutbox& Batches) {
    std::vector<uint8_t> Bytes;
    for (const std::vector<TMessage>& Messages : Batches) {
        TMessage Batch;
        auto Seal = [&] {
            std::vector<uint8_t> Frame = SealFrame(*Cipher, Batch, Random);
            Bytes.insert(Bytes.end(), Frame.begin(), Frame.end());
            Batch.clear();
        };
        for (const TMessage& Message : Messages) {
            if (!Batch.empty() && !FitsOneFrame(Batch.size() + Message.size())) Seal();
            Batch.insert(Batch.end(), Message.begin(), Message.end());
        }
        if (!Batch.empty()) Seal();
    }
    if (!Bytes.empty()) Connection.writeAll(Bytes);
}

} // namespace testserver
