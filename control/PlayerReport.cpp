// The crash report: appended to "error.txt" when the program fails, read back into the error-report records
// at the next start.
#include "control/Control.h"
#include "control/Player.h"
#include "foundation/Exception.h"
#include "foundation/Utils.h"
#include "foundation/sysinc.h"
#include "graphics/Engine.h"
#include "network/Network.h"
#include "screen/MainWindow.h"
#include "state/Creatures.h"
#include "state/CreaturesPlayer.h"
#include "state/StatusReports.h"

#include <cstring>
#include <ctime>
#include <sys/utsname.h>

namespace {

constexpr const char* ERROR_FILE = "error.txt";
constexpr const char* CLIENT_VERSION_TEXT = "7.72";

// The service-pack part of the version line: at most 30 characters, the unusual ones as '*'.
std::string CleanVersionText(const char* Text) {
    std::string Clean;
    for (int32_t i = 0; Text[i] != 0 && i < 30; i++) {
        const char c = Text[i];
        Clean += IsLetter(c) || IsDigit(c) || c == ' ' || c == '.' || c == '-' || c == '_' ? c : '*';
    }
    return Clean;
}

void WriteSystemVersion(FILE* File) {
    try {
        utsname Name;
        if (uname(&Name) != 0) {
            fputs("Windows Version: (error)\n", File);
            return;
        }
        int Major = 0, Minor = 0, Build = 0;
        sscanf(Name.release, "%d.%d.%d", &Major, &Minor, &Build);
        fprintf(File, "Windows Version: %d.%d build %d on %s", Major, Minor, Build, Name.sysname);
        const std::string Extra = CleanVersionText(Name.version);
        if (!Extra.empty()) fprintf(File, " with %s", Extra.c_str());
        fputs("\n", File);
    } catch (...) {
        fputs("Windows Version: (exception)\n", File);
    }
    fflush(File);
}

void OutputControlErrorInformations(FILE* File) {
    try {
        fputs("Last Packet Types:", File);
        const int32_t Index = GetLastPacketTypeIndex();
        for (int32_t k = 9; k >= 0; k--)
            fprintf(File, " %03u", static_cast<unsigned>(GetLastPacketType((Index + k) % LASTPACKETTYPES)));
        fputs("\n", File);
    } catch (...) {
        fputs("OutputControlErrorInformations: (exception)\n", File);
    }
    fflush(File);
}

void OutputErrorInformations(FILE* File) {
    try {
        const uint8_t* Bytes = GetLastPacket();
        bool Any = false;
        for (int32_t i = 0; i < 16; i++)
            Any = Any || Bytes[i] != 0;
        if (Any) {
            fputs("Last Packet:", File);
            for (int32_t i = 0; i < 16; i++)
                fprintf(File, " %03u", static_cast<unsigned>(Bytes[i]));
            fputs("\n", File);
        }
        try {
            const uint32_t Player = GetPlayerID();
            const TCreature* Creature = Player != 0 ? GetCreature(Player) : nullptr;
            if (Creature != nullptr)
                fprintf(File, "Player Position: [%d,%d,%d]\n", Creature->X, Creature->Y, Creature->Z);
        } catch (...) {
        }
    } catch (...) {
        fputs("OutputErrorInformations: (exception)\n", File);
    }
    fflush(File);
}

} // namespace

void WriteErrorReportText(FILE* File, const TMyException& Exception) {
    fputs("\n", File);
    fputs("+---------------------------------------------------------------\n", File);
    fprintf(File, "Debug Assertion %s %s\n", CLIENT_VERSION_TEXT, Exception.getLocation().c_str());
    const time_t Now = time(nullptr);
    char Time[32];
    fputs(ctime_r(&Now, Time) != nullptr ? Time : "\n", File);
    fflush(File);
    WriteSystemVersion(File);
    try {
        fprintf(File, "Graphic Engine: %d\n", GetGraphicEngine());
    } catch (...) {
        fputs("Graphic Engine: (exception)\n", File);
    }
    fflush(File);
    OutputControlErrorInformations(File);
    if (GetMainWindow() != nullptr) OutputErrorInformations(File);
    fprintf(File, "%s\n", Exception.getText().c_str());
    fputs("----------------------------------------------------------------", File);
    fflush(File);
}

void WriteErrorReport(const TMyException& Exception) {
    FILE* File = OpenFile(ERROR_FILE, "a");
    if (File != nullptr) {
        WriteErrorReportText(File, Exception);
        fclose(File);
    }
    AbortProgram("The Pellarune encountered a critical error and had to be stopped.\r\n\r\nA detailed error "
                 "report has been written to the error file which\r\nyou are asked to submit at your next "
                 "login.",
                 "Pellarune Error - Debug");
}

void ReadErrorReports() {
    if (!FileExists(ERROR_FILE)) return;
    FILE* File = OpenFile(ERROR_FILE, "r");
    if (File == nullptr) return;
    enum { OUTSIDE, TITLE, TIME, TEXT } State = OUTSIDE;
    std::string Line;
    for (;;) {
        Line.clear();
        int c;
        while ((c = fgetc(File)) != EOF && c != '\n')
            Line += static_cast<char>(c);
        const bool Failed = ferror(File) != 0;
        if (Failed) Line += " (bad input file)";
        if (!Line.empty()) {
            if (Line == "Player Position: [" || Line == "Windows Version: ")
                Line += " (truncated input line)";
            if (Line[0] == '-')
                State = OUTSIDE;
            else if (Line[0] == '+')
                State = TITLE;
            else if (State == TITLE) {
                StartErrorReport(Line.c_str());
                State = TIME;
            } else if (State == TIME) {
                SetErrorReportTime(Line.c_str());
                State = TEXT;
            } else if (State == TEXT) {
                AddErrorReportLine(Line.c_str());
            }
        }
        if (c == EOF || Failed) break;
    }
    fclose(File);
}
