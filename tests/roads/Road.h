// End-to-end tests of the real client program: the test server in the test process on the login port the
// client always uses (7171), pellarune processes side by side on one X server, the clients driven through
// the X server's input and checked by what they show (found pixel for pixel against the client's own
// drawing code) and by what the server received (through the server's own decoder). A road test runs under
// tests/isolated, which gives it a network namespace and an X server of its own; ebrun_road_test in
// tests/roads/CMakeLists.txt builds and registers one.
//
// How a road is written. A client start with its login costs seconds under the sanitizers, so one suite
// shares one start among its cases; they run in the order written, each leaving the client where the next
// one expects it:
//
//   class GoldRoad : public ::testing::Test {
//   protected:
//       static void SetUpTestSuite() {
//           Road = new TRoad;                      // the test server playing the village
//           Client = &Road->start();               // a client in the first place of the screen
//           Road->login(*Client, "Aldric");        // start screen, login, character list, in the game
//       }
//       static void TearDownTestSuite() { delete Road; } // logs out, ends each client, checks its end
//       void SetUp() override { ASSERT_TRUE(Client->InGame); }
//       static inline TRoad* Road = nullptr;
//       static inline TClient* Client = nullptr;
//   };
//
//   TEST_F(GoldRoad, ShiftRightClickLooksAtTheGold) {
//       TMainWindow& Screen = Road->layout(*Client);     // the layout code says where the map's fields are
//       const size_t Sent = Road->commandCount();
//       Client->rightClick(FieldCentre(Screen, 5, 0), "shift");    // act through the client's own input
//       const testserver::TClientCommand Look = Road->command(Sent); // the server side, decoded
//       EXPECT_EQ(Look.Type, testserver::COMMAND_LOOK);
//       EXPECT_TRUE(Client->waitUntilShown(ConsoleLine("You see 12 gold coins.", ::TALK_EVENT_STATUS),
//                                          RectOf(Screen.Console)));  // the client side, as drawn
//   }
//
// and in tests/roads/CMakeLists.txt: ebrun_road_test(test_road_gold SOURCES GoldRoadTest.cpp).
//
// Two clients: Road->start() again gives the second place, beside the first. Keys go to the client they
// are sent to (it gets the keyboard first); the pointer is the X server's one. A failed wait saves what the
// client showed as a PNG beside the test binary and names it in the failure. Budget, under the sanitizers:
// a client start about 0.3 s, a login about 2 s, a case 0.2 to 1.5 s (a tool tip waits its second).
#pragma once

#include "tests/roads/Client.h"
#include "tests/roads/Reference.h"
#include "tests/roads/Screen.h"
#include "tools/testserver/TestServer.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TMainWindow;

// How a line of a list in a dialog is chosen: clicked and then confirmed with the dialog's button, or double
// clicked.
enum class TChoice { Button, DoubleClick };

class TRoad {
public:
    // The test server with the login port 7171 and the village of the generated Ebrun.dat.
    explicit TRoad(testserver::TWorldOptions World = {});
    // Ends every client still running as stop does, then checks that the server saw no broken protocol.
    ~TRoad();
    TRoad(const TRoad&) = delete;
    TRoad& operator=(const TRoad&) = delete;

    testserver::TTestServer& server() { return Server; }
    // The village that the game sessions play, live: the road acts on it with perform, looks with inspect.
    std::shared_ptr<testserver::TGameWorld> world() { return Server.world(Village); }

    // A client in the next free place of the screen, its window mapped.
    TClient& start(const TClientSetup& Setup = {});
    // The checked end: logs out when in the game, sends the end signal, and expects exit code 0 and no
    // crash report.
    void stop(TClient& Client);

    // The login road: "Enter Game", the login dialog (the account number and the password typed, Enter),
    // the message of the day when the server sends one, the character list (the character's line clicked,
    // then "Ok"), in the game. Returns once the server has seen the game login and the game screen shows;
    // Client.InGame tells whether it got there.
    void login(TClient& Client, const std::string& Character, uint32_t Account = 12345,
               const std::string& Password = "secret");
    // The login road's first part: "Enter Game" and the login dialog; true once the login server has read
    // the account number and the password.
    bool submitLogin(TClient& Client, uint32_t Account = 12345, const std::string& Password = "secret");
    // From the start screen to the character list; false, with the test failed, when it is not reached.
    bool enterAccount(TClient& Client, uint32_t Account = 12345, const std::string& Password = "secret");
    // Ctrl+L: the server reads the logout and the client shows the character list again.
    void logout(TClient& Client);
    // The end of the login road from the character list the client shows (after a logout, say), the
    // character's line chosen as How says.
    void chooseCharacter(TClient& Client, const std::string& Character, TChoice How = TChoice::Button);

    // Looks into World (under its lock) until Condition holds; false, with the test failed, when it does not
    // in time.
    static bool waitForWorld(testserver::TGameWorld& World, const std::string& Name,
                             const std::function<bool(testserver::TGameWorld&)>& Condition);
    bool waitForWorld(const std::string& Name,
                      const std::function<bool(testserver::TGameWorld&)>& Condition) {
        return waitForWorld(*world(), Name, Condition);
    }

    // The client's main window as the layout code builds it for the client's size and options, the game
    // screen while the client is in the game. Valid until the next call.
    TMainWindow& layout(const TClient& Client);

    // The number of commands the world has read so far, and the command at an index once it has arrived
    // (an empty record, with the test failed, when it does not come).
    size_t commandCount();
    testserver::TClientCommand command(size_t Index);

private:
    TReference& Reference; // started before the server's threads
    std::shared_ptr<const testserver::TWorldSetup> Village;
    testserver::TTestServer Server;
    std::vector<std::unique_ptr<TClient>> Clients;
};

// Chooses the line that starts with Text in the list of the dialog the client shows, Button the caption of
// the dialog's confirming button; false, with the test failed, when the line or the button does not show.
bool ChooseLine(TClient& Client, const std::string& Text, const std::string& Button, TChoice How);

// What the client draws, as patterns to find: any text in a format, and the formats of its common places.
TPattern Text(const std::string& Text, const TTextFormat& Format);
TPattern ButtonCaption(const std::string& Text);
TPattern DialogCaption(const std::string& Text);
TPattern Tooltip(const std::string& Text);
// A line of the console in the colour of its talk mode.
TPattern ConsoleLine(const std::string& Text, int32_t TalkMode);
TPattern ListLine(const std::string& Text, bool Selected);
// An entry of a context menu; a line of the map's status text.
TPattern MenuEntry(const std::string& Entry);
TPattern StatusLine(const std::string& Text);
// The test world's welcome line in the console of a character that has entered it.
TPattern Welcome(const std::string& Character);
