// One running client program for end-to-end tests: started in a fresh directory with the generated data files
// and its own Ebrun.cfg, its window at a place of its own on the X server, driven with the X server's input
// (xdotool) and watched through what the X server shows.
#pragma once

#include "tests/Wait.h"
#include "tests/roads/Screen.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

// What a test may choose about a client before it starts.
struct TClientSetup {
    // The command line, e.g. {"gamemaster"}.
    std::vector<std::string> Arguments;
    // Changes the options (Preferences.h setters) before Ebrun.cfg is written for the client; the harness
    // has set the window's place, a frame-rate limit, the program's own pointer and no new hints. Pointer
    // moves wait for the client's own pointer; with the system's pointer they cannot.
    std::function<void()> Options;
    // False: no Ebrun.cfg, as at a first start (the window then takes a place of its own).
    bool OptionsFile = true;
    // The client area.
    int32_t Width = 800, Height = 600;
    // Copied from the build's generated data.
    std::vector<std::string> DataFiles = {"Ebrun.dat", "Ebrun.spr", "Ebrun.pic"};
    // Changes to the environment the harness gives the client: a name with its value, or with none to
    // remove the name.
    std::vector<std::pair<std::string, std::optional<std::string>>> Environment;
};

using TDeadline = std::chrono::steady_clock::duration;
inline constexpr TDeadline SHOWN_WITHIN = WAIT_LIMIT;

class TClient {
public:
    // Starts the program with engine 0 in a fresh directory. Slot numbers the places on the screen, two side
    // by side per row.
    TClient(int32_t Slot, const TClientSetup& Setup);
    // Ends a client that is still running without ceremony; use TRoad::stop for the checked end.
    ~TClient();
    // Starts the program again, as it was started, in the directory the last run left behind; for a client
    // that has ended. Launcher: command words put before the program for this run only (a tracer, a change
    // of privileges), the first searched in PATH; they must end in the program's exec, so that the process
    // started is the program's (as setpriv and "strace -D" do).
    void restart(const std::vector<std::string>& Launcher = {});
    TClient(const TClient&) = delete;
    TClient& operator=(const TClient&) = delete;

    bool running() const;
    // The program's process id while it runs, -1 otherwise.
    pid_t process() const { return Process; }
    const std::filesystem::path& directory() const { return Directory; }
    // The X window of the client, once waitForWindow found it.
    const std::string& windowId() const { return WindowId; }
    int32_t width() const { return Area.Width; }
    int32_t height() const { return Area.Height; }
    // The whole client area, in its own coordinates.
    TRect area() const { return {0, 0, Area.Width, Area.Height}; }
    // Standard error so far.
    std::string errors() const;
    // Waits until the window is mapped and takes its place; false, with the test failed, when it does not
    // come.
    bool waitForWindow();
    // The exit code once the program has ended, or -1 when it had not by then (it is then killed); 128 plus
    // the signal for a program a signal ended.
    int32_t waitForExit(std::chrono::seconds Limit);
    // Sends the end signal, then waitForExit.
    int32_t terminate(std::chrono::seconds Limit = std::chrono::seconds(20));
    // Sends a signal to the running program.
    void signal(int Signal) const;

    // Input. Points are in the client area. A move returns once the client has drawn its pointer there, so
    // that what follows happens at the new place; presses go where the pointer is.
    void move(TPoint At);
    void click(TPoint At, const std::string& Modifiers = "");
    void rightClick(TPoint At, const std::string& Modifiers = "");
    // Both presses in one read of the client: a double click however late the client reads.
    void doubleClick(TPoint At);
    // Presses the left button at From, moves to To with it held and releases it there.
    void drag(TPoint From, TPoint To, const std::string& Modifiers = "");
    // Notches forward (positive) or back at the point.
    void wheel(TPoint At, int32_t Notches);
    // xdotool key names joined by '+', several separated by blanks: "ctrl+l", "Return", "Up Up Left".
    void key(const std::string& Keys);
    void type(const std::string& Text);

    // What the client shows now, of the whole client area or a part of it.
    TImage shot() const { return shot(area()); }
    TImage shot(const TRect& Part) const;
    // The first place the pattern is shown, leaving out the client's own pointer.
    std::optional<TRect> find(const TPattern& Pattern) const { return find(Pattern, area()); }
    std::optional<TRect> find(const TPattern& Pattern, const TRect& Part) const;
    // Polls until the pattern is shown; fails the test (with the last picture saved beside the test) when it
    // is not within the limit.
    std::optional<TRect> waitUntilShown(const TPattern& Pattern, TDeadline Limit = SHOWN_WITHIN) const {
        return waitUntilShown(Pattern, area(), Limit);
    }
    std::optional<TRect> waitUntilShown(const TPattern& Pattern, const TRect& Part,
                                        TDeadline Limit = SHOWN_WITHIN) const;
    // Until any of the patterns is shown; where the first of them that shows is.
    std::optional<TRect> waitUntilShown(const std::vector<const TPattern*>& Patterns, const TRect& Part,
                                        TDeadline Limit = SHOWN_WITHIN) const;
    bool waitUntilGone(const TPattern& Pattern, const TRect& Part, TDeadline Limit = SHOWN_WITHIN) const;
    // Polls until Condition holds for a picture of Part; Name says in a failure what was awaited.
    bool waitUntil(const std::string& Name, const TRect& Part,
                   const std::function<bool(const TImage&)>& Condition, TDeadline Limit = SHOWN_WITHIN) const;
    // The shape (1 to 6) of the pointer the client draws at the point, 0 when none is drawn there.
    int32_t pointerShape(TPoint At) const;

    // Set by the login road while a character of this client is in the game.
    bool InGame = false;

private:
    void launch(const std::vector<std::string>& Launcher = {});
    // Stops the program (SIGSTOP) and returns once it has stopped; false, with the test failed, when it has
    // ended instead. SIGCONT lets it go on.
    bool suspend();
    TPoint onScreen(TPoint At) const { return {Area.x + At.x, Area.y + At.y}; }
    void focus();
    void withModifiers(const std::string& Modifiers, const std::vector<std::string>& Action);
    // The part of the client area the pointer covers while it is in this window: the box of the shape it
    // shows, or of every shape while none shows.
    TRect pointerCover() const;
    // Saves the picture beside the test and answers its file name.
    std::string keep(const TImage& Image) const;

    TClientSetup Setup;
    std::filesystem::path Directory;
    pid_t Process = -1;
    std::string WindowId;
    TRect Placed; // where the options put the client area; empty without an options file
    TRect Area;   // the client area on the screen
    bool DrawsPointer = false;
};
