// Lists of single-line texts with a scroll box, selection by click, arrow keys and first letter, and an
// in-place editor; the text list gives every line its own format.
#pragma once

#include "foundation/Container.h"
#include "graphics/graphics.h"
#include "gui/GUI.h"

#include <cstdint>
#include <memory>

class TEditField;
class TVerticalScrollBox;

class TListBox : public TParentComponent {
public:
    // Select: fired when a click or key selects; DoubleClick: on every double click.
    TListBox(TComponent* Target1, int32_t Identifier1, TComponent* Target2, int32_t Identifier2);
    ~TListBox() override;

    void setSize(int32_t _Width, int32_t _Height) override;
    void draw(int32_t Surface, int32_t X, int32_t Y) override;
    void arrange() override;
    bool leftButtonDown(int32_t X, int32_t Y, uint32_t Flags) override;
    bool leftDoubleClick(int32_t X, int32_t Y, uint32_t Flags) override;
    bool mouseScroll(int32_t X, int32_t Y, uint32_t Kind) override;
    void getToolTip(int32_t X, int32_t Y) override;
    void keyPressed(int32_t Key) override;
    // The in-place editor over the selected line; ending it stores its text in the line.
    virtual void beginEdit();
    virtual void endEdit();

    void addLine(const char* Text);
    void setLine(int32_t Number, const char* Text);
    const char* getLine(int32_t Number); // the stored text, not a copy
    void clear();                        // the selection number stays
    int32_t getSelection() const;        // -1 also for a stale selection
    void select(int32_t Number);         // -1: none; fires nothing
    void setEditable(bool Flag) { Editable = Flag; }
    int32_t lineAt(int32_t X, int32_t Y); // -1 when no line is there
    int32_t getFirstVisible() const;

    int32_t Lines = 0;
    int32_t TextWidth = 0;
    TDynamicArray<char*> LineTexts{0, 9, 10, nullptr}; // owned copies
    int32_t Selection = -1;
    TNotification SelectBinding;
    TNotification DoubleClickBinding;
    TVerticalScrollBox* ScrollBox;
    int32_t VisibleLines = 0;
    bool Editable = false;
    bool Editing = false;
    TEditField* EditField; // a child only while Editing; owned by the list otherwise
    int32_t EditTop = 0;

protected:
    // The text and format line Number is drawn with.
    virtual const char* lineText(int32_t Number);
    virtual TTextFormat lineFormat(int32_t Number);
    virtual TTextFormat selectedFormat(int32_t Number);
    void scrollIntoView();
    void storeEdit(const char* Text);
    virtual void storeEditedText(const char* Text);
};

class TTextList : public TListBox {
public:
    TTextList(TComponent* Target1, int32_t Identifier1, TComponent* Target2, int32_t Identifier2);
    ~TTextList() override;

    void beginEdit() override;

    void addLine(const char* Text, TTextFormat Format);
    // An empty line with room for MaxLength characters, keeping the format its cell holds.
    void addEditLine(int32_t MaxLength);
    void setLine(int32_t Number, const char* Text, TTextFormat Format);
    const char* getLine(int32_t Number, TTextFormat& Format);
    void clear(); // the cells keep their formats

    struct TLine {
        char* Text;
        TTextFormat Format;
    };
    TDynamicArray<TLine> Records{0, 9, 10, TLine{nullptr, {4, 224, 224, 224, LEFT_ALIGN}}};

protected:
    const char* lineText(int32_t Number) override;
    TTextFormat lineFormat(int32_t Number) override;
    TTextFormat selectedFormat(int32_t Number) override;
    void storeEditedText(const char* Text) override;
};
