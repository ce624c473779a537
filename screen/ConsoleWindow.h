// The chat console: its wrapped text rows and text view, the tab bar with one tab per text buffer, the
// input line and the console window that holds them.
#pragma once

#include "foundation/Container.h"
#include "gui/GUI.h"
#include "screen/ContextMenus.h"

#include <cstdint>
#include <memory>

class TButton;
class TEditField;
class TMultiStateButton;
class TTalkLine;
class TTextBuffer;
class TToggleButton;
class TVerticalScrollBox;

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
class ConsoleTextView : public TLeafComponent, public TChatTextView {
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
    TTextBuffer* getTextBuffer() const override { return TextBuffer; }
    // NULL without usable rows or outside the array.
    const ConsoleTextLine* getLine(int32_t Number);
    TTalkLine* getTalkLine(int32_t Number) override;
    void setCurrentLineNumber(int32_t Number);
    int32_t getCurrentLineNumber() const { return _CurrentLineNumber; }
    int32_t getFirstLineNumber() const { return Lines.getMin(); }
    int32_t getLastLineNumber() const { return LastLineNumber; }
    bool getSelectionStart(int32_t& Line, int32_t& Column);
    bool getSelectionEnd(int32_t& Line, int32_t& Column);
    bool hasSelection() override;
    void clearSelection();
    bool selectAll() override;
    // The selected text, owned by the view until the next call; NULL without a selection.
    const char* getSelectedText() override;

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

// One tab: the caption of a text buffer that marks unread text, can be dragged sideways and reports clicks.
// The tab owns its buffer: destroying the tab tells the server the channel, conversation or request is left
// and gives the buffer back.
class TConsoleTab : public TLeafComponent {
public:
    TConsoleTab(const char* Caption, TTextBuffer* TextBuffer, TComponent* Target, int32_t Identifier);
    ~TConsoleTab() override;

    void draw(int32_t Surface, int32_t X, int32_t Y) override;
    void arrange() override; // refreshes the unread mark
    bool mouseMove(int32_t X, int32_t Y) override;
    bool leftButtonDown(int32_t X, int32_t Y, uint32_t Flags) override;
    bool leftButtonUp(int32_t X, int32_t Y, uint32_t Flags) override;
    bool leftDoubleClick(int32_t X, int32_t Y, uint32_t Flags) override;
    bool rightClick(int32_t X, int32_t Y, uint32_t Flags) override;
    void getToolTip(int32_t X, int32_t Y) override;
    void releaseCapture(TComponent* Component) override;

    void setActive(bool Active);
    bool isActive() const { return _Active; }
    const char* getCaption() const; // the whole trimmed caption
    TTextBuffer* getTextBuffer() const { return _TextBuffer; }

    TTextBuffer* _TextBuffer;
    int32_t LastLineCount = -1;
    std::unique_ptr<char[]> DisplayCaption; // trimmed and shortened to fit
    std::unique_ptr<char[]> _Caption;       // trimmed
    bool Dragging = false;
    int32_t PressX = 0, PressY = 0; // pointer in the tab at the press
    int32_t DragOffset = 0;
    bool _Active = false;
    bool Unread = false;
    int32_t FlashUntil = 0; // tick; 0: not flashing
    TNotification Notification;
    bool CaptionShortened = false;

private:
    void sendCloseMessage();
};

// What the arrow buttons and the console send the tab bar: scroll by one tab or all the way.
enum TABBAR_COMMAND : int32_t {
    TABBAR_SCROLL_RIGHT = 5,
    TABBAR_SCROLL_LEFT = 6,
    TABBAR_SCROLL_RIGHT_ALL = 25,
    TABBAR_SCROLL_LEFT_ALL = 26,
};

// The strip of tabs: visible tabs are its children; those that do not fit wait in LeftStore and RightStore,
// two containers outside the component tree, in order.
class TConsoleTabBar : public TParentComponent {
public:
    TConsoleTabBar();
    ~TConsoleTabBar() override;

    TComponent* addChild(TComponent* Child) override;
    TComponent* appendChild(TComponent* Child) override;
    TComponent* removeChild(TComponent* Child) override;
    void deleteChild(TComponent* Child) override;
    TComponent* insertChild(TComponent* After, TComponent* Child) override;
    void swapChildren(TComponent* Child1, TComponent* Child2) override;
    bool isChild(const TComponent* Child) const override;
    void setSize(int32_t _Width, int32_t _Height) override;
    void arrange() override;
    void draw(int32_t Surface, int32_t X, int32_t Y) override;
    bool getHelpContext(int32_t X, int32_t Y) override;
    void handleEvent(int32_t Identifier) override;
    // Lays the visible tabs out left to right; Dragged (or NULL) stays where the pointer put it.
    virtual void rearrangeTabs(TConsoleTab* Dragged);

    // The container holding Tab: the bar or one of its stores; fails with "failed to get composite".
    TParentComponent* getComposite(const TComponent* Tab);
    TConsoleTab* findTab(const TTextBuffer* TextBuffer);
    void selectTab(TConsoleTab* Tab);
    void bringIntoView(TConsoleTab* Tab);
    void storeOpenChannels();
    TConsoleTab* getCurrentTab() const { return CurrentTab; }

    TConsoleTab* DraggedTab = nullptr;
    TConsoleTab* CurrentTab = nullptr;
    std::unique_ptr<TParentComponent> LeftStore;
    std::unique_ptr<TParentComponent> RightStore;
    bool Rearranging = false;
    bool NeedsUpdate = false; // tabs or the selection changed; the console reads and clears it

private:
    TParentComponent* findComposite(const TComponent* Tab);
    void added(TComponent* Child);
    void scrollRight(); // the last tab hidden on the left comes in
    bool scrollLeft();  // the first visible tab goes left; false when nothing moved
    void swapWithNeighbours(TConsoleTab* Dragged);
};

// What the console's tabs, buttons and shortcuts send it.
enum CONSOLE_COMMAND : int32_t {
    CONSOLE_SHOW_TAB = 201,
    CONSOLE_CLOSE_TAB = 202,
    CONSOLE_SERVER_MESSAGES = 203,
    CONSOLE_IGNORE = 204,
    CONSOLE_OPEN_CHANNEL = 205,
    CONSOLE_SAY = 206,
    CONSOLE_WHISPER = 207,
    CONSOLE_YELL = 208,
    CONSOLE_FLIP_SERVER_MESSAGES = 210,
    CONSOLE_DEFAULT_TAB = 211,
    CONSOLE_NEXT_TAB = 212,
    CONSOLE_PREVIOUS_TAB = 213,
    CONSOLE_HOTKEYS = 403,
};

// The faces of the console's buttons that the help texts show; each pressed face is the skin after it,
// but the ignore button's, which follows the face shown while an ignore timer runs.
enum CONSOLE_SKIN : int32_t {
    SKIN_CLOSE_CHANNEL = 188,
    SKIN_SERVER_MESSAGES = 190,
    SKIN_IGNORE = 192,
    SKIN_IGNORE_TIMER = 193,
    SKIN_IGNORE_PRESSED = 194,
    SKIN_OPEN_CHANNEL = 195,
    SKIN_SAY = 197,
    SKIN_WHISPER = 199,
    SKIN_YELL = 201,
};

// The chat console at the bottom of the game screen: tab bar, the text area of the selected tab, the input
// line with its talk-mode button, and the buttons of its frame. It opens tabs for new channels,
// conversations and requests, re-joins the channels remembered from last time, and sends typed lines.
class TConsoleWindow : public TParentComponent, public TChatConsole {
public:
    TConsoleWindow();
    ~TConsoleWindow() override;

    void setSize(int32_t _Width, int32_t _Height) override;
    int32_t getMinimumHeight() const override;
    void draw(int32_t Surface, int32_t X, int32_t Y) override;
    void arrange() override; // the frame
    bool leftButtonDown(int32_t X, int32_t Y, uint32_t Flags) override;
    bool getHelpContext(int32_t X, int32_t Y) override;
    void keyPressed(int32_t Key) override;
    void handleEvent(int32_t Identifier) override;

    void openDefaultTab(TTextBuffer* TextBuffer, const char* Caption);
    // Shows the tab of the buffer, making one when there is none; the tab owns the buffer from here on.
    void openTab(TTextBuffer* TextBuffer, const char* Caption);
    TTextBuffer* openChannel(int32_t ReceiveMode, int32_t SendMode, const char* Name, int32_t ChannelID,
                             const char* Caption) override;
    void openRequestTab(const char* Question);
    void closeCurrentTab() override;
    void activateInput(bool Active);
    TTextBuffer* getCurrentTextBuffer() override;
    bool getServerMessages() override;
    void setServerMessages(bool On) override;
    // Appends the selected tab's lines to "<caption>.txt" in the working directory; false when the file
    // cannot be opened.
    bool saveCurrentChannel() override;
    TChatTextView* getTextView() override;

    // The input line (see ConsoleWindowInput.cpp).
    void sendInput();
    // Reads the prefix and the message of Line, which it may cut; Text and Addressee point into Line.
    void parseInput(char* Line, const char*& Text, const char*& Addressee, int32_t& Mode, char& Separator);
    void storeInHistory();

    TConsoleTabBar* TabBar;
    ConsoleTextWindow* CurrentConsole;
    TConsoleTab* DefaultTab = nullptr;
    TEditField* Input;
    int32_t FocusAfter; // tick before which new tabs do not take the selection
    int32_t HistoryIndex = -1;
    std::unique_ptr<TTextBuffer> History;
    TMultiStateButton* TalkModeButton;
    TButton* CloseButton;
    TToggleButton* ServerMessagesButton;
    TButton* IgnoreButton;
    TButton* OpenChannelButton;
    TButton* MoveRightButton;
    TButton* MoveLeftButton;
    int32_t TalkMode;

private:
    void showCurrentTab();
    void updateControls();
    // Makes Control a child placed at (X, Y) or takes it out of the tree; the console keeps owning it.
    void setPresent(TComponent* Control, bool Present, int32_t X, int32_t Y);
    void selectNextTab();
    void selectPreviousTab();
    bool editKey(int32_t Key);
    void recallHistory(int32_t Key);
    void sendHotkey(int32_t Key);
    void sendByMode(int32_t Mode, const char* Text, const char* Addressee, int32_t ChannelID);
};
