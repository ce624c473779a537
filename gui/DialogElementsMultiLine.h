// The multi-line edit field: an edit field whose text wraps into lines beside a vertical scroll box.
#pragma once

#include "foundation/Container.h"
#include "gui/DialogElementsEdit.h"

#include <cstdint>

class TVerticalScrollBox;

// Lines end after their last blank or punctuation that fits, or after a line feed (which belongs to the
// line it ends). Editable: Enter inserts a line feed and the arrow, Home, End and page keys move the caret
// between lines; read-only: those keys only scroll and the field never takes the focus.
class TMultiLineEditField : public TEditField {
public:
    TMultiLineEditField(int32_t _MaxLength, bool ReadOnly);

    int32_t getMinimumWidth() const override;
    int32_t getMinimumHeight() const override;
    void draw(int32_t Surface, int32_t X, int32_t Y) override;
    void arrange() override;
    bool mouseScroll(int32_t X, int32_t Y, uint32_t Kind) override;
    void keyPressed(int32_t Key) override;
    int32_t getPositionAt(int32_t X, int32_t Y) override;
    void setFocus(bool Flag) override;
    using TEditField::setText;
    // Without KeepPosition the caret goes to the end and the view to the last page.
    virtual void setText(const char* _Text, bool KeepPosition);

    int32_t getFirstVisible() const;
    int32_t lineOf(int32_t Position); // the last line starting at or before Position

    TDynamicArray<int32_t> LineStart{0, 9, 10, 0}; // entry LineCount holds the text length
    TVerticalScrollBox* ScrollBox;
    int32_t LineCount = 0;
    int32_t FieldWidth = 0;
    int32_t FieldHeight = 0;
    int32_t VisibleLines = 0;

private:
    void wrap();
    void scrollBy(int32_t Key);
    void moveCaret(int32_t Code);
    // The caret on line Target at the pixel column it has on line From, not past the line's last character.
    int32_t sameColumn(int32_t From, int32_t Target);
    int32_t lastCharacter(int32_t Line);
};
