// The world session's loop: commands, creature steps and paced walking over one connection.
#include "tools/testserver/WorldSession.h"

namespace testserver {

namespace {

// How long the loop waits for a command before it looks at the creature steps and the walk again.
constexpr std::chrono::milliseconds WAIT_SLICE{20};

bool FitsOneFrame(size_t MessageBytes) { return (MessageBytes + 2 + 7) / 8 * 8 <= MAX_SERVER_FRAME_BODY; }

} // namespace

void TWorldSession::afterAnswer() {
    TGame Game(*Plan.World, CharacterName);
    // Counted before the player enters, so that every step asked for once the client has entered is taken.
    uint32_t StepsDone = Context.CreatureSteps ? Context.CreatureSteps->load() : 0;
    send(Game.enter());
    log("game: " + CharacterName + " entered the world");
    const std::chrono::milliseconds Interval = Plan.World->Options.CreatureInterval;
    auto NextCreatureStep = TGame::TClock::now() + Interval;
    for (;;) {
        auto Now = TGame::TClock::now();
        for (uint32_t Asked = Context.CreatureSteps ? Context.CreatureSteps->load() : 0; StepsDone != Asked;
             ++StepsDone)
            send(Game.stepCreatures());
        if (Interval.count() > 0 && Now >= NextCreatureStep) {
            send(Game.stepCreatures());
            NextCreatureStep = Now + Interval;
        }
        if (std::optional<TGame::TClock::time_point> Due = Game.nextStepAt(); Due && Now >= *Due)
            send(Game.walkOn(Now));
        int Ready = Connection.waitReadable(WAIT_SLICE);
        if (Ready < 0 || (Ready > 0 && !answerCommand(Game))) return;
    }
}

bool TWorldSession::answerCommand(TGame& Game) {
    std::optional<TMessage> Raw = readCommand();
    if (!Raw) return false;
    Context.Recorder.addCommand(*Raw);
    TClientCommand Command;
    try {
        Command = ParseClientCommand(*Raw);
    } catch (const TWireError& Error) {
        // The frame was whole, so the stream is intact: the broken command is recorded and skipped.
        std::string Text =
            "game: command " + std::to_string(Raw->empty() ? -1 : (*Raw)[0]) + ": " + Error.what();
        log(Text);
        Context.Recorder.addError(std::move(Text));
        return true;
    }
    Context.Recorder.addGameCommand(Command);
    send(Game.handle(Command, TGame::TClock::now()));
    return !Game.loggedOut();
}

void TWorldSession::send(const std::vector<TMessage>& Messages) {
    std::vector<uint8_t> Bytes;
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
    Connection.writeAll(Bytes);
}

} // namespace testserver
