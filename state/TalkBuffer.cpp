// The console's text buffers: time-stamped chat lines in a capped list, one buffer class per kind of tab.
#include "state/TalkBuffer.h"

#include "foundation/Exception.h"
#include "foundation/Utils.h"
#include "foundation/sysinc.h"
#include "state/Preferences.h"
#include "state/Talk.h"
#include "state/TalkFilter.h"

#include <cstring>
#include <ctime>

namespace {

constexpr int32_t STAMP_LENGTH = 6; // "hh:mm "

} // namespace

TTalkLine::TTalkLine(int32_t StatementID, int32_t Mode, const char* Message, int32_t TimeOffset)
    : _StatementID(StatementID), _Mode(Mode) {
    build(nullptr, Message, TimeOffset);
}

TTalkLine::TTalkLine(int32_t StatementID, int32_t Mode, const char* Speaker, const char* Message,
                     int32_t TimeOffset)
    : _StatementID(StatementID), _Mode(Mode) {
    CHECK_TEXT(Speaker != nullptr, "_Addressee!=NULL");
    build(Speaker, Message, TimeOffset);
}

void TTalkLine::build(const char* Speaker, const char* Message, int32_t TimeOffset) {
    CHECK(_Mode >= 0 && _Mode < TALK_MODE_BEYONDLAST, _Mode);
    CHECK_TEXT(Message != nullptr, "_Line!=NULL");
    Time = CalendarTime() + TimeOffset;
    std::time_t Stamp = static_cast<std::time_t>(Time);
    const std::tm* Local = std::localtime(&Stamp);
    int Hour = Local != nullptr ? Local->tm_hour : 0;
    int Minute = Local != nullptr ? Local->tm_min : 0;

    size_t PrefixLength = 0;
    if (Speaker != nullptr) {
        CopyString(_Addressee, Speaker);
        PrefixLength = std::strlen(_Addressee) + 2;
    }
    size_t Size = STAMP_LENGTH + PrefixLength + std::strlen(Message) + 1;
    _Line = std::make_unique<char[]>(Size);
    std::snprintf(_Line.get(), Size, "%02d:%02d ", Hour % 100, Minute % 100);
    if (Speaker != nullptr)
        std::snprintf(_Line.get() + STAMP_LENGTH, Size - STAMP_LENGTH, "%s: ", _Addressee);
    std::memcpy(_Line.get() + STAMP_LENGTH + PrefixLength, Message, Size - STAMP_LENGTH - PrefixLength);
    AfterStamp = _Line.get() + STAMP_LENGTH;
    MessageText = AfterStamp + PrefixLength;
}

const char* TTalkLine::getText() const { return GetTimeStamps() ? _Line.get() : AfterStamp; }

TTextBuffer::TTextBuffer(int32_t Mode) : TTextBuffer(Mode, Mode) {}

TTextBuffer::TTextBuffer(int32_t ReceiveTalkMode, int32_t SendTalkMode)
    : ReceiveTalkMode(ReceiveTalkMode), SendTalkMode(SendTalkMode) {}

TTextBuffer::~TTextBuffer() { deleteAllLines(); }

bool TTextBuffer::checkChanged() {
    bool Result = Changed;
    Changed = false;
    return Result;
}

bool TTextBuffer::checkClearHighlight() {
    bool Result = ClearHighlight;
    ClearHighlight = false;
    return Result;
}

void TTextBuffer::clearHighlight() { ClearHighlight = true; }
bool TTextBuffer::isOpen() { return true; }
bool TTextBuffer::setOpen(bool) { return true; }

void TTextBuffer::addLine(std::unique_ptr<TTalkLine> Line) try {
    if (!Enabled) return;
    CHECK_TEXT(Line != nullptr, "line!=NULL");
    TTalkLine* Added = Line.release();
    Added->Previous = LastLine;
    Added->Next = nullptr;
    if (LastLine != nullptr)
        LastLine->Next = Added;
    else
        FirstLine = Added;
    LastLine = Added;
    NumberOfLines++;
    if (NumberOfLines > MaxLines) deleteLine(FirstLine);
    Changed = true;
    LayoutChanged = true;
}
CATCH_FRAME()

void TTextBuffer::addText(int32_t Mode, const char* Text, int32_t DiffTime) try {
    if (!Enabled) return;
    CHECK_TEXT(Text != nullptr, "text!=NULL");
    addLine(std::make_unique<TTalkLine>(0, Mode, Text, DiffTime));
}
CATCH_FRAME()

void TTextBuffer::removeLine(int32_t lineNumber) try {
    CHECK_TEXT(FirstLine != nullptr, "first!=NULL");
    TTalkLine* Search = FirstLine;
    for (int32_t i = 0; Search != nullptr && i < lineNumber; i++)
        Search = Search->Next;
    CHECK_TEXT(Search != nullptr && lineNumber >= 0, "Search!=NULL");
    deleteLine(Search);
}
CATCH_FRAME(lineNumber)

void TTextBuffer::deleteLine(TTalkLine* Line) try {
    TTalkLine* Search = FirstLine;
    if (Line != FirstLine && Line != LastLine)
        while (Search != nullptr && Search != Line)
            Search = Search->Next;
    CHECK_TEXT(Search != nullptr && Line != nullptr, "Search!=NULL");
    (Line->Previous != nullptr ? Line->Previous->Next : FirstLine) = Line->Next;
    (Line->Next != nullptr ? Line->Next->Previous : LastLine) = Line->Previous;
    if (Cursor == Line) Cursor = Line->Next;
    delete Line;
    NumberOfLines--;
    if (Cursor == nullptr) Cursor = FirstLine;
    LayoutValid = false;
    Changed = true;
    LayoutChanged = true;
}
CATCH_FRAME()

void TTextBuffer::clear() {
    while (FirstLine != nullptr)
        deleteLine(FirstLine);
}

// The destructor's clear: the base's own deletion whatever the class.
void TTextBuffer::deleteAllLines() {
    while (FirstLine != nullptr)
        TTextBuffer::deleteLine(FirstLine);
}

bool TTextBuffer::isDefault() { return this == DefaultTextBuffer(); }
bool TTextBuffer::usesSpeechModes() { return isDefault(); }
bool TTextBuffer::isRequest() { return false; }
bool TTextBuffer::isRequestQueue() { return false; }
bool TTextBuffer::isPrivateChannel() { return false; }
bool TTextBuffer::isOwnChannel() { return OwnChannel; }
void TTextBuffer::setOwnChannel(bool Own) { OwnChannel = Own; }
void TTextBuffer::setClosedByUser(bool Closed) { ClosedByUser = Closed; }
bool TTextBuffer::isClosedByUser() { return ClosedByUser; }
int32_t TTextBuffer::getReceiveTalkMode() { return ReceiveTalkMode; }
int32_t TTextBuffer::getSendTalkMode() { return SendTalkMode; }
const char* TTextBuffer::getAddressee() { return nullptr; }
int32_t TTextBuffer::getChannelID() { return -1; }

TTalkLine* TTextBuffer::seekLine(int32_t lineNumber) try {
    Cursor = FirstLine;
    if (Cursor == nullptr) return nullptr;
    TTalkLine* Search = FirstLine;
    for (int32_t i = 0; Search != nullptr && i < lineNumber; i++)
        Search = Search->Next;
    CHECK_TEXT(Search != nullptr && lineNumber >= 0, "Search!=NULL");
    Cursor = Search;
    return Cursor;
}
CATCH_FRAME(lineNumber)

TTalkLine* TTextBuffer::nextLine() try {
    CHECK_TEXT(Cursor != nullptr, "cursor!=NULL");
    Cursor = Cursor->Next;
    return Cursor;
}
CATCH_FRAME()

int32_t TTextBuffer::save(std::FILE* File) {
    int32_t bytes = 0;
    try {
        CHECK_TEXT(File != nullptr, "F!=NULL");
        for (const TTalkLine* Line = FirstLine; Line != nullptr; Line = Line->Next)
            bytes += std::fprintf(File, "%s\n", Line->getText());
        return 0;
    }
    CATCH_FRAME(bytes)
}

TPrivateTextBuffer::TPrivateTextBuffer(int32_t Mode, const char* Addressee) : TTextBuffer(Mode) {
    CHECK_TEXT(Addressee != nullptr, "_Addressee!=NULL");
    CopyString(_Addressee, Addressee);
}

const char* TPrivateTextBuffer::getAddressee() { return _Addressee; }

TChannelTextBuffer::TChannelTextBuffer(int32_t Mode, int32_t ChannelID)
    : TTextBuffer(Mode), _ChannelID(ChannelID) {
    CHECK(_ChannelID != -1);
}

int32_t TChannelTextBuffer::getChannelID() { return _ChannelID; }

TPrivateChannelTextBuffer::TPrivateChannelTextBuffer(int32_t Mode, int32_t ChannelID)
    : TChannelTextBuffer(Mode, ChannelID) {}

bool TPrivateChannelTextBuffer::isOpen() { return Open; }

bool TPrivateChannelTextBuffer::setOpen(bool NewOpen) {
    Open = NewOpen;
    return true;
}

bool TPrivateChannelTextBuffer::isPrivateChannel() { return getChannelID() >= 8; }

TRequestTextBuffer::TRequestTextBuffer(int32_t ReceiveTalkMode, int32_t SendTalkMode, const char* Addressee)
    : TTextBuffer(ReceiveTalkMode, SendTalkMode) {
    if (Addressee != nullptr) CopyString(_Addressee, Addressee);
}

bool TRequestTextBuffer::isOpen() { return Open; }

bool TRequestTextBuffer::setOpen(bool NewOpen) {
    Open = NewOpen;
    return true;
}

void TRequestTextBuffer::addLine(std::unique_ptr<TTalkLine> Line) {
    Open = true;
    TTextBuffer::addLine(std::move(Line));
}

void TRequestTextBuffer::addText(int32_t Mode, const char* Text, int32_t DiffTime) {
    Open = true;
    TTextBuffer::addText(Mode, Text, DiffTime);
}

bool TRequestTextBuffer::isRequest() { return true; }
const char* TRequestTextBuffer::getAddressee() { return _Addressee; }

TRequestQueueTextBuffer::TRequestQueueTextBuffer(int32_t Mode, int32_t ChannelID)
    : TTextBuffer(Mode, 0), _ChannelID(ChannelID) {
    CHECK(_ChannelID != -1);
}

void TRequestQueueTextBuffer::addLine(std::unique_ptr<TTalkLine> Line) try {
    CHECK_TEXT(Line != nullptr, "line!=NULL");
    Cursor = FirstLine;
    while (Cursor != nullptr) {
        TTalkLine* Current = Cursor;
        nextLine();
        if (CompareNoCase(Current->_Addressee, Line->_Addressee, -1) == 0) deleteLine(Current);
    }
    TTextBuffer::addLine(std::move(Line));
}
CATCH_FRAME()

void TRequestQueueTextBuffer::addText(int32_t, const char*, int32_t) {
    throw TMyException(EBRUN_SOURCE_NAME, __LINE__, "not possible", "", 0, "", 0, "");
}

void TRequestQueueTextBuffer::deleteLine(TTalkLine* Line) {
    bool WasChanged = Changed;
    TTextBuffer::deleteLine(Line);
    Changed = WasChanged;
    if (FirstLine == nullptr) ClearHighlight = true;
}

bool TRequestQueueTextBuffer::usesSpeechModes() { return true; }
bool TRequestQueueTextBuffer::isRequestQueue() { return true; }
int32_t TRequestQueueTextBuffer::getChannelID() { return _ChannelID; }
