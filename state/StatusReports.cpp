// The error-report records, in a growable array that keeps its size until the module ends.
#include "state/StatusReports.h"

#include "foundation/Container.h"
#include "foundation/Utils.h"
#include "foundation/sysinc.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

constexpr TErrorReport EmptyReport = {};

std::unique_ptr<TDynamicArray<TErrorReport>> MakeRecords() {
    return std::make_unique<TDynamicArray<TErrorReport>>(0, 0, 1, EmptyReport);
}

// From start-up until the reports are sent, cancelled or the status module ends. Records 0..Used-1 are
// the used ones: Used is one past the last record with a title.
std::unique_ptr<TDynamicArray<TErrorReport>> Records = MakeRecords();
int32_t Used = 0;

// The last used record, NULL when there is none.
TErrorReport* LastReport() {
    int32_t Count = GetErrorReports();
    return Count > 0 ? &Records->at(Count - 1) : nullptr;
}

const TErrorReport& Report(int32_t i) {
    return In(i, Records->getMin(), Records->getMax()) ? Records->at(i) : EmptyReport;
}

} // namespace

void StartErrorReport(const char* Title) {
    TErrorReport& Record = Records->at(Used);
    Record = EmptyReport;
    CopyString(Record.Title, Title);
    if (Record.Title[0] != 0) Used++;
}

void SetErrorReportTime(const char* Text) {
    if (TErrorReport* Record = LastReport()) CopyString(Record->Time, Text);
}

void AddErrorReportLine(const char* Line) {
    TErrorReport* Record = LastReport();
    if (Record == nullptr) return;
    size_t Length = std::strlen(Record->Text);
    if (Length >= sizeof(Record->Text) - 1) return;
    std::snprintf(Record->Text + Length, sizeof(Record->Text) - Length, "%s%s", Length > 0 ? "\n" : "", Line);
}

void SetErrorReportComment(const char* Text) {
    if (TErrorReport* Record = LastReport())
        std::snprintf(Record->Comment, sizeof(Record->Comment), "Comment: %s", Text);
}

int32_t GetErrorReports() { return Used; }

const char* GetErrorReportTitle(int32_t i) { return Report(i).Title; }
const char* GetErrorReportTime(int32_t i) { return Report(i).Time; }
const char* GetErrorReportText(int32_t i) { return Report(i).Text; }
const char* GetErrorReportComment(int32_t i) { return Report(i).Comment; }

void ClearErrorReports() {
    for (int32_t i = Records->getMin(); i <= Records->getMax(); i++)
        Records->at(i) = EmptyReport;
    Used = 0;
}

void DeleteErrorFile() { RemoveFile("error.txt"); }

void ExitErrorReports() {
    Records = MakeRecords();
    Used = 0;
}
