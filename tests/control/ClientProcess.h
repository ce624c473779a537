// The client program (the build's pellarune) started in a working directory of its own and watched from
// outside: its exit code, its standard error stream and its window on the X server the test runs under.
#pragma once

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

namespace client {

namespace fs = std::filesystem;

// A fresh working directory holding the named generated data files.
inline fs::path WorkDirectory(const char* Name, std::initializer_list<const char*> Files) {
    fs::path Directory =
        fs::temp_directory_path() / (std::string("pellarune-") + Name + "-" + std::to_string(getpid()));
    fs::remove_all(Directory);
    fs::create_directories(Directory);
    for (const char* File : Files)
        fs::copy_file(fs::path(EBRUN_DATA_DIR) / File, Directory / File);
    return Directory;
}

// Environment changes of a start: a name with its value, or with NULL to remove it.
using TEnvironment = std::vector<std::pair<const char*, const char*>>;

// The client started in Directory; its standard error goes to "stderr.txt" there. Message boxes are written
// to the standard error stream instead of shown.
inline pid_t StartClient(const fs::path& Directory, const TEnvironment& Environment) {
    const pid_t Child = fork();
    if (Child != 0) return Child;
    if (chdir(Directory.c_str()) != 0) _exit(101);
    FILE* Errors = freopen("stderr.txt", "w", stderr);
    (void)Errors;
    setenv("EBRUN_NO_MESSAGE_BOX", "1", 1);
    // The window is made for OpenGL, whose libraries keep allocations past their unloading.
    setenv("ASAN_OPTIONS", "detect_leaks=0:abort_on_error=1", 1);
    for (const auto& [Name, Value] : Environment)
        Value != nullptr ? setenv(Name, Value, 1) : unsetenv(Name);
    execl(EBRUN_CLIENT, EBRUN_CLIENT, static_cast<char*>(nullptr));
    _exit(102);
}

// The exit code (200 for an end by a signal), or -1 when the client has not ended within the time.
inline int WaitForExit(pid_t Child, int Seconds) {
    for (int i = 0; i < Seconds * 20; i++) {
        int Status = 0;
        if (waitpid(Child, &Status, WNOHANG) == Child) return WIFEXITED(Status) ? WEXITSTATUS(Status) : 200;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    kill(Child, SIGKILL);
    waitpid(Child, nullptr, 0);
    return -1;
}

inline std::string Command(const std::string& Line) {
    std::string Output;
    FILE* Pipe = popen(Line.c_str(), "r");
    if (Pipe == nullptr) return Output;
    char Buffer[256];
    while (fgets(Buffer, sizeof(Buffer), Pipe) != nullptr)
        Output += Buffer;
    pclose(Pipe);
    return Output;
}

inline std::string ReadFile(const fs::path& Name) {
    std::ifstream File(Name, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(File)), std::istreambuf_iterator<char>());
}

struct TGeometry {
    int32_t x = -1, y = -1, Width = 0, Height = 0;
    std::string Id; // the X window
};

// The client window's place on the screen, once it is mapped.
inline TGeometry FindClientWindow() {
    const std::string Found = Command(
        "timeout 30 xdotool search --sync --onlyvisible --name '^Pellarune$' getwindowgeometry --shell");
    TGeometry Geometry;
    std::sscanf(Found.c_str() + std::min(Found.find("WINDOW="), Found.size()),
                "WINDOW=%*s\nX=%d\nY=%d\nWIDTH=%d\nHEIGHT=%d", &Geometry.x, &Geometry.y, &Geometry.Width,
                &Geometry.Height);
    const size_t Id = Found.find("WINDOW=");
    if (Id != std::string::npos) Geometry.Id = Found.substr(Id + 7, Found.find('\n', Id) - Id - 7);
    return Geometry;
}

} // namespace client
