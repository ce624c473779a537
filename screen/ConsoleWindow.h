// The chat console: its wrapped text rows and text view, the tab bar with one tab per text buffer, the
// input line and the console window that holds them.
#pragma once

#include "foundation/Container.h"
#include "gui/GUI.h"

#include <cstdint>
#include <memory>

class TButton;
class TEditField;
class TMultiStateButton;
class TTalkLine;
class TTextBuffer;
class TToggleButton;
class TVerticalScrollBox;

// The client messages the console sends: the network senders, unless a test installs recorders.
struct TConsoleSenders {
    void (*Talk)(int32_t Mode, const char* Text);
    void (*PrivateTalk)(int32_t Mode, const char* Addressee, const char* Text);
    void (*ChannelTalk)(int32_t Mode, int32_t ChannelID, const char* Text);
    void (*GetChannels)();
    void (*JoinChannel)(int32_t ChannelID);
    void (*LeaveChannel)(int32_t ChannelID);
    void (*RemoveRequest)(const char* Name);
    void (*CancelRequest)();
    void (*InviteToChannel)(const char* Name);
    void (*ExcludeFromChannel)(const char* Name);
};
TConsoleSenders NetworkConsoleSenders();
const TConsoleSenders& GetConsoleSenders();
void SetConsoleSenders(const TConsoleSenders& Senders);

// One display row: a piece of a talk line's text that fits the view's width. The default row is a filler
// row without text.
struct ConsoleTextLine {
    ConsoleTextLine() = default;
    ConsoleTextLine(TTalkLine* _TextLine, const char* _LineText, int32_t _LineLength, int32_t _OriginalOffset,
                    int32_t _Indent, int32_t FontNumber, int32_t Red, int32_t Green, int32_t Blue,
                    bool EndsLine);

    const char* _LineText = nullptr; // into the talk line's text; not owned
    int32_t _LineLength = 0;         // characters
    int32_t _OriginalOffset = 0;     // of the first character in the talk line's text
    int32_t _Indent = 0;             // pixels
    int32_t Red = 224, Green = 224, Blue = 224;
    int32_t FontNumber = 4;
    TTalkLine* _TextLine = nullptr;
    uint8_t EndsLine = 1; // the row ends at a line feed or at the end of the text
};

// The lines of one text buffer broken into rows, drawn bottom-aligned from _CurrentLineNumber upwards, with
// a mouse selection. Rows are numbered from 0; a column is a caret position inside a row.
class ConsoleTextView : public TLeafComponent {
public:
    ConsoleTextView();

    void draw(int32_t Surface, int32_t X, int32_t Y) override;
    void arrange() override; // rebuilds the rows and counts InvisibleLines
    bool mouseMove(int32_t X, int32_t Y) override;
    bool leftButtonDown(int32_t X, int32_t Y, uint32_t Flags) override;
    bool leftButtonUp(int32_t X, int32_t Y, uint32_t Flags) override;
    bool leftDoubleClick(int32_t X, int32_t Y, uint32_t Flags) override;
    bool rightClick(int32_t X, int32_t Y, uint32_t Flags) override;
    void handleEvent(int32_t Identifier) override;
    void releaseCapture(TComponent* Component) override;

    virtual void update();
    // The row and column under the point (view coordinates) and the row's length; false when none.
    virtual bool getPosition(int32_t x, int32_t y, int32_t& Line, int32_t& Column, int32_t& Length);

    void setTextBuffer(TTextBuffer* Buffer); // not owned; NULL: none
    TTextBuffer* getTextBuffer() const { return TextBuffer; }
    // NULL without usable rows or outside the array.
    const ConsoleTextLine* getLine(int32_t Number);
    TTalkLine* getTalkLine(int32_t Number);
    void setCurrentLineNumber(int32_t Number);
    int32_t getCurrentLineNumber() const { return _CurrentLineNumber; }
    int32_t getFirstLineNumber() const { return Lines.getMin(); }
    int32_t getLastLineNumber() const { return LastLineNumber; }
    bool getSelectionStart(int32_t& Line, int32_t& Column);
    bool getSelectionEnd(int32_t& Line, int32_t& Column);
    bool hasSelection();
    void clearSelection();
    bool selectAll();
    // The selected text, owned by the view until the next call; NULL without a selection.
    const char* getSelectedText();

    TTextBuffer* TextBuffer = nullptr;
    TDynamicArray<ConsoleTextLine> Lines{0, 0, 100};
    int32_t _CurrentLineNumber = 0;
    int32_t InvisibleLines = 0;
    int32_t LastLineNumber = -1;
    int32_t AnchorLine = -1, AnchorColumn = -1; // where the selection began
    int32_t EndLine = -1, EndColumn = -1;       // where it ends now
    bool Selecting = false;
    std::unique_ptr<char[]> SelectedText;
    bool FollowEnd = true; // _CurrentLineNumber is the last row

private:
    // True when the buffer's rows can be read; clears the buffer's change flag when they are stale.
    bool rowsUsable();
    bool orderedSelection(bool Start, int32_t& Line, int32_t& Column);
    int32_t rowHeight(const ConsoleTextLine& Row, bool Bottom) const;
    void wrapLine(TTalkLine* Line, int32_t& Count);
    void drawSelection(int32_t Surface, int32_t X, int32_t Y, int32_t Number, const ConsoleTextLine& Row,
                       int32_t Height);
};

// The text view beside its vertical scroll box, in a framed area.
class ConsoleTextWindow : public TParentComponent {
public:
    ConsoleTextWindow();

    int32_t getMinimumHeight() const override;
    void draw(int32_t Surface, int32_t X, int32_t Y) override;
    void arrange() override;
    bool mouseScroll(int32_t X, int32_t Y, uint32_t Kind) override;

    TTextBuffer* getTextBuffer() const;

    ConsoleTextView* View;
    TVerticalScrollBox* ScrollBox;
    bool ScrollToEnd = false; // the next arrange shows the newest row
};
