// libFuzzer harness of the crash-report reader: each input is a whole error.txt, read back into the
// error-report records as at start-up. Oracle: every field keeps to its size, and every line a record holds
// is a piece of the file (cut to fit, or marked as a truncated line).
#include "control/Player.h"
#include "fuzz/FuzzSupport.h"
#include "state/StatusReports.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

constexpr const char* TRUNCATED_MARK = " (truncated input line)";

bool Contains(const uint8_t* Data, size_t Size, const std::string& Piece) {
    const auto Same = [](uint8_t Byte, char c) { return Byte == static_cast<uint8_t>(c); };
    return std::search(Data, Data + Size, Piece.begin(), Piece.end(), Same) != Data + Size || Piece.empty();
}

// The line as read, or with the mark of a truncated line behind it (which a field may cut in turn).
bool InInput(const uint8_t* Data, size_t Size, const std::string& Line) {
    if (Contains(Data, Size, Line)) return true;
    const std::string Mark = TRUNCATED_MARK;
    for (size_t At = Line.size() > Mark.size() ? Line.size() - Mark.size() : 0; At < Line.size(); At++)
        if (Mark.compare(0, Line.size() - At, Line, At) == 0 && Contains(Data, Size, Line.substr(0, At)))
            return true;
    return false;
}

void ExpectLines(const uint8_t* Data, size_t Size, const char* Field, size_t Limit) {
    Expect(std::strlen(Field) <= Limit, "report field longer than its record");
    const std::string Text = Field;
    for (size_t Start = 0; Start <= Text.size();) {
        const size_t End = std::min(Text.find('\n', Start), Text.size());
        const std::string Line = Text.substr(Start, End - Start);
        if (!InInput(Data, Size, Line)) Finding("report line not from the file: " + Line);
        Start = End + 1;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    WriteInput("error.txt", Data, Size);
    ClearErrorReports();
    ReadErrorReports();
    for (int32_t i = 0; i < GetErrorReports(); i++) {
        ExpectLines(Data, Size, GetErrorReportTitle(i), sizeof(TErrorReport::Title) - 1);
        ExpectLines(Data, Size, GetErrorReportTime(i), sizeof(TErrorReport::Time) - 1);
        ExpectLines(Data, Size, GetErrorReportText(i), sizeof(TErrorReport::Text) - 1);
    }
    return 0;
}
