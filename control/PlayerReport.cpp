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
#include "screen/MessageTexts.h"
#include "state/Creatures.h"
#include "state/CreaturesPlayer.h"
#include "state/StatusReports.h"

#include <csignal>
#include <cstring>
#include <ctime>
#include <sys/utsname.h>

namespace {

constexpr const char* ERROR_FILE = "error.txt";
constexpr const char* CLIENT_VERSION_TEXT = "7.72";
constexpr const char* CRASH_CAPTION = "Pellarune Error - Debug";
// A longer line of error.txt fits no record's field: it is cut here and its rest skipped up to its line
// feed, so that a file without line feeds cannot fill the memory and the reports behind it are still read.
constexpr size_t REPORT_LINE_LIMIT = sizeof(TErrorReport::Text) - 1;

// A report's text in memory of a fixed size, so that the fault handler, which may not allocate, writes the
// same lines as the report of an exception. What does not fit is cut.
class TReportText {
public:
    void add(const char* Text) {
        while (*Text != 0 && Length < CAPACITY)
            Buffer[Length++] = *Text++;
    }
    // Decimal, at least Digits digits with leading zeros.
    void addNumber(int64_t Value, int32_t Digits = 1) {
        char Digit[24];
        int32_t n = 0;
        uint64_t Rest = Value < 0 ? 0 - static_cast<uint64_t>(Value) : static_cast<uint64_t>(Value);
        do {
            Digit[n++] = static_cast<char>('0' + Rest % 10);
            Rest /= 10;
        } while (Rest != 0 || n < Digits);
        if (Value < 0) add("-");
        while (n > 0 && Length < CAPACITY)
            Buffer[Length++] = Digit[--n];
    }
    void addHex(uintptr_t Value) {
        add("0x");
        for (int32_t Shift = static_cast<int32_t>(sizeof(Value)) * 8 - 4; Shift >= 0; Shift -= 4) {
            const char Digit[2] = {"0123456789abcdef"[(Value >> Shift) & 15], 0};
            add(Digit);
        }
    }
    void clear() { Length = 0; }
    const char* data() const { return Buffer; }
    size_t size() const { return Length; }
    const char* terminated() {
        Buffer[Length] = 0;
        return Buffer;
    }

private:
    static constexpr size_t CAPACITY = 16384;
    char Buffer[CAPACITY + 1];
    size_t Length = 0;
};

// Made at start-up for the fault handler: the system version line, the local time's offset, and the
// memory the report and its failure line are written in.
struct {
    char VersionLine[200] = {};
    int64_t UtcOffset = 0; // seconds local time is ahead of universal time
    TReportText Text, Failure;
} Fault;

// The service-pack part of the version line: at most 30 characters, the unusual ones as '*'.
std::string CleanVersionText(const char* Text) {
    std::string Clean;
    for (int32_t i = 0; Text[i] != 0 && i < 30; i++) {
        const char c = Text[i];
        Clean += IsLetter(c) || IsDigit(c) || c == ' ' || c == '.' || c == '-' || c == '_' ? c : '*';
    }
    return Clean;
}

std::string SystemVersionLine() {
    try {
        utsname Name;
        if (uname(&Name) != 0) return "Windows Version: (error)\n";
        int Major = 0, Minor = 0, Build = 0;
        sscanf(Name.release, "%d.%d.%d", &Major, &Minor, &Build);
        char Line[160];
        snprintf(Line, sizeof Line, "Windows Version: %d.%d build %d on %s", Major, Minor, Build,
                 Name.sysname);
        std::string Text = Line;
        const std::string Extra = CleanVersionText(Name.version);
        if (!Extra.empty()) Text += " with " + Extra;
        return Text + "\n";
    } catch (...) {
        return "Windows Version: (exception)\n";
    }
}

// The time as the C library's ctime writes it: "Www Mmm dd hh:mm:ss yyyy" and a line feed.
void AddCalendarTime(TReportText& Text, int64_t Seconds) {
    static const char* const Days[] = {"Thu", "Fri", "Sat", "Sun", "Mon", "Tue", "Wed"};
    static const char* const Months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const int64_t Day = Seconds >= 0 ? Seconds / 86400 : (Seconds - 86399) / 86400;
    const int64_t Second = Seconds - Day * 86400;
    // Days since 1970-01-01 to the civil date (March-based years).
    const int64_t Shifted = Day + 719468, Era = (Shifted >= 0 ? Shifted : Shifted - 146096) / 146097;
    const int64_t DayOfEra = Shifted - Era * 146097;
    const int64_t YearOfEra = (DayOfEra - DayOfEra / 1460 + DayOfEra / 36524 - DayOfEra / 146096) / 365;
    const int64_t DayOfYear = DayOfEra - (365 * YearOfEra + YearOfEra / 4 - YearOfEra / 100);
    const int64_t MonthIndex = (5 * DayOfYear + 2) / 153;
    const int64_t DayOfMonth = DayOfYear - (153 * MonthIndex + 2) / 5 + 1;
    const int64_t Month = MonthIndex < 10 ? MonthIndex + 3 : MonthIndex - 9;
    const int64_t Year = YearOfEra + Era * 400 + (Month <= 2 ? 1 : 0);
    Text.add(Days[((Day % 7) + 7) % 7]);
    Text.add(" ");
    Text.add(Months[Month - 1]);
    Text.add(DayOfMonth < 10 ? "  " : " ");
    Text.addNumber(DayOfMonth);
    Text.add(" ");
    Text.addNumber(Second / 3600, 2);
    Text.add(":");
    Text.addNumber(Second / 60 % 60, 2);
    Text.add(":");
    Text.addNumber(Second % 60, 2);
    Text.add(" ");
    Text.addNumber(Year);
    Text.add("\n");
}

void OutputControlErrorInformations(TReportText& Text) {
    try {
        Text.add("Last Packet Types:");
        const int32_t Index = GetLastPacketTypeIndex();
        for (int32_t k = 9; k >= 0; k--) {
            Text.add(" ");
            Text.addNumber(GetLastPacketType((Index + k) % LASTPACKETTYPES), 3);
        }
        Text.add("\n");
    } catch (...) {
        Text.add("OutputControlErrorInformations: (exception)\n");
    }
}

void OutputErrorInformations(TReportText& Text) {
    try {
        const uint8_t* Bytes = GetLastPacket();
        bool Any = false;
        for (int32_t i = 0; i < 16; i++)
            Any = Any || Bytes[i] != 0;
        if (Any) {
            Text.add("Last Packet:");
            for (int32_t i = 0; i < 16; i++) {
                Text.add(" ");
                Text.addNumber(Bytes[i], 3);
            }
            Text.add("\n");
        }
        try {
            const uint32_t Player = GetPlayerID();
            const TCreature* Creature = Player != 0 ? GetCreature(Player) : nullptr;
            if (Creature != nullptr) {
                Text.add("Player Position: [");
                Text.addNumber(Creature->X);
                Text.add(",");
                Text.addNumber(Creature->Y);
                Text.add(",");
                Text.addNumber(Creature->Z);
                Text.add("]\n");
            }
        } catch (...) {
        }
    } catch (...) {
        Text.add("OutputErrorInformations: (exception)\n");
    }
}

// One report: TimeLine already ends with its line feed; the closing dashes have none.
void BuildReport(TReportText& Text, const char* Location, const char* VersionLine, const char* Failure,
                 void (*AddTime)(TReportText&)) {
    Text.add("\n+---------------------------------------------------------------\n");
    Text.add("Debug Assertion ");
    Text.add(CLIENT_VERSION_TEXT);
    Text.add(" ");
    Text.add(Location);
    Text.add("\n");
    AddTime(Text);
    Text.add(VersionLine);
    try {
        Text.add("Graphic Engine: ");
        Text.addNumber(GetGraphicEngine());
        Text.add("\n");
    } catch (...) {
        Text.add("Graphic Engine: (exception)\n");
    }
    OutputControlErrorInformations(Text);
    if (GetMainWindow() != nullptr) OutputErrorInformations(Text);
    Text.add(Failure);
    Text.add("\n----------------------------------------------------------------");
}

// What a processor fault is, by its signal; NULL for other signals.
const char* FaultName(int32_t Signal, const char*& Description) {
    switch (Signal) {
    case SIGSEGV:
        Description = "invalid memory access";
        return "SIGSEGV";
    case SIGBUS:
        Description = "bus error";
        return "SIGBUS";
    case SIGILL:
        Description = "illegal instruction";
        return "SIGILL";
    case SIGFPE:
        Description = "arithmetic error";
        return "SIGFPE";
    default:
        Description = "signal";
        return "SIGNAL";
    }
}

} // namespace

void WriteErrorReportText(FILE* File, const TMyException& Exception) {
    static TReportText Text; // large: kept off the stack of a failing program
    Text.clear();
    const std::string VersionLine = SystemVersionLine();
    BuildReport(Text, Exception.getLocation().c_str(), VersionLine.c_str(), Exception.getText().c_str(),
                [](TReportText& Time) {
                    const time_t Now = time(nullptr);
                    char Line[32];
                    Time.add(ctime_r(&Now, Line) != nullptr ? Line : "\n");
                });
    fwrite(Text.data(), 1, Text.size(), File);
    fflush(File);
}

void WriteErrorReport(const TMyException& Exception) {
    FILE* File = OpenFile(ERROR_FILE, "a");
    if (File != nullptr) {
        WriteErrorReportText(File, Exception);
        fclose(File);
    }
    AbortProgram(MessageTexts[TEXT_CRASH_MESSAGE], CRASH_CAPTION);
}

void PrepareFaultReport() {
    snprintf(Fault.VersionLine, sizeof Fault.VersionLine, "%s", SystemVersionLine().c_str());
    const time_t Now = time(nullptr);
    tm Local{}, Universal{};
    localtime_r(&Now, &Local);
    gmtime_r(&Now, &Universal);
    Local.tm_isdst = Universal.tm_isdst = 0;
    Fault.UtcOffset = static_cast<int64_t>(difftime(mktime(&Local), mktime(&Universal)));
}

void WriteFaultReport(const TFaultSignal& Signal) {
    const char* Description = nullptr;
    const char* Name = FaultName(Signal.Signal, Description);
    TReportText& Failure = Fault.Failure;
    Failure.clear();
    Failure.add(Name);
    if (Signal.Sent) {
        Failure.add(": signal sent");
        if (Signal.Sender != 0) {
            Failure.add(" by process ");
            Failure.addNumber(Signal.Sender);
        }
        Failure.add(", not a processor fault");
    } else {
        Failure.add(": processor fault (");
        Failure.add(Description);
        Failure.add(") at address ");
        Failure.addHex(Signal.Address);
    }
    Fault.Text.clear();
    BuildReport(Fault.Text, Name, Fault.VersionLine, Failure.terminated(), [](TReportText& Time) {
        AddCalendarTime(Time, GetCalendarSecondsInFault() + Fault.UtcOffset);
    });
    AppendToFileInFault(ERROR_FILE, Fault.Text.data(), Fault.Text.size());
    // No message box can be shown from here: the player reads it on the standard error stream.
    Failure.clear();
    Failure.add(CRASH_CAPTION);
    Failure.add("\n");
    Failure.add(MessageTexts[TEXT_CRASH_MESSAGE]);
    Failure.add("\n");
    WriteToErrorStreamInFault(Failure.data(), Failure.size());
}

void ReadErrorReports() {
    if (!FileExists(ERROR_FILE)) return;
    FILE* File = OpenFile(ERROR_FILE, "r");
    if (File == nullptr) return;
    enum { OUTSIDE, TITLE, TIME, TEXT } State = OUTSIDE;
    std::string Line;
    for (;;) {
        Line.clear();
        int c = 0;
        while ((c = fgetc(File)) != EOF && c != '\n')
            if (Line.size() < REPORT_LINE_LIMIT) Line += static_cast<char>(c);
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
