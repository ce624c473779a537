// The command line of a benchmark: the names of the parts it runs, or none. --help prints the usage on the
// standard output and ends the program with 0; anything else it does not know prints the usage on the
// standard error and ends it with 2.
#pragma once

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

class TBenchArguments {
public:
    // Usage: what the benchmark measures and takes, from "usage: " on, with its closing newline.
    TBenchArguments(int argc, char** argv, const char* Usage, std::initializer_list<const char*> Parts)
        : First(argv + 1), Last(argv + argc) {
        for (char** a = First; a != Last; a++) {
            if (std::strcmp(*a, "--help") == 0) {
                std::fputs(Usage, stdout);
                std::exit(0);
            }
            if (std::none_of(Parts.begin(), Parts.end(),
                             [a](const char* p) { return !std::strcmp(*a, p); })) {
                std::fprintf(stderr, "%s: unknown argument '%s'\n%s", argv[0], *a, Usage);
                std::exit(2);
            }
        }
    }

    // Part is named on the command line, or none is.
    bool wanted(const char* Part) const {
        return First == Last ||
               std::any_of(First, Last, [Part](const char* a) { return !std::strcmp(a, Part); });
    }

private:
    char** First;
    char** Last;
};
