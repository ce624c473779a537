// Text entry: the one-line edit field with caret, selection and clipboard events, the password field that
// shows only asterisks, and the focus group that moves the keyboard focus between fields.
#pragma once

#include "foundation/Container.h"
#include "graphics/graphics.h"
#include "gui/GUI.h"

#include <cstdint>
#include <memory>

class TFocusGroup;

// Edit events, understood by handleEvent of the edit fields and text views.
enum : int32_t { EDIT_COPY = 16, EDIT_CUT = 17, EDIT_PASTE = 18, EDIT_DELETE = 19, EDIT_SELECT_ALL = 20 };

// A one-line field of at most _MaxLength Latin-1 characters inside a sunken frame. Selection: anchor
// SelectionStart (-1: none) and a signed length from it; it exists when both are set and the length is not 0.
class TEditField : public TParentComponent {
public:
    TEditField(int32_t _MaxLength, bool ReadOnly);
    TEditField(int32_t x, int32_t y, int32_t width, int32_t height, int32_t _MaxLength, bool ReadOnly);

    void setSize(int32_t _Width, int32_t _Height) override;
    void draw(int32_t Surface, int32_t X, int32_t Y) override;
    void arrange() override;
    bool mouseMove(int32_t X, int32_t Y) override;
    bool leftButtonDown(int32_t X, int32_t Y, uint32_t Flags) override;
    bool leftButtonUp(int32_t X, int32_t Y, uint32_t Flags) override;
    bool leftDoubleClick(int32_t X, int32_t Y, uint32_t Flags) override;
    bool rightClick(int32_t X, int32_t Y, uint32_t Flags) override;
    void keyPressed(int32_t Key) override;
    void handleEvent(int32_t Identifier) override;
    void releaseCapture(TComponent* Component) override;
    void cancelCapture() override;

    // A longer text keeps its first _MaxLength characters; the caret goes to the end.
    virtual void setText(const char* _Text);
    virtual void clearText();
    // Position and Count are limited to the text; nothing happens when no character is left to remove.
    virtual void deleteText(int32_t Position, int32_t Count);
    virtual void deleteChar(int32_t Position);
    // Position is the caret. Inserts what fits, dropping the end of the old text when needed; the caret
    // stays. Returns the number of characters inserted.
    virtual int32_t insertText(int32_t Position, const char* _Text, int32_t Length);
    virtual void insertChar(int32_t Position, int32_t Character);
    virtual void setDisabled(bool Flag) { Disabled = Flag; }
    virtual bool isDisabled() const { return Disabled; }
    virtual void setFormat(int32_t Font, int32_t Red, int32_t Green, int32_t Blue, int32_t Alignment);
    // The character index for a point in field coordinates.
    virtual int32_t getPositionAt(int32_t X, int32_t Y);
    virtual void setFocus(bool Flag); // losing the focus empties the selection

    const char* getText() const { return Text.get(); }
    int32_t getLength() const;
    void setCursor(int32_t Position); // limited to 0..length
    bool hasSelection() const { return SelectionStart != -1 && SelectionLength != 0; }
    int32_t selectionLeft() const { return SelectionStart + (SelectionLength < 0 ? SelectionLength : 0); }
    int32_t selectionRight() const { return SelectionStart + (SelectionLength > 0 ? SelectionLength : 0); }
    void beginSelection(int32_t Position);
    void setFocusGroup(TFocusGroup* _FocusGroup);

    std::unique_ptr<char[]> Text; // _MaxLength + 1 bytes, terminated
    int32_t _MaxLength;
    int32_t Cursor = 0;
    bool SingleLine = true; // a paste is cut before its first line feed
    TFocusGroup* _FocusGroup = nullptr;
    TTextFormat Format;
    int32_t FirstVisible = 0;
    bool Focus = false;
    int32_t SelectionStart = -1;
    int32_t SelectionLength = 0;
    bool Selecting = false;
    bool Disabled = false;
    bool ReadOnly;

protected:
    // The frame pieces of a field sized Width x Height.
    void arrangeFrame();
    // Characters from FirstVisible that fit into the text area.
    int32_t visibleCount() const;
    void endSelecting();
    void paste();
    void copySelection() const;
    void deleteSelection();
};

// Edits like the edit field but shows an asterisk per character and lets no text out: no drag selection,
// no context menu, of the edit events only paste.
class TPasswordField : public TEditField {
public:
    explicit TPasswordField(int32_t MaxLength);

    void draw(int32_t Surface, int32_t X, int32_t Y) override;
    bool mouseMove(int32_t X, int32_t Y) override;
    bool rightClick(int32_t X, int32_t Y, uint32_t Flags) override;
    void handleEvent(int32_t Identifier) override;

    std::unique_ptr<char[]> Mask; // _MaxLength + 1 bytes
};

// The edit fields of one dialog in Tab order; at most one has the focus. It does not own its members.
class TFocusGroup {
public:
    void addMember(TEditField* Member); // each field once
    void setActive(TEditField* Member);
    void next();     // wraps from the last to the first
    void previous(); // wraps from the first to the last
    TEditField* getActive() const { return Active; }
    int32_t getCount() const { return Count; }

    TEditField* Active = nullptr;
    TDynamicArray<TEditField*> MemberList{0, 2, 2, nullptr};
    int32_t Count = 0;

private:
    int32_t indexOfActive();
};
