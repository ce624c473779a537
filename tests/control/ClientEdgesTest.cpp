// The client program at the edges of a desktop, from outside (run under tests/isolated): without a display
// it says so and ends; its window carries the crest as its icon; SIGHUP and SIGTERM end it orderly; a
// processor fault leaves a crash report that the next start offers.
#include "tests/control/ClientProcess.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

using namespace client;

namespace {

const TEnvironment OnTheXServer = {{"SDL_VIDEODRIVER", "x11"}};

bool Contains(const std::string& Text, const std::string& Part) {
    return Text.find(Part) != std::string::npos;
}

// The numbers of a property as xprop prints it: "NAME(TYPE) = n, n, ...".
std::vector<uint32_t> Numbers(const std::string& Property) {
    std::vector<uint32_t> Values;
    const size_t Equals = Property.find(" = ");
    if (Equals == std::string::npos) return Values;
    for (const char* p = Property.c_str() + Equals + 3; *p != 0;) {
        char* End = nullptr;
        Values.push_back(static_cast<uint32_t>(std::strtoul(p, &End, 10)));
        if (End == p) break;
        p = End;
        while (*p == ',' || *p == ' ' || *p == '\n')
            p++;
    }
    return Values;
}

// Waits until File is gone, for at most Seconds.
bool WaitUntilRemoved(const fs::path& File, int Seconds) {
    for (int i = 0; i < Seconds * 20 && fs::exists(File); i++)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return !fs::exists(File);
}

} // namespace

TEST(ClientEdges, WithoutADisplayItSaysSoAndEndsWithOne) {
    const fs::path Directory = WorkDirectory("nodisplay", {"Ebrun.dat", "Ebrun.spr", "Ebrun.pic"});
    const pid_t Child = StartClient(
        Directory, {{"SDL_VIDEODRIVER", nullptr}, {"DISPLAY", nullptr}, {"WAYLAND_DISPLAY", nullptr}});
    EXPECT_EQ(WaitForExit(Child, 30), 1);
    const std::string Errors = ReadFile(Directory / "stderr.txt");
    EXPECT_TRUE(Contains(Errors, "Pellarune: cannot show the window: ")) << Errors;
    EXPECT_FALSE(fs::exists(Directory / "Ebrun.cfg")) << "nothing ran, so nothing is saved";
    EXPECT_FALSE(fs::exists(Directory / "error.txt"));
    fs::remove_all(Directory);
}

TEST(ClientEdges, TheWindowShowsTheCrestAsIconAndAHangUpEndsItOrderly) {
    const fs::path Directory = WorkDirectory("icon", {"Ebrun.dat", "Ebrun.spr", "Ebrun.pic"});
    const pid_t Child = StartClient(Directory, OnTheXServer);
    const TGeometry Window = FindClientWindow();
    ASSERT_FALSE(Window.Id.empty()) << "no client window";
    const std::vector<uint32_t> Icon =
        Numbers(Command("xprop -id " + Window.Id + " -f _NET_WM_ICON 32c _NET_WM_ICON"));
    ASSERT_EQ(Icon.size(), 2u + 64 * 64);
    EXPECT_EQ(Icon[0], 64u);
    EXPECT_EQ(Icon[1], 64u);
    EXPECT_EQ(Icon[2], 0u) << "the corner is the picture's key colour: transparent";
    EXPECT_EQ(Icon[2 + 30 * 64 + 20] >> 24, 0xFFu) << "the crest is opaque";

    kill(Child, SIGHUP);
    EXPECT_EQ(WaitForExit(Child, 30), 0);
    EXPECT_TRUE(Contains(ReadFile(Directory / "Ebrun.cfg"), "WindowedMode = ("));
    EXPECT_FALSE(fs::exists(Directory / "error.txt"));
    fs::remove_all(Directory);
}

TEST(ClientEdges, AProcessorFaultLeavesAReportThatTheNextStartOffers) {
    const fs::path Directory = WorkDirectory("fault", {"Ebrun.dat", "Ebrun.spr", "Ebrun.pic"});
    pid_t Child = StartClient(Directory, OnTheXServer);
    ASSERT_FALSE(FindClientWindow().Id.empty()) << "no client window";
    kill(Child, SIGSEGV);
    EXPECT_EQ(WaitForExit(Child, 30), 1);
    const std::string Report = ReadFile(Directory / "error.txt");
    EXPECT_TRUE(Contains(Report, "\nDebug Assertion 7.72 SIGSEGV\n")) << Report;
    EXPECT_TRUE(Contains(Report, "\nSIGSEGV: processor fault (invalid memory access) at address 0x"))
        << Report;
    EXPECT_EQ(Report.substr(Report.size() - 65), "\n" + std::string(64, '-'));
    EXPECT_TRUE(Contains(ReadFile(Directory / "stderr.txt"), "Pellarune Error - Debug\n"));

    // The next start opens the "Error Report" dialog; its Cancel (Escape) throws the report away.
    Child = StartClient(Directory, OnTheXServer);
    const TGeometry Window = FindClientWindow();
    ASSERT_FALSE(Window.Id.empty()) << "no client window";
    Command("xdotool windowfocus --sync " + Window.Id + " key Escape");
    EXPECT_TRUE(WaitUntilRemoved(Directory / "error.txt", 30));
    // With or without a dialog open, the end request of a session manager ends the program orderly.
    kill(Child, SIGTERM);
    EXPECT_EQ(WaitForExit(Child, 30), 0);
    EXPECT_FALSE(fs::exists(Directory / "error.txt"));
    fs::remove_all(Directory);
}
