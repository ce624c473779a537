// One connection of the test server from accept to close: the login-server and game-server sessions, the
// scripted answer (the plan) and the faults it can inject.
#pragma once

#include "tools/testserver/ClientCommands.h"
#include "tools/testserver/Logins.h"
#include "tools/testserver/Recorder.h"
#include "tools/testserver/Rsa.h"
#include "tools/testserver/Socket.h"
#include "tools/testserver/Wire.h"
#include "tools/testserver/Xtea.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <span>
#include <string>
#include <vector>

namespace testserver {

enum class TRole { Login, Game };

enum class TFault {
    None,
    CloseAtOnce,     // close right after accepting, before reading anything
    CloseAfterLogin, // read and record the login, then close without an answer
    CloseAfterBytes, // send only the first Value bytes of the answer, then close
    Trickle,         // send the answer one byte at a time, the server's TrickleDelay apart
    Stall,           // read and record the login, never answer, keep the connection until the peer closes
    BadFrameLength,  // instead of the answer send the length word Value and Value random bytes
    BadInnerLength,  // send the answer with Value as the inner length of its first frame
};

struct TMisbehaviour {
    TFault Fault = TFault::None;
    uint32_t Value = 0; // bytes for CloseAfterBytes, the length word for the two length faults
};

struct TWorldSetup;
class TWorldRegistry;
class THandlers;

// A place in an answer where its session stops sending until the test releases it. The test and the
// session's thread share it; released once, it stays released, so a later session passes it at once.
class THold {
public:
    void release() { Released = true; }
    bool released() const { return Released; }

private:
    std::atomic<bool> Released{false};
};

// By the index of a message in an answer: the session sends that message's frame only once the hold is
// released; an index at or past the answer's end holds the close.
using THolds = std::map<size_t, std::shared_ptr<THold>>;

// What a login plan's Respond gives for one login.
struct TResponse {
    std::vector<TMessage> Answer;
    THolds Holds;
};

// What one session answers once it has read the login.
struct TPlan {
    std::vector<TMessage> Answer; // enciphered with the key of the login's RSA block
    bool FramePerMessage = false; // a frame of its own for each message instead of one for all
    THolds Holds;                 // only with FramePerMessage: a hold inside one frame is an error
    bool CloseAfterAnswer = true; // false: read and record commands until the client closes
    TMisbehaviour Misbehaviour;
    // Login role: when set, called with the login just read; what it gives replaces Answer and Holds (a
    // server that answers by the data-file signatures the client reports).
    std::function<TResponse(const TLoginRecord&)> Respond;
    // Set on a game plan: after the answer the session plays this world until the client leaves.
    std::shared_ptr<const TWorldSetup> World;
};

// What every session shares with the server; outlives the sessions.
struct TSessionContext {
    TRecorder& Recorder;
    const TRsaPrivateKey& Key;
    std::chrono::milliseconds TrickleDelay;
    std::function<void(const std::string&)> Log; // called from session threads; may be empty
    TWorldRegistry& Worlds;                      // the live worlds that world sessions play
};

// A session runs on its own thread: readLogin, then the plan's answer and faults, then afterAnswer.
// Subclasses add a role's login; the world session replaces the game session's afterAnswer.
class TSession {
public:
    TSession(TConnection& Connection, TSessionContext& Context, TPlan Plan);
    virtual ~TSession() = default;

    // The whole session; records protocol errors instead of throwing.
    void run();

protected:
    // Reads and records the role's login command; the session key, or nothing when the peer went away.
    // Throws TWireError for broken bytes.
    virtual std::optional<TXteaKey> readLogin() = 0;
    // The default closes when the plan says so, else records commands until the client closes.
    virtual void afterAnswer();
    virtual const char* roleName() const = 0;

    // A plain frame: the length word and the message bytes; nothing when the peer went away.
    std::optional<std::vector<uint8_t>> readPlainFrame();
    // The next enciphered client command; nothing when the peer went away.
    std::optional<TMessage> readCommand();
    void log(const std::string& Text) const;

    TConnection& Connection;
    TSessionContext& Context;
    TPlan Plan;
    std::optional<TXteaCipher> Cipher; // set from the login's key
    std::mt19937 Random;

private:
    // The answer's bytes from one hold to the next; the first piece has none.
    struct TPiece {
        std::shared_ptr<THold> Hold;
        std::vector<uint8_t> Bytes;
    };

    // The steps of run() up to the close.
    void play();
    std::vector<TPiece> answerPieces();
    void sendAnswer(std::vector<TPiece> Pieces);
    // False when the peer went away or the server stops.
    bool sendBytes(std::span<const uint8_t> Bytes);
    // False when the server stops first.
    bool awaitRelease(const THold& Hold);
};

class TLoginSession : public TSession {
public:
    using TSession::TSession;

protected:
    std::optional<TXteaKey> readLogin() override;
    const char* roleName() const override { return "login"; }
};

class TGameSession : public TSession {
public:
    using TSession::TSession;

protected:
    std::optional<TXteaKey> readLogin() override;
    // Records every command, raw and decoded, until the client closes (unless the plan closes at once).
    void afterAnswer() override;
    const char* roleName() const override { return "game"; }

    // Records a command raw and decoded with the session's character, read by the Roads when given; the
    // decoding, or nothing for a broken command, which is recorded as an error (the frame was whole, so the
    // session can go on).
    std::optional<TClientCommand> recordCommand(const TMessage& Raw, const THandlers* Roads);

    // Of the game login.
    std::string CharacterName;
    uint32_t Account = 0;
    bool Gamemaster = false;
};

std::unique_ptr<TSession> MakeSession(TRole Role, TConnection& Connection, TSessionContext& Context,
                                      TPlan Plan);

} // namespace testserver
