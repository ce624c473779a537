// Hostile but well-formed sizes, each as a ratio to one anchor measured in the same run (a memcpy of 16 MiB):
// error.txt with 10,000 short reports read at start-up, an automap block file with 100,000 marks loaded, a
// select-all copy of 1,000 console lines of "a.a.a...", Ebrun.cfg with 30,000 white-list names loaded and
// saved, and floods of 20,000, 40,000 and 80,000 events drained in one pass (twice the events, about twice
// the time). Prints the median of 5 rounds; each should stay under 100 ms on a Release build.
#include "bench/BenchArguments.h"
#include "control/Player.h"
#include "foundation/sysinc.h"
#include "graphics/graphics.h"
#include "gui/DialogElementsEdit.h"
#include "screen/ConsoleWindow.h"
#include "state/Events.h"
#include "state/MapAutomap.h"
#include "state/Preferences.h"
#include "state/Status.h"
#include "state/StatusClipboard.h"
#include "state/StatusReports.h"
#include "state/Talk.h"
#include "state/TalkBuffer.h"
#include "state/TalkRouting.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int ROUNDS = 5;

// Median over ROUNDS rounds; Prepare runs untimed before each round.
double MedianMilliseconds(const std::function<void()>& Prepare, const std::function<void()>& Work) {
    std::vector<double> Times;
    for (int i = 0; i < ROUNDS; i++) {
        Prepare();
        const auto Start = std::chrono::steady_clock::now();
        Work();
        Times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - Start).count());
    }
    std::nth_element(Times.begin(), Times.begin() + ROUNDS / 2, Times.end());
    return Times[ROUNDS / 2];
}

double AnchorMilliseconds() {
    static std::vector<char> From(16 << 20, 1), To(16 << 20);
    return MedianMilliseconds([] {}, [] { std::memcpy(To.data(), From.data(), From.size()); });
}

void Report(const char* Name, double Milliseconds, double Anchor) {
    std::printf("%-44s %9.2f ms  %8.2f x anchor%s\n", Name, Milliseconds, Milliseconds / Anchor,
                Milliseconds < 100 ? "" : "  (over 100 ms)");
}

void WriteText(const char* Name, const std::string& Text) {
    FILE* File = std::fopen(Name, "wb");
    std::fwrite(Text.data(), 1, Text.size(), File);
    std::fclose(File);
}

void PutQuad(std::string& Bytes, uint32_t Value) {
    for (int i = 0; i < 4; i++)
        Bytes += static_cast<char>(Value >> (8 * i));
}

double ErrorReports() {
    std::string Text;
    for (int i = 0; i < 10000; i++)
        Text += "\n+---------------------------------------------------------------\nDebug Assertion 7.72 "
                "Map.cpp 17\nMon Jan  1 00:00:00 2026\nGraphic Engine: 0\nMap.cpp 17: assertion failed\n"
                "----------------------------------------------------------------";
    WriteText("error.txt", Text);
    return MedianMilliseconds(ClearErrorReports, ReadErrorReports);
}

// Five block files of 100,000 marks each, loaded one per round into a slot that has never held marks.
double AutomapMarks() {
    for (int32_t bx = 0; bx < ROUNDS; bx++) {
        std::string Bytes(2 * AUTOMAP_CELLS, '\0');
        PutQuad(Bytes, 100000);
        for (uint32_t i = 0; i < 100000; i++) {
            PutQuad(Bytes, static_cast<uint32_t>(bx * 256 + i % 256));
            PutQuad(Bytes, i / 256 % 256);
            PutQuad(Bytes, i % 20);
            Bytes += std::string("\x04\0mark", 6);
        }
        char Name[32];
        std::snprintf(Name, sizeof Name, "%03d%03d%02d.map", bx, 0, 7);
        WriteText(Name, Bytes);
    }
    InitAutomap();
    int32_t bx = 0;
    return MedianMilliseconds([] {}, [&] { GetAutomapBlock(bx++, 0, 7); });
}

double ConsoleCopy() {
    std::string Line;
    while (Line.size() < 250)
        Line += "a.";
    TTextBuffer Buffer(TALK_SAY);
    for (int i = 0; i < 1000; i++)
        Buffer.addText(TALK_SAY, Line.c_str(), 0);
    ConsoleTextView View;
    View.setSize(600, 300);
    View.setTextBuffer(&Buffer);
    return MedianMilliseconds([&] { View.arrange(); },
                              [&] {
                                  View.handleEvent(EDIT_SELECT_ALL);
                                  View.handleEvent(EDIT_COPY);
                              });
}

void WhiteListNames(double& Load, double& Save) {
    std::string Text = "White = {";
    for (int i = 0; i < 30000; i++)
        Text += (i > 0 ? ",\"Player " : "\"Player ") + std::to_string(i) + "\"";
    WriteText("Ebrun.cfg", Text + "}\n");
    Load = MedianMilliseconds(ClearWhiteList, LoadOptions);
    Save = MedianMilliseconds([] {}, SaveOptions);
}

// Takes every event and acts on none: what is measured is the queue itself.
class TIdleActions : public TMessageActions {
public:
    bool hasModalWindow() override { return false; }
    void destroyModalWindow() override {}
    bool isMouseCaptured() override { return false; }
    void performMessage(int32_t, intptr_t, intptr_t) override {}
    void placeModalWindow(bool) override {}
    void moveCreatures() override {}
    void drawFrame() override {}
};

double EventFlood(int32_t Events) {
    TIdleActions Actions;
    return MedianMilliseconds(
        [Events] {
            for (int32_t i = 0; i < Events; i++)
                AddMessage(MESSAGE_USEWITHCURSOR, 0, 0);
        },
        [&] { DispatchMessages(Actions); });
}

} // namespace

int main(int argc, char** argv) {
    TBenchArguments(argc, argv,
                    "usage: bench_growth\n"
                    "Times the client on hostile but well-formed sizes of the files and texts it reads and\n"
                    "copies, as ratios to a memcpy of 16 MiB. Takes no arguments.\n",
                    {});
    const fs::path Work = fs::temp_directory_path() / ("pellarune-growth-" + std::to_string(getpid()));
    fs::create_directories(Work);
    // The fonts of the console come from the generated picture file.
    fs::current_path(EBRUN_DATA_DIR);
    InitSystem();
    InitStatus(false, [] { return false; });
    InitGraphics(0xA00000);
    InitTalk();
    fs::current_path(Work);

    const double Anchor = AnchorMilliseconds();
    std::printf("%-44s %9.2f ms\n", "anchor: memcpy of 16 MiB", Anchor);
    Report("error.txt, 10,000 reports, read", ErrorReports(), Anchor);
    Report("automap block, 100,000 marks, loaded", AutomapMarks(), Anchor);
    Report("console, 1,000 lines of a.a.a, select-all copy", ConsoleCopy(), Anchor);
    double Load = 0, Save = 0;
    WhiteListNames(Load, Save);
    Report("Ebrun.cfg, 30,000 white names, loaded", Load, Anchor);
    Report("Ebrun.cfg, 30,000 white names, saved", Save, Anchor);
    for (const auto& [Name, Events] : {std::pair{"event queue, 20,000 events, drained", 20000},
                                       std::pair{"event queue, 40,000 events, drained", 40000},
                                       std::pair{"event queue, 80,000 events, drained", 80000}})
        Report(Name, EventFlood(Events), Anchor);

    ExitTalk();
    ExitGraphics();
    ExitStatus();
    ExitSystem();
    fs::current_path(fs::temp_directory_path());
    fs::remove_all(Work);
    return 0;
}
