// CPU time of the running client program per frame, as a ratio to a memcpy of its 1024 x 768 x 4 frame
// measured in this process. The real pellarune (software engine, 100 frames a second) logs in on the test
// server's village and stands there; the CPU time the kernel counts for its process over a window, divided by
// the frames the limit lets it draw in that window, is one figure; the median of 5 windows is printed.
// The limit holds while a frame costs well under its period, so the frames are counted by the clock.
// Run it under its own X server and network namespace:
//   tests/isolated 1024x768 build/release/bench/bench_client
#include "bench/BenchArguments.h"
#include "state/Preferences.h"
#include "tests/roads/Road.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr int32_t CLIENT_WIDTH = 1024, CLIENT_HEIGHT = 768, FRAME_RATE = 100, WINDOWS = 5;
constexpr auto WINDOW = std::chrono::seconds(5), SETTLE = std::chrono::seconds(2);

double Median(std::vector<double> Values) {
    std::nth_element(Values.begin(), Values.begin() + Values.size() / 2, Values.end());
    return Values[Values.size() / 2];
}

// User and system time of a process so far, in seconds; negative when it cannot be read.
double ProcessSeconds(pid_t Process) {
    std::ifstream Stat("/proc/" + std::to_string(Process) + "/stat");
    const std::string Line{std::istreambuf_iterator<char>(Stat), {}};
    const size_t End = Line.rfind(')'); // the command name may hold blanks
    if (End == std::string::npos) return -1;
    unsigned long long User = 0, System = 0;
    // After the name: state and eleven numbers, then utime and stime in clock ticks.
    if (std::sscanf(Line.c_str() + End + 1, " %*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %llu %llu", &User,
                    &System) != 2)
        return -1;
    return static_cast<double>(User + System) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// Milliseconds of one memcpy of the frame, the median of many.
double MemcpyMilliseconds() {
    const size_t Bytes = size_t{CLIENT_WIDTH} * CLIENT_HEIGHT * 4;
    std::vector<uint8_t> From(Bytes, 1), To(Bytes);
    std::vector<double> Times;
    for (int i = 0; i < 200; i++) {
        const auto Start = std::chrono::steady_clock::now();
        std::memcpy(To.data(), From.data(), Bytes);
        Times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - Start).count());
        From[i % Bytes] = To[(i * 7) % Bytes] + 1; // keeps the copies
    }
    return Median(Times);
}

} // namespace

int main(int argc, char** argv) {
    TBenchArguments(
        argc, argv,
        "usage: bench_client\n"
        "Times the CPU the running client takes a frame in game against the test server, as a ratio\n"
        "to a memcpy of its frame; run it under tests/isolated 1024x768. Takes no arguments.\n",
        {});
    TRoad Road;
    TClientSetup Setup;
    Setup.Width = CLIENT_WIDTH;
    Setup.Height = CLIENT_HEIGHT;
    Setup.Options = [] { SetConfineFramerate(FRAME_RATE); };
    TClient& Client = Road.start(Setup);
    Road.login(Client, "Aldric");
    if (!Client.InGame) {
        std::fprintf(stderr, "the client did not get into the game\n");
        return 1;
    }
    std::this_thread::sleep_for(SETTLE);
    std::vector<double> Ratios;
    for (int w = 0; w < WINDOWS; w++) {
        const double Memcpy = MemcpyMilliseconds();
        const double Before = ProcessSeconds(Client.process());
        const auto Start = std::chrono::steady_clock::now();
        std::this_thread::sleep_for(WINDOW);
        const double Used = ProcessSeconds(Client.process()) - Before;
        const double Seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
        if (Before < 0 || Used < 0) {
            std::fprintf(stderr, "cannot read the client's CPU time\n");
            return 1;
        }
        const double PerFrame = Used * 1000 / (Seconds * FRAME_RATE);
        Ratios.push_back(PerFrame / Memcpy);
        std::printf("window %d: %.3f ms a frame, memcpy %.3f ms: %.1f x\n", w + 1, PerFrame, Memcpy,
                    PerFrame / Memcpy);
    }
    std::printf("running client, software engine, %dx%d at %d frames a second: %.1f x memcpy a frame "
                "(median of %d windows)\n",
                CLIENT_WIDTH, CLIENT_HEIGHT, FRAME_RATE, Median(Ratios), WINDOWS);
    return 0;
}
