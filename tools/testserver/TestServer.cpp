// The test server's listeners, plan queues and session threads.
#include "tools/testserver/TestServer.h"

namespace testserver {

namespace {

constexpr std::chrono::milliseconds ACCEPT_SLICE{20};

std::function<void(const std::string&)> SerialisedLog(std::function<void(const std::string&)> Log,
                                                      std::mutex& Mutex) {
    if (!Log) return {};
    return [Log = std::move(Log), &Mutex](const std::string& Line) {
        std::lock_guard Lock(Mutex);
        Log(Line);
    };
}

} // namespace

TPlan DefaultLoginPlan(uint16_t GamePort) {
    const TCharacter Characters[] = {{"Aldric", "Pellarune", LOOPBACK, GamePort},
                                     {"Brenna", "Pellarune", LOOPBACK, GamePort}};
    TPlan Plan;
    Plan.Answer = {DefaultMessageOfTheDay(), CharacterListMessage(Characters, 0)};
    return Plan;
}

TMessage DefaultMessageOfTheDay() {
    return MessageOfTheDayMessage(1, "Welcome to the Pellarune test server.");
}

std::vector<TAccount> DefaultAccounts() {
    auto Character = [](std::string Name) { return TCharacter{std::move(Name), "Pellarune", LOOPBACK, 0}; };
    return {{1, "pellarune", {Character("Aldric"), Character("Brenna")}, 0},
            {2, "pellarune", {Character("Cedric")}, 0},
            {3, "gamemaster", {Character("Ysolde")}, 0}};
}

TPlan AccountLoginPlan(std::vector<TAccount> Accounts, uint16_t GamePort, TMessage MessageOfTheDay) {
    for (TAccount& Account : Accounts)
        for (TCharacter& Character : Account.Characters)
            if (Character.Port == 0) Character.Port = GamePort;
    TPlan Plan;
    Plan.Respond = [Accounts = std::move(Accounts),
                    MessageOfTheDay = std::move(MessageOfTheDay)](const TLoginRecord& Login) -> TResponse {
        for (const TAccount& Account : Accounts)
            if (Account.Number == Login.Account && Account.Password == Login.Password)
                return {{MessageOfTheDay, CharacterListMessage(Account.Characters, Account.PremiumDays)}, {}};
        return {{LoginErrorMessage("Accountnumber or password is not correct.")}, {}};
    };
    return Plan;
}

TPlan DefaultGamePlan() {
    TPlan Plan;
    Plan.CloseAfterAnswer = false;
    return Plan;
}

TPlan WorldPlan(std::shared_ptr<const TWorldSetup> World) {
    TPlan Plan = DefaultGamePlan();
    Plan.World = std::move(World);
    return Plan;
}

TTestServer::TTestServer(TServerConfig Config)
    : Key(Config.PrivateKeyPem.empty() ? DefaultPrivateKeyPem() : Config.PrivateKeyPem),
      Context{Recorder, Key, Config.TrickleDelay, SerialisedLog(std::move(Config.Log), LogMutex), Worlds},
      LoginListener(Config.LoginPort), GameListener(Config.GamePort) {
    LoginPlans.Standing = DefaultLoginPlan(gamePort());
    GamePlans.Standing = DefaultGamePlan();
    LoginThread = std::thread([this] { listen(TRole::Login, LoginListener); });
    GameThread = std::thread([this] { listen(TRole::Game, GameListener); });
}

TTestServer::~TTestServer() {
    Stopping = true;
    LoginThread.join();
    GameThread.join();
    joinWorkers(false);
}

void TTestServer::setPlan(TRole Role, TPlan Plan) {
    std::lock_guard Lock(PlanMutex);
    plans(Role).Standing = std::move(Plan);
}

void TTestServer::queuePlan(TRole Role, TPlan Plan) {
    std::lock_guard Lock(PlanMutex);
    plans(Role).Queued.push_back(std::move(Plan));
}

TPlan TTestServer::takePlan(TRole Role) {
    std::lock_guard Lock(PlanMutex);
    TPlans& Plans = plans(Role);
    if (Plans.Queued.empty()) return Plans.Standing;
    TPlan Plan = std::move(Plans.Queued.front());
    Plans.Queued.pop_front();
    return Plan;
}

void TTestServer::listen(TRole Role, TListener& Listener) {
    while (!Stopping) {
        TSocket Socket = Listener.accept(ACCEPT_SLICE);
        if (!Socket.valid()) continue;
        Recorder.countConnection(Role == TRole::Game);
        startSession(Role, std::move(Socket), takePlan(Role));
        joinWorkers(true);
    }
}

void TTestServer::startSession(TRole Role, TSocket Socket, TPlan Plan) {
    auto Done = std::make_shared<std::atomic<bool>>(false);
    std::thread Thread([this, Role, Socket = std::move(Socket), Plan = std::move(Plan), Done]() mutable {
        TConnection Connection(std::move(Socket), Stopping);
        MakeSession(Role, Connection, Context, std::move(Plan))->run();
        *Done = true;
    });
    std::lock_guard Lock(WorkerMutex);
    Workers.push_back({std::move(Thread), std::move(Done)});
}

void TTestServer::joinWorkers(bool OnlyFinished) {
    std::list<TWorker> Ending;
    {
        std::lock_guard Lock(WorkerMutex);
        for (auto i = Workers.begin(); i != Workers.end();) {
            auto Next = std::next(i);
            if (!OnlyFinished || *i->Done) Ending.splice(Ending.end(), Workers, i);
            i = Next;
        }
    }
    for (TWorker& Worker : Ending)
        Worker.Thread.join();
}

} // namespace testserver
