// The error-report records: crash reports an earlier run left in "error.txt", read back at start, commented
// by the user and sent to the game server after the next login.
#pragma once

#include <cstdint>

struct TErrorReport {
    char Title[64]; // empty: a free record
    char Time[26];  // a ctime() line
    char Text[2048];
    char Comment[512]; // "Comment: " and the user's text
};

// Over-long texts are cut, never refused. Time, lines and comment go to the last used record; with none
// they are dropped.
void StartErrorReport(const char* Title);
void SetErrorReportTime(const char* Text);
// Appends Line after a line feed (none into an empty text), as far as the text holds 2047 characters.
void AddErrorReportLine(const char* Line);
void SetErrorReportComment(const char* Text);
int32_t GetErrorReports(); // records up to the last one with a title
// The fields of record i; "" outside the records.
const char* GetErrorReportTitle(int32_t i);
const char* GetErrorReportTime(int32_t i);
const char* GetErrorReportText(int32_t i);
const char* GetErrorReportComment(int32_t i);
void ClearErrorReports(); // every record empty
void DeleteErrorFile();   // removes "error.txt"
// Frees the records; part of ExitStatus.
void ExitErrorReports();
