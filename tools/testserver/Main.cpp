// pellarune-testserver: a login server and a game server on 127.0.0.1 for running the client locally.
#include "tools/testserver/Differ.h"
#include "tools/testserver/Downloads.h"
#include "tools/testserver/TestServer.h"

#include <signal.h>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

using namespace testserver;

namespace {

const char* const USAGE =
    "usage: pellarune-testserver [options]\n"
    "  --login-port N        login server port (7171)\n"
    "  --game-port N         game server port (7173)\n"
    "  --key FILE            PEM private key (the built-in test key)\n"
    "  --motd TEXT           message of the day\n"
    "  --motd-number N       its number; the client shows each number once (1)\n"
    "  --world NAME          world of the characters that follow (Pellarune)\n"
    "  --character NAME      a character on this server's game port; repeatable (Aldric, Brenna)\n"
    "  --account N:PASSWORD:NAME[,NAME...]  an account and its characters in the world named before it;\n"
    "                        repeatable; then only these accounts log in (--accounts: the test accounts)\n"
    "  --accounts            the test accounts: 1 and 2 with password pellarune (Aldric and Brenna;\n"
    "                        Cedric), 3 with password gamemaster (Ysolde)\n"
    "  --premium-days N      premium days of the account (0)\n"
    "  --login-error TEXT    refuse every login with this text\n"
    "  --login-retry         send every client on to the next login server\n"
    "  --dat FILE            the Ebrun.dat the game world is built from (the one this build generates)\n"
    "  --creature-interval MS  the townsfolk take a step this often; 0 keeps them still (1000)\n"
    "  --hour H              the world's time of day at the start, 0 to 23 (12; dark from 21 to 4)\n"
    "  --day-speed N         world minutes that pass in a second; 0 keeps the time of day (0)\n"
    "  --game-error TEXT     refuse the game login with this text instead of entering the world\n"
    "  --waiting-list TEXT   answer the game login with a waiting-list place of --wait seconds\n"
    "  --wait SECONDS        seconds of --waiting-list (10)\n"
    "  --game-silent         answer the game login with nothing and record the commands\n"
    "  --fault ROLE:KIND[:N] misbehave; ROLE login or game, KIND close-at-once, close-after-login,\n"
    "                        close-after-bytes:N, trickle, stall, bad-frame-length:N, bad-inner-length:N\n"
    "  --trickle-delay MS    pause between the bytes of a trickled answer (2)\n"
    "  --update N:NEW[:OLD]  data file N (1 objects, 2 sprites, 3 pictures): send NEW to a client that\n"
    "                        reports another signature, as a patch when it has OLD; OLD repeatable\n"
    "  --send-file N:FILE    send FILE whole as file N (0 program .. 4 patcher) to the first login\n"
    "  --send-patch N:OLD:NEW  send a patch from OLD to NEW as file N (0..3) to the first login, whatever\n"
    "                        the client has\n"
    "  --block-size N        download bytes per block message (8192)\n"
    "  --cut-download N      stop each download after N bytes and close\n"
    "  --quiet               log nothing\n";

struct TOptions {
    TServerConfig Config;
    bool Quiet = false;
    std::string Motd = "Welcome to the Pellarune test server.";
    uint32_t MotdNumber = 1;
    std::vector<TCharacter> Characters;
    std::vector<TAccount> Accounts; // when set, the login server answers by account
    uint16_t PremiumDays = 0;
    std::optional<TMessage> LoginRefusal; // replaces the message of the day and the character list
    TMessage GameAnswer;
    bool World = true; // the game session plays the world; the game answer flags turn it off
    std::string DatFile = DefaultDatFile();
    TWorldOptions WorldOptions;
    std::string WaitingText;
    uint8_t WaitSeconds = 10;
    TMisbehaviour LoginFault, GameFault;
    std::shared_ptr<TUpdateCatalogue> Catalogue; // set by --update
    std::vector<TDownload> FirstDownloads;       // --send-file and --send-patch
    size_t BlockSize = 8192;
    std::optional<size_t> CutAfter;
};

[[noreturn]] void Fail(const std::string& Text) {
    std::cerr << "pellarune-testserver: " << Text << "\n" << USAGE;
    std::exit(2);
}

uint32_t Number(const std::string& Text, uint32_t Max) {
    char* End = nullptr;
    unsigned long long Value = std::strtoull(Text.c_str(), &End, 10);
    if (Text.empty() || *End != '\0' || Value > Max) Fail("bad number \"" + Text + "\"");
    return static_cast<uint32_t>(Value);
}

// ROLE:KIND[:N]
std::pair<TRole, TMisbehaviour> ParseFault(const std::string& Text) {
    static const std::pair<std::string_view, TFault> Kinds[] = {
        {"close-at-once", TFault::CloseAtOnce},
        {"close-after-login", TFault::CloseAfterLogin},
        {"close-after-bytes", TFault::CloseAfterBytes},
        {"trickle", TFault::Trickle},
        {"stall", TFault::Stall},
        {"bad-frame-length", TFault::BadFrameLength},
        {"bad-inner-length", TFault::BadInnerLength}};
    size_t First = Text.find(':');
    std::string Role = Text.substr(0, First);
    if (First == std::string::npos || (Role != "login" && Role != "game")) Fail("bad fault \"" + Text + "\"");
    size_t Second = Text.find(':', First + 1);
    std::string Kind = Text.substr(First + 1, Second == std::string::npos ? Second : Second - First - 1);
    TMisbehaviour Fault;
    if (Second != std::string::npos) Fault.Value = Number(Text.substr(Second + 1), 0xFFFF);
    for (const auto& [Name, Value] : Kinds)
        if (Kind == Name) Fault.Fault = Value;
    if (Fault.Fault == TFault::None) Fail("bad fault kind \"" + Kind + "\"");
    return {Role == "game" ? TRole::Game : TRole::Login, Fault};
}

std::string ReadFile(const std::string& Name) {
    std::ifstream File(Name, std::ios::binary);
    if (!File) Fail("cannot read " + Name);
    std::ostringstream Text;
    Text << File.rdbuf();
    return Text.str();
}

uint16_t Port(const std::string& Text) { return static_cast<uint16_t>(Number(Text, 0xFFFF)); }

std::vector<uint8_t> ReadBytes(const std::string& Name) {
    std::string Text = ReadFile(Name);
    return std::vector<uint8_t>(Text.begin(), Text.end());
}

// N:PART[:PART...]; the file number must be at most Highest.
std::pair<uint8_t, std::vector<std::string>> FileArguments(const std::string& Text, uint32_t Highest) {
    std::vector<std::string> Parts;
    size_t Start = 0;
    for (size_t Colon; (Colon = Text.find(':', Start)) != std::string::npos; Start = Colon + 1)
        Parts.push_back(Text.substr(Start, Colon - Start));
    Parts.push_back(Text.substr(Start));
    if (Parts.size() < 2) Fail("bad file argument \"" + Text + "\"");
    uint8_t FileNumber = static_cast<uint8_t>(Number(Parts[0], Highest));
    Parts.erase(Parts.begin());
    return {FileNumber, Parts};
}

void AddUpdate(TOptions& Options, const std::string& Text) {
    auto [FileNumber, Files] = FileArguments(Text, PICTURE_FILE);
    if (FileNumber < OBJECT_FILE) Fail("--update takes the data files 1 to 3");
    if (!Options.Catalogue) Options.Catalogue = std::make_shared<TUpdateCatalogue>();
    Options.Catalogue->setNewVersion(FileNumber, ReadBytes(Files[0]));
    for (size_t k = 1; k < Files.size(); ++k)
        Options.Catalogue->addOldVersion(FileNumber, ReadBytes(Files[k]));
}

void AddFirstDownload(TOptions& Options, const std::string& Text, bool WholeFile) {
    auto [FileNumber, Files] = FileArguments(Text, WholeFile ? PATCHER_FILE : PICTURE_FILE);
    if (Files.size() != (WholeFile ? 1u : 2u)) Fail("bad file argument \"" + Text + "\"");
    TDownload Download;
    Download.FileNumber = FileNumber;
    Download.WholeFile = WholeFile;
    Download.Payload = WholeFile ? ReadBytes(Files[0]) : MakePatch(ReadBytes(Files[0]), ReadBytes(Files[1]));
    Options.FirstDownloads.push_back(std::move(Download));
}

// N:PASSWORD:NAME[,NAME...]
TAccount ParseAccount(const std::string& Text, const std::string& World) {
    size_t First = Text.find(':'), Second = Text.find(':', First == std::string::npos ? 0 : First + 1);
    if (Second == std::string::npos) Fail("bad account \"" + Text + "\"");
    TAccount Account;
    Account.Number = Number(Text.substr(0, First), 0xFFFFFFFF);
    Account.Password = Text.substr(First + 1, Second - First - 1);
    for (size_t Start = Second + 1, Comma;; Start = Comma + 1) {
        Comma = Text.find(',', Start);
        Account.Characters.push_back({Text.substr(Start, Comma - Start), World, LOOPBACK, 0});
        if (Account.Characters.back().Name.empty()) Fail("bad account \"" + Text + "\"");
        if (Comma == std::string::npos) break;
    }
    return Account;
}

// Applies one flag; i moves past its value.
void ParseFlag(std::string_view Flag, int& i, int Argc, char** Argv, TOptions& Options, std::string& World) {
    auto Value = [&]() -> std::string {
        if (i + 1 >= Argc) Fail(std::string(Flag) + " needs a value");
        return Argv[++i];
    };
    if (Flag == "--login-port")
        Options.Config.LoginPort = Port(Value());
    else if (Flag == "--game-port")
        Options.Config.GamePort = Port(Value());
    else if (Flag == "--key")
        Options.Config.PrivateKeyPem = ReadFile(Value());
    else if (Flag == "--motd")
        Options.Motd = Value();
    else if (Flag == "--motd-number")
        Options.MotdNumber = Number(Value(), 0xFFFFFFFF);
    else if (Flag == "--world")
        World = Value();
    else if (Flag == "--character")
        Options.Characters.push_back({Value(), World, LOOPBACK, 0});
    else if (Flag == "--account")
        Options.Accounts.push_back(ParseAccount(Value(), World));
    else if (Flag == "--accounts") {
        std::vector<TAccount> Defaults = DefaultAccounts();
        Options.Accounts.insert(Options.Accounts.end(), Defaults.begin(), Defaults.end());
    } else if (Flag == "--premium-days")
        Options.PremiumDays = Port(Value());
    else if (Flag == "--login-error")
        Options.LoginRefusal = LoginErrorMessage(Value());
    else if (Flag == "--login-retry")
        Options.LoginRefusal = LoginRetryMessage();
    else if (Flag == "--dat")
        Options.DatFile = Value();
    else if (Flag == "--creature-interval")
        Options.WorldOptions.CreatureInterval = std::chrono::milliseconds(Number(Value(), 3600000));
    else if (Flag == "--hour")
        Options.WorldOptions.DayStart = std::chrono::hours(Number(Value(), 23));
    else if (Flag == "--day-speed")
        Options.WorldOptions.DaySpeed = static_cast<int>(Number(Value(), 1440));
    else if (Flag == "--game-error")
        Options.GameAnswer = GameErrorMessage(Value());
    else if (Flag == "--waiting-list")
        Options.WaitingText = Value();
    else if (Flag == "--wait")
        Options.WaitSeconds = static_cast<uint8_t>(Number(Value(), 255));
    else if (Flag == "--game-silent")
        Options.World = false;
    else if (Flag == "--trickle-delay")
        Options.Config.TrickleDelay = std::chrono::milliseconds(Number(Value(), 60000));
    else if (Flag == "--update")
        AddUpdate(Options, Value());
    else if (Flag == "--send-file")
        AddFirstDownload(Options, Value(), true);
    else if (Flag == "--send-patch")
        AddFirstDownload(Options, Value(), false);
    else if (Flag == "--block-size")
        Options.BlockSize = Number(Value(), MAX_DOWNLOAD_BLOCK);
    else if (Flag == "--cut-download")
        Options.CutAfter = Number(Value(), 0xFFFFFFFF);
    else if (Flag == "--quiet")
        Options.Quiet = true;
    else if (Flag == "--fault") {
        auto [Role, Fault] = ParseFault(Value());
        (Role == TRole::Game ? Options.GameFault : Options.LoginFault) = Fault;
    } else if (Flag == "--help") {
        std::cout << USAGE;
        std::exit(0);
    } else
        Fail("unknown option \"" + std::string(Flag) + "\"");
}

TOptions ParseArguments(int Argc, char** Argv) {
    TOptions Options;
    Options.Config.LoginPort = 7171;
    Options.Config.GamePort = 7173;
    Options.WorldOptions.CreatureInterval = std::chrono::milliseconds(1000);
    Options.WorldOptions.PaceWalking = true;
    std::string World = "Pellarune";
    for (int i = 1; i < Argc; ++i)
        ParseFlag(Argv[i], i, Argc, Argv, Options, World);
    if (!Options.WaitingText.empty())
        Options.GameAnswer = WaitingListMessage(Options.WaitingText, Options.WaitSeconds);
    if (Options.BlockSize == 0) Fail("--block-size must be at least 1");
    for (TDownload& Download : Options.FirstDownloads) {
        Download.BlockSize = Options.BlockSize;
        Download.CutAfter = Options.CutAfter;
    }
    if (!Options.GameAnswer.empty()) Options.World = false;
    if (Options.World && Options.DatFile.empty()) Fail("this build generates no Ebrun.dat: give --dat FILE");
    if (Options.Characters.empty())
        Options.Characters = {{"Aldric", World, LOOPBACK, 0}, {"Brenna", World, LOOPBACK, 0}};
    return Options;
}

TPlan LoginPlan(const TOptions& Options, uint16_t GamePort) {
    const TMessage MessageOfTheDay = MessageOfTheDayMessage(Options.MotdNumber, Options.Motd);
    TPlan Plan;
    if (Options.LoginRefusal) {
        Plan.Answer = {*Options.LoginRefusal};
    } else if (!Options.Accounts.empty()) {
        std::vector<TAccount> Accounts = Options.Accounts;
        for (TAccount& Account : Accounts)
            Account.PremiumDays = Options.PremiumDays;
        Plan = AccountLoginPlan(std::move(Accounts), GamePort, MessageOfTheDay);
    } else {
        std::vector<TCharacter> Characters = Options.Characters;
        for (TCharacter& Entry : Characters)
            Entry.Port = GamePort;
        Plan.Answer = {MessageOfTheDay, CharacterListMessage(Characters, Options.PremiumDays)};
    }
    Plan.Misbehaviour = Options.LoginFault;
    return Plan;
}

// Loads the world when it is on; throws TDataFileError for a bad Ebrun.dat.
TPlan GamePlan(const TOptions& Options) {
    TPlan Plan =
        Options.World ? WorldPlan(LoadWorld(Options.DatFile, Options.WorldOptions)) : DefaultGamePlan();
    Plan.Misbehaviour = Options.GameFault;
    if (!Options.GameAnswer.empty()) Plan.Answer = {Options.GameAnswer};
    return Plan;
}

} // namespace

int main(int Argc, char** Argv) {
    TOptions Options = ParseArguments(Argc, Argv);
    if (!Options.Quiet) Options.Config.Log = [](const std::string& Line) { std::cout << Line << std::endl; };
    // Blocked before any thread starts, so that only sigwait below takes them; a shell may have left them
    // ignored for a background job, and an ignored signal never becomes pending.
    signal(SIGINT, SIG_DFL);
    signal(SIGTERM, SIG_DFL);
    sigset_t Signals;
    sigemptyset(&Signals);
    sigaddset(&Signals, SIGINT);
    sigaddset(&Signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &Signals, nullptr);
    try {
        TTestServer Server(Options.Config);
        TPlan Login = LoginPlan(Options, Server.gamePort());
        if (Options.Catalogue)
            Login = UpdatePlan(Options.Catalogue, Login, Options.BlockSize, Options.CutAfter);
        Server.setPlan(TRole::Login, Login);
        if (!Options.FirstDownloads.empty())
            Server.queuePlan(TRole::Login, DownloadPlan(Options.FirstDownloads));
        Server.setPlan(TRole::Game, GamePlan(Options));
        std::cout << "login server on 127.0.0.1:" << Server.loginPort()
                  << ", game server on 127.0.0.1:" << Server.gamePort() << std::endl;
        int Signal = 0;
        sigwait(&Signals, &Signal);
    } catch (const std::exception& Error) {
        std::cerr << "pellarune-testserver: " << Error.what() << "\n";
        return 1;
    }
    return 0;
}
