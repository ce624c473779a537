// The road harness: the test server, the clients' starts and checked ends, the login road and the patterns
// of the client's common places.
#include "tests/roads/Road.h"

#include "control/DialogsFrame.h"
#include "gui/SkinProperties.h"
#include "screen/MainWindow.h"
#include "state/Talk.h"
#include "tools/testserver/Game.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace testserver;
using namespace std::chrono_literals;

namespace {

constexpr uint16_t LOGIN_PORT = 7171; // the only port the client logs in on
// The console's text view draws its lines in this font.
constexpr int32_t CONSOLE_TEXT_FONT = 4;

TServerConfig LoginOnClientPort() {
    TServerConfig Config;
    Config.LoginPort = LOGIN_PORT;
    return Config;
}

} // namespace

TRoad::TRoad(TWorldOptions World)
    : Reference(TReference::get()), Village(LoadWorld(DefaultDatFile(), World)), Server(LoginOnClientPort()) {
    Server.setPlan(TRole::Game, WorldPlan(Village));
}

TRoad::~TRoad() {
    for (const std::unique_ptr<TClient>& Client : Clients)
        if (Client->running()) stop(*Client);
    const TReceived Got = Server.received();
    EXPECT_TRUE(Got.Errors.empty()) << "the server saw a broken protocol: " << Got.Errors.front();
}

TClient& TRoad::start(const TClientSetup& Setup) {
    Clients.push_back(std::make_unique<TClient>(static_cast<int32_t>(Clients.size()), Setup));
    Clients.back()->waitForWindow();
    return *Clients.back();
}

void TRoad::stop(TClient& Client) {
    if (Client.InGame) {
        // Whatever the last case left open goes first: the logout key is not taken while a dialog is.
        Client.key("Escape");
        logout(Client);
    }
    const int32_t Code = Client.terminate();
    EXPECT_EQ(Code, 0) << "the client's errors:\n" << Client.errors();
    EXPECT_FALSE(std::filesystem::exists(Client.directory() / "error.txt"))
        << "the client wrote a crash report";
}

void TRoad::login(TClient& Client, const std::string& Character, uint32_t Account,
                  const std::string& Password) {
    if (enterAccount(Client, Account, Password)) chooseCharacter(Client, Character);
}

bool TRoad::submitLogin(TClient& Client, uint32_t Account, const std::string& Password) {
    const size_t Logins = Server.received().Logins.size();
    const std::optional<TRect> Enter = Client.waitUntilShown(ButtonCaption("Enter Game"));
    if (!Enter) return false;
    Client.click(Enter->centre());
    if (!Client.waitUntilShown(DialogCaption("Enter Game"))) return false;
    Client.type(std::to_string(Account));
    Client.key("Tab");
    Client.type(Password);
    Client.key("Return");
    if (!Server.waitUntil([&](const TReceived& Got) { return Got.Logins.size() > Logins; }, 20s)) {
        ADD_FAILURE() << "the login server got no login";
        return false;
    }
    const TLoginRecord Login = Server.received().Logins[Logins];
    EXPECT_EQ(Login.Account, Account);
    EXPECT_EQ(Login.Password, Password);
    return true;
}

bool TRoad::enterAccount(TClient& Client, uint32_t Account, const std::string& Password) {
    if (!submitLogin(Client, Account, Password)) return false;
    // The message of the day comes first when it is one the client has not shown yet.
    const TPattern List = DialogCaption("Select Character"), News = DialogCaption("Message of the Day");
    bool NewsShown = false;
    if (!Client.waitUntil("the character list or the message of the day", Client.area(),
                          [&](const TImage& Image) {
                              NewsShown = News.findIn(Image).has_value();
                              return NewsShown || List.findIn(Image).has_value();
                          }))
        return false;
    if (NewsShown) Client.key("Return");
    return Client.waitUntilShown(List).has_value();
}

void TRoad::chooseCharacter(TClient& Client, const std::string& Character, TChoice How) {
    const size_t GameLogins = Server.received().GameLogins.size();
    if (!ChooseLine(Client, Character, "Ok", How)) return;
    if (!Server.waitUntil([&](const TReceived& Got) { return Got.GameLogins.size() > GameLogins; }, 20s)) {
        ADD_FAILURE() << "the game server got no login";
        return;
    }
    EXPECT_EQ(Server.received().GameLogins[GameLogins].CharacterName, Character);
    Client.InGame = Client.waitUntilShown(ButtonCaption("Logout")).has_value();
}

void TRoad::logout(TClient& Client) {
    const size_t Sent = commandCount();
    Client.key("ctrl+l");
    const bool LoggedOut = Server.waitUntil(
        [&](const TReceived& Got) {
            for (size_t i = Sent; i < Got.GameCommands.size(); i++)
                if (Got.GameCommands[i].Type == COMMAND_LOGOUT) return true;
            return false;
        },
        20s);
    EXPECT_TRUE(LoggedOut) << "the game server got no logout";
    Client.InGame = false;
    Client.waitUntilShown(DialogCaption("Select Character"));
}

bool TRoad::waitForWorld(TGameWorld& World, const std::string& Name,
                         const std::function<bool(TGameWorld&)>& Condition) {
    const bool Holds = WaitFor([&] {
        bool Now = false;
        World.inspect([&](const TGameWorld& Live) { Now = Condition(const_cast<TGameWorld&>(Live)); });
        return Now;
    });
    if (!Holds) ADD_FAILURE() << "the world never came to: " << Name;
    return Holds;
}

TMainWindow& TRoad::layout(const TClient& Client) {
    return Reference.mainWindow(Client.width(), Client.height(), Client.directory(), Client.InGame);
}

size_t TRoad::commandCount() { return Server.received().GameCommands.size(); }

TClientCommand TRoad::command(size_t Index) {
    if (!Server.waitUntil([&](const TReceived& Got) { return Got.GameCommands.size() > Index; }, 20s)) {
        ADD_FAILURE() << "the world read no command " << Index;
        return {};
    }
    return Server.received().GameCommands[Index];
}

bool ChooseLine(TClient& Client, const std::string& Text, const std::string& Button, TChoice How) {
    const TPattern Selected = ListLine(Text, true), Unselected = ListLine(Text, false);
    const std::optional<TRect> Line = Client.waitUntilShown({&Selected, &Unselected}, Client.area());
    if (!Line) return false;
    if (How == TChoice::DoubleClick) {
        Client.doubleClick(Line->centre());
        return true;
    }
    Client.click(Line->centre());
    const std::optional<TRect> Confirm = Client.waitUntilShown(ButtonCaption(Button));
    if (!Confirm || !Client.waitUntilShown(Selected)) return false;
    Client.click(Confirm->centre());
    return true;
}

TPattern Text(const std::string& Text, const TTextFormat& Format) {
    return TReference::get().text(Text, Format);
}
TPattern ButtonCaption(const std::string& Text) { return ::Text(Text, SkinProperties.Buttons.TextFormat); }
TPattern DialogCaption(const std::string& Text) {
    // The frame's caption label is lower than its font: what shows is what the label draws.
    TModalDialog Frame(Text.c_str(), new TParentComponent);
    Frame.arrange();
    return TReference::get().component(*Frame.CaptionLabel, "dialog caption \"" + Text + "\"");
}
TPattern Tooltip(const std::string& Text) { return ::Text(Text, SkinProperties.Frame.TooltipFormat); }

TPattern ConsoleLine(const std::string& Text, int32_t TalkMode) {
    TTextFormat Format{CONSOLE_TEXT_FONT, 0, 0, 0, LEFT_ALIGN};
    GetTalkModeColor(Format.Red, Format.Green, Format.Blue, TalkMode);
    return ::Text(Text, Format);
}

TPattern Welcome(const std::string& Character) {
    return ConsoleLine("Welcome to the Pellarune test world, " + Character + ".", ::TALK_EVENT_STATUS);
}

TPattern ListLine(const std::string& Text, bool Selected) {
    return ::Text(Text, Selected ? SkinProperties.ListBox.SelectedFormat : SkinProperties.ListBox.Format);
}

TPattern MenuEntry(const std::string& Entry) { return Text(Entry, SkinProperties.ContextMenu.TextFormat); }

TPattern StatusLine(const std::string& Status) {
    constexpr int32_t MAP_FONT = 2; // of the map's texts and status line
    return Text(Status, {MAP_FONT, 255, 255, 255, LEFT_ALIGN});
}
