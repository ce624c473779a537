// The test server: a login server and a game server on 127.0.0.1, run on background threads, answering with
// scripted plans, recording what they receive and misbehaving on demand. Peer of the client's network tests
// and of local runs.
#pragma once

#include "tools/testserver/GameWorld.h"
#include "tools/testserver/Messages.h"
#include "tools/testserver/Recorder.h"
#include "tools/testserver/Rsa.h"
#include "tools/testserver/Session.h"
#include "tools/testserver/Socket.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace testserver {

struct TServerConfig {
    uint16_t LoginPort = 0; // 0: an ephemeral port, see loginPort()
    uint16_t GamePort = 0;
    std::string PrivateKeyPem;                 // empty: the built-in key of tools/testserver/keys
    std::chrono::milliseconds TrickleDelay{2}; // between the bytes of TFault::Trickle
    std::function<void(const std::string&)>
        Log; // one line per login and protocol error; calls are serialised
};

// The login answer of a fresh server to any account: message of the day number 1 and two characters, Aldric
// and Brenna, on 127.0.0.1:GamePort.
TPlan DefaultLoginPlan(uint16_t GamePort);

// An account that a login plan knows.
struct TAccount {
    uint32_t Number = 0;
    std::string Password;
    std::vector<TCharacter> Characters; // a Port of 0 becomes the plan's game port
    uint16_t PremiumDays = 0;
};
// Aldric and Brenna on account 1, Cedric on account 2 (password "pellarune" both), Ysolde on account 3
// (password "gamemaster", for a client started as gamemaster): two clients can play side by side.
std::vector<TAccount> DefaultAccounts();
// The message of the day of a fresh server: number 1.
TMessage DefaultMessageOfTheDay();
// A login plan that answers each login by its account: the message of the day and the account's characters,
// or "Accountnumber or password is not correct." for an unknown number or a wrong password.
TPlan AccountLoginPlan(std::vector<TAccount> Accounts, uint16_t GamePort,
                       TMessage MessageOfTheDay = DefaultMessageOfTheDay());
// The game answer of a fresh server: nothing; commands are recorded until the client closes.
TPlan DefaultGamePlan();
// A game plan that plays the world: every session of the server with a plan of this setup enters its
// character into one live world, which answers its commands and shows it to the others.
TPlan WorldPlan(std::shared_ptr<const TWorldSetup> World);

class TTestServer {
public:
    // Listens on both ports and serves at once. Throws TWireError when a port is taken or the key is bad.
    explicit TTestServer(TServerConfig Config = {});
    // Ends every session and joins all threads.
    ~TTestServer();
    TTestServer(const TTestServer&) = delete;
    TTestServer& operator=(const TTestServer&) = delete;

    uint16_t loginPort() const { return LoginListener.port(); }
    uint16_t gamePort() const { return GameListener.port(); }

    // The plan of every following session of the role.
    void setPlan(TRole Role, TPlan Plan);
    // A plan for one session only; queued plans go first, in order, before the role's plan.
    void queuePlan(TRole Role, TPlan Plan);

    // Every live world with players moves its townsfolk Steps times, in order, as soon as one of its
    // sessions notices (within tens of milliseconds); a world that its first player enters later counts
    // from then.
    void stepCreatures(uint32_t Steps = 1) { CreatureSteps += Steps; }
    // The live world of a setup, made now when no session has played it yet.
    std::shared_ptr<TGameWorld> world(const std::shared_ptr<const TWorldSetup>& Setup) {
        return Worlds.of(Setup);
    }

    TReceived received() const { return Recorder.snapshot(); }
    // Waits at most Limit until Condition holds for what was received; true when it holds.
    bool waitUntil(const std::function<bool(const TReceived&)>& Condition,
                   std::chrono::milliseconds Limit = std::chrono::seconds(10)) const {
        return Recorder.waitUntil(Condition, Limit);
    }

private:
    struct TPlans {
        TPlan Standing;
        std::deque<TPlan> Queued;
    };
    struct TWorker {
        std::thread Thread;
        std::shared_ptr<std::atomic<bool>> Done;
    };

    void listen(TRole Role, TListener& Listener);
    TPlan takePlan(TRole Role);
    void startSession(TRole Role, TSocket Socket, TPlan Plan);
    void joinWorkers(bool OnlyFinished);
    TPlans& plans(TRole Role) { return Role == TRole::Login ? LoginPlans : GamePlans; }

    TRsaPrivateKey Key;
    TRecorder Recorder;
    std::atomic<uint32_t> CreatureSteps{0};
    std::mutex LogMutex;
    TWorldRegistry Worlds{&CreatureSteps};
    TSessionContext Context;
    TListener LoginListener;
    TListener GameListener;
    std::atomic<bool> Stopping{false};

    std::mutex PlanMutex;
    TPlans LoginPlans;
    TPlans GamePlans;

    std::mutex WorkerMutex;
    std::list<TWorker> Workers;
    std::thread LoginThread;
    std::thread GameThread;
};

} // namespace testserver
