// Stand-ins for the console's text view and window in the menu tests: lines held in a real text buffer,
// a selection flag, and a log of the console calls.
#pragma once

#include "screen/ContextMenus.h"
#include "state/TalkBuffer.h"
#include "state/TalkFilter.h"

#include <string>
#include <vector>

class TFakeTextView : public TChatTextView {
public:
    explicit TFakeTextView(TTextBuffer* Buffer) : Buffer(Buffer) {}
    // Appends a line to the buffer and shows it on the next display line.
    void addLine(int32_t StatementID, int32_t Mode, const char* Speaker, const char* Text) {
        AddToTextBuffer(Buffer, StatementID, Text, Mode, Speaker, 0);
        Shown.push_back(Buffer->seekLine(Buffer->getNumberOfLines() - 1));
    }
    TTalkLine* getTalkLine(int32_t LineNumber) override {
        return LineNumber >= 0 && LineNumber < static_cast<int32_t>(Shown.size()) ? Shown[LineNumber]
                                                                                  : nullptr;
    }
    TTextBuffer* getTextBuffer() const override { return Buffer; }
    bool hasSelection() override { return !Selection.empty(); }
    const char* getSelectedText() override { return Selection.empty() ? nullptr : Selection.c_str(); }
    bool selectAll() override {
        Log.push_back("selectAll");
        return true;
    }

    TTextBuffer* Buffer;
    std::vector<TTalkLine*> Shown;
    std::string Selection;
    std::vector<std::string> Log;
};

class TFakeConsole : public TChatConsole {
public:
    explicit TFakeConsole(TTextBuffer* Buffer) : Current(Buffer), View(Buffer) {}
    TTextBuffer* getCurrentTextBuffer() override { return Current; }
    bool getServerMessages() override { return Current->ShowServerMessages; }
    void setServerMessages(bool On) override { Current->ShowServerMessages = On; }
    void closeCurrentTab() override { Log.push_back("close"); }
    bool saveCurrentChannel() override {
        Log.push_back("save");
        return true;
    }
    TTextBuffer* openChannel(int32_t ReceiveMode, int32_t SendMode, const char* Name, int32_t ChannelID,
                             const char* Caption) override {
        Log.push_back(std::string("open ") + Caption);
        TTextBuffer* Buffer = FindTextBuffer(ReceiveMode, Name, ChannelID);
        return Buffer != nullptr ? Buffer : CreateTextBuffer(ReceiveMode, SendMode, Name, ChannelID);
    }
    TChatTextView* getTextView() override { return &View; }

    TTextBuffer* Current;
    TFakeTextView View;
    std::vector<std::string> Log;
};
