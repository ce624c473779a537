// Test helper: a directory of the running test's own, emptied at the start and removed at the end, so
// tests that run side by side never share a file.
#pragma once

#include "tests/Wait.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <grp.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

// The names in the directory at Path, sorted.
inline std::vector<std::string> Listing(const std::string& Path) {
    std::vector<std::string> Names;
    for (const auto& Entry : std::filesystem::directory_iterator(Path))
        Names.push_back(Entry.path().filename().string());
    std::sort(Names.begin(), Names.end());
    return Names;
}

class TTempDirectory {
public:
    // Tag tells apart two directories that live at once in one test.
    explicit TTempDirectory(const std::string& Tag = "") {
        const auto* Info = ::testing::UnitTest::GetInstance()->current_test_info();
        Path = std::string("tmp-") + Info->test_suite_name() + "-" + Info->name() + Tag;
        std::filesystem::remove_all(Path);
        std::filesystem::create_directories(Path);
    }
    ~TTempDirectory() {
        std::error_code Error;
        std::filesystem::remove_all(Path, Error);
    }

    // Relative name of a file in the directory.
    std::string file(const std::string& Name) const { return Path + "/" + Name; }

    std::string write(const std::string& Name, const std::string& Content) const {
        std::ofstream(file(Name), std::ios::binary) << Content;
        return file(Name);
    }

    std::string read(const std::string& Name) const {
        std::ifstream In(file(Name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
    }

private:
    std::string Path;
};

// A directory of the running test's own that is also the working directory while it lives, for code that
// reads and writes fixed file names in the working directory.
class TWorkingDirectory : public TTempDirectory {
public:
    explicit TWorkingDirectory(const std::string& Tag = "")
        : TTempDirectory(Tag), Home(std::filesystem::current_path()) {
        std::filesystem::current_path(file(""));
    }
    ~TWorkingDirectory() { std::filesystem::current_path(Home); }

private:
    std::filesystem::path Home;
};

// Runs Body in a child process in the directory Path, whose mode then refuses the child new files, and gives
// what Body returned. An administrator passes over such a mode, so the child of one first hands the
// directory and its files to another user and takes that user's ids. Path's mode is restored after.
inline std::string InDirectoryRefusingNewFiles(const std::string& Path,
                                               const std::function<std::string()>& Body) {
    int Result[2];
    if (pipe(Result) != 0) return "no pipe";
    const pid_t Child = fork();
    if (Child == 0) {
        close(Result[0]);
        std::string Text = "not run";
        bool Bound = chdir(Path.c_str()) == 0;
        if (Bound && geteuid() == 0) {
            const uid_t Nobody = 65534;
            for (const auto& Entry : std::filesystem::directory_iterator("."))
                Bound = Bound && lchown(Entry.path().c_str(), Nobody, Nobody) == 0;
            Bound = Bound && chown(".", Nobody, Nobody) == 0 && setgroups(0, nullptr) == 0 &&
                    setgid(Nobody) == 0 && setuid(Nobody) == 0;
        }
        if (Bound && chmod(".", 0555) == 0) Text = Body();
        const bool Told = write(Result[1], Text.data(), Text.size()) == static_cast<ssize_t>(Text.size());
        _exit(Told ? 0 : 1);
    }
    close(Result[1]);
    std::string Text;
    char Buffer[256];
    for (ssize_t Count; (Count = read(Result[0], Buffer, sizeof Buffer)) > 0;)
        Text.append(Buffer, static_cast<size_t>(Count));
    close(Result[0]);
    waitpid(Child, nullptr, 0);
    chmod(Path.c_str(), 0755);
    return Text;
}

// Makes a named pipe Fifo that no process writes to and answers whether Read, run on a thread of its own,
// returns without a writer. A Read that waits on the pipe is set free (writers come and go, so it reads an
// empty pipe) before the answer false, so a faulty reader fails the test instead of stalling it.
inline bool ReturnsBesideAPipe(const std::string& Fifo, const std::function<void()>& Read) {
    EXPECT_EQ(mkfifo(Fifo.c_str(), 0600), 0) << Fifo;
    std::atomic<bool> Returned = false;
    std::thread Reader([&] {
        Read();
        Returned = true;
    });
    const bool Answer = WaitFor([&] { return Returned.load(); });
    WaitFor([&] {
        const int Writer = open(Fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (Writer >= 0) close(Writer);
        return Returned.load();
    });
    Reader.join();
    return Answer;
}
