// The sessions of the test server: reading the logins, sending the plan's answer with its faults.
#include "tools/testserver/Session.h"

#include "tools/testserver/WorldRoads.h"
#include "tools/testserver/WorldSession.h"

#include <algorithm>
#include <cstdio>

namespace testserver {

namespace {

// How often a session looks whether its hold is released.
constexpr std::chrono::milliseconds HOLD_SLICE{10};

std::string SignatureText(uint32_t Signature) {
    char Text[16];
    std::snprintf(Text, sizeof(Text), "%08X", Signature);
    return Text;
}

} // namespace

TSession::TSession(TConnection& Connection, TSessionContext& Context, TPlan Plan)
    : Connection(Connection), Context(Context), Plan(std::move(Plan)), Random(std::random_device()()) {}

void TSession::run() {
    try {
        play();
    } catch (const std::exception& Error) {
        std::string Text = std::string(roleName()) + ": " + Error.what();
        log(Text);
        Context.Recorder.addError(std::move(Text));
    }
    Connection.closeGracefully();
}

void TSession::play() {
    const TFault Fault = Plan.Misbehaviour.Fault;
    if (Fault == TFault::CloseAtOnce) return;
    std::optional<TXteaKey> Key = readLogin();
    if (!Key || Fault == TFault::CloseAfterLogin) return;
    Cipher.emplace(*Key);
    if (Fault == TFault::Stall) return Connection.discardUntilClosed();
    sendAnswer(answerPieces());
    if (Fault != TFault::CloseAfterBytes) afterAnswer();
}

std::vector<TSession::TPiece> TSession::answerPieces() {
    const TMisbehaviour& Fault = Plan.Misbehaviour;
    if (Fault.Fault == TFault::BadFrameLength) {
        TWireWriter Frame;
        Frame.u16(static_cast<uint16_t>(Fault.Value));
        for (uint32_t i = 0; i < static_cast<uint16_t>(Fault.Value); ++i)
            Frame.u8(static_cast<uint8_t>(Random()));
        return {{nullptr, Frame.take()}};
    }
    if (!Plan.Holds.empty() && !Plan.FramePerMessage) throw TWireError("a hold inside one frame");
    std::vector<TPiece> Pieces(1);
    const uint16_t BadInner = static_cast<uint16_t>(Fault.Value);
    const uint16_t* InnerLength = Fault.Fault == TFault::BadInnerLength ? &BadInner : nullptr;
    auto Seal = [&](std::span<const uint8_t> Messages) {
        std::vector<uint8_t> Frame = SealFrame(*Cipher, Messages, Random, InnerLength);
        Pieces.back().Bytes.insert(Pieces.back().Bytes.end(), Frame.begin(), Frame.end());
        InnerLength = nullptr;
    };
    if (Plan.FramePerMessage) {
        auto Hold = Plan.Holds.begin();
        for (size_t i = 0; i < Plan.Answer.size(); ++i) {
            if (Hold != Plan.Holds.end() && Hold->first == i) Pieces.push_back({(Hold++)->second, {}});
            Seal(Plan.Answer[i]);
        }
        for (; Hold != Plan.Holds.end(); ++Hold) // past the end: they hold the close
            Pieces.push_back({Hold->second, {}});
    } else if (!Plan.Answer.empty()) {
        TMessage All;
        for (const TMessage& Message : Plan.Answer)
            All.insert(All.end(), Message.begin(), Message.end());
        Seal(All);
    }
    return Pieces;
}

void TSession::sendAnswer(std::vector<TPiece> Pieces) {
    const TMisbehaviour& Fault = Plan.Misbehaviour;
    size_t Left = Fault.Fault == TFault::CloseAfterBytes ? Fault.Value : SIZE_MAX;
    for (const TPiece& Piece : Pieces) {
        if (Piece.Hold && (Left == 0 || !awaitRelease(*Piece.Hold))) return;
        const size_t Count = std::min(Left, Piece.Bytes.size());
        Left -= Count;
        if (!sendBytes(std::span(Piece.Bytes).first(Count))) return;
    }
}

bool TSession::sendBytes(std::span<const uint8_t> Bytes) {
    if (Plan.Misbehaviour.Fault != TFault::Trickle) return Connection.writeAll(Bytes);
    for (size_t i = 0; i < Bytes.size(); ++i)
        if (!Connection.writeAll(Bytes.subspan(i, 1)) || !Connection.pause(Context.TrickleDelay))
            return false;
    return true;
}

bool TSession::awaitRelease(const THold& Hold) {
    while (!Hold.released())
        if (!Connection.pause(HOLD_SLICE)) return false;
    return true;
}

void TSession::afterAnswer() {
    if (Plan.CloseAfterAnswer) return;
    while (std::optional<TMessage> Command = readCommand())
        Context.Recorder.addCommand(std::move(*Command));
}

std::optional<std::vector<uint8_t>> TSession::readPlainFrame() {
    std::vector<uint8_t> Frame(2);
    if (!Connection.readExact(Frame)) return std::nullopt;
    size_t Length = static_cast<size_t>(Frame[0] | Frame[1] << 8);
    if (Length > MAX_CLIENT_FRAME_BODY)
        throw TWireError("plain frame of " + std::to_string(Length) + " bytes");
    Frame.resize(2 + Length);
    if (!Connection.readExact(std::span(Frame).subspan(2))) return std::nullopt;
    return Frame;
}

std::optional<TMessage> TSession::readCommand() {
    uint8_t LengthBytes[2];
    if (!Connection.readExact(LengthBytes)) return std::nullopt;
    size_t Length = static_cast<size_t>(LengthBytes[0] | LengthBytes[1] << 8);
    if (Length > MAX_CLIENT_FRAME_BODY)
        throw TWireError("enciphered frame of " + std::to_string(Length) + " bytes");
    std::vector<uint8_t> Body(Length);
    if (!Connection.readExact(Body)) return std::nullopt;
    std::span<const uint8_t> Command = OpenFrame(*Cipher, Body);
    return TMessage(Command.begin(), Command.end());
}

void TSession::log(const std::string& Text) const {
    if (Context.Log) Context.Log(Text);
}

std::optional<TXteaKey> TLoginSession::readLogin() {
    std::optional<std::vector<uint8_t>> Frame = readPlainFrame();
    if (!Frame) return std::nullopt;
    TLoginRecord Record = ParseLoginServerLogin(std::span(*Frame).subspan(2), Context.Key);
    Record.Frame = std::move(*Frame);
    log("login: account " + std::to_string(Record.Account) + ", password \"" + Record.Password +
        "\", version " + std::to_string(Record.Version) + ", signatures " +
        SignatureText(Record.DatSignature) + " " + SignatureText(Record.SprSignature) + " " +
        SignatureText(Record.PicSignature));
    if (Plan.Respond) {
        TResponse Response = Plan.Respond(Record);
        Plan.Answer = std::move(Response.Answer);
        Plan.Holds = std::move(Response.Holds);
    }
    TXteaKey Key = Record.Key;
    Context.Recorder.addLogin(std::move(Record));
    return Key;
}

std::optional<TXteaKey> TGameSession::readLogin() {
    std::optional<std::vector<uint8_t>> Frame = readPlainFrame();
    if (!Frame) return std::nullopt;
    TGameLoginRecord Record = ParseGameServerLogin(std::span(*Frame).subspan(2), Context.Key);
    Record.Frame = std::move(*Frame);
    log("game: account " + std::to_string(Record.Account) + ", character \"" + Record.CharacterName +
        "\", password \"" + Record.Password + "\", gamemaster " + std::to_string(Record.GamemasterFlag) +
        ", version " + std::to_string(Record.Version));
    TXteaKey Key = Record.Key;
    CharacterName = Record.CharacterName;
    Account = Record.Account;
    Gamemaster = Record.GamemasterFlag != 0;
    Context.Recorder.addGameLogin(std::move(Record));
    return Key;
}

void TGameSession::afterAnswer() {
    if (Plan.CloseAfterAnswer) return;
    while (std::optional<TMessage> Command = readCommand())
        recordCommand(*Command, nullptr);
}

std::optional<TClientCommand> TGameSession::recordCommand(const TMessage& Raw, const THandlers* Roads) {
    Context.Recorder.addCommand(Raw);
    TClientCommand Command;
    try {
        Command = ParseClientCommand(Raw);
    } catch (const TWireError& Error) {
        std::string Text = "game: command " + std::to_string(Raw.empty() ? -1 : Raw[0]) + ": " + Error.what();
        log(Text);
        Context.Recorder.addError(std::move(Text));
        return std::nullopt;
    }
    Command.Character = CharacterName;
    Command.Read = Command.Known && Roads && Roads->find(Command.Type);
    Context.Recorder.addGameCommand(Command);
    return Command;
}

std::unique_ptr<TSession> MakeSession(TRole Role, TConnection& Connection, TSessionContext& Context,
                                      TPlan Plan) {
    if (Role == TRole::Game && Plan.World)
        return std::make_unique<TWorldSession>(Connection, Context, std::move(Plan));
    if (Role == TRole::Game) return std::make_unique<TGameSession>(Connection, Context, std::move(Plan));
    return std::make_unique<TLoginSession>(Connection, Context, std::move(Plan));
}

} // namespace testserver
