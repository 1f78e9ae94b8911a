// dialog: the boxes every menu and status is made of.
//
// A dialog is a translucent rectangle with a white frame in window pixels (origin at the bottom
// left, y up) over the 3-D scene. It shows one wrapped text, a list (a title and selectable
// entries with a "->" marker at the selected one) or plain lines. Lists keep a selection and a
// scroll position and react to three keys (select, down, up). A dialog knows nothing of the
// game: its owner fills it and decides what a chosen entry means.
//
// Everything here is arithmetic on records: the box picture, the wrapping, which text goes
// where (DialogTextLines) and the keys. ui/draw/dialogdraw.cpp puts the result on the screen
// with the 9 x 15 bitmap font, lines 16 pixels apart, a character counted as 10 pixels wide
// and a list row as 15 pixels high.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum EDialogType : int32_t {
    EDialogText = 0,
    EDialogList = 1,
    EDialogLines = 2,
};

struct DialogItem {
    float color[4];      // the text colour
    uint32_t selectable; // 1 when the owner lets the entry be chosen now
    char* text;          // owned by the item
    void* data;          // owned by the owner: what choosing the entry means
};

struct Dialog {
    int32_t x1, y1, x2, y2;
    int32_t firstVisible; // first entry drawn (lists)
    DialogItem** items;   // owned; a list's item 0 is its title
    int32_t itemCount;
    int32_t type;
    int32_t selected; // entry index, title not counted; -1 for an empty list
    float fillColor[4];
    float borderColor[4];
    int32_t markerColumn; // lines dialogs: 1 indents the lines as a list would
    float* image;         // (x2 - x1) x (y2 - y1) RGBA pixels: the box picture
};

constexpr int DIALOG_CHAR_WIDTH = 10;
constexpr int DIALOG_LINE_HEIGHT = 16;
constexpr int DIALOG_ROW_HEIGHT = 15;
constexpr int DIALOG_FRAME = 4;

// The keys lists react to (Enter and the codes of the Down and Up arrows in the game).
void InitDialogs(int selectKey, int downKey, int upKey);
void ShutdownDialogs();
// The window size, for the drawing's 2-D projection.
void SetDialogViewport(int width, int height);
int DialogViewportWidth();
int DialogViewportHeight();

// The text is copied; the colour too.
DialogItem* NewDialogItem(const char* text, const float color[4], int selectable, void* data);
void FreeDialogItem(DialogItem* item);
// The dialogs take over the items they are given (and the array's items, not the array).
Dialog* NewTextDialog(int x1, int y1, int x2, int y2, DialogItem* item, const float fill[4],
                      const float border[4]);
Dialog* NewListDialog(int x1, int y1, int x2, int y2, DialogItem* title, DialogItem** entries,
                      int n, const float fill[4], const float border[4]);
Dialog* NewLinesDialog(int x1, int y1, int x2, int y2, DialogItem** items, int n,
                       const float fill[4], const float border[4], int markerColumn);
void FreeDialog(Dialog* dialog);
// Replace the items, freeing the old ones. A refilled list keeps its selection, clamped to its
// last entry (-1 when it is empty, the first entry when it was empty before).
void SetDialogText(Dialog* dialog, DialogItem* item);
void SetDialogLines(Dialog* dialog, DialogItem** items, int n);
void SetDialogList(Dialog* dialog, DialogItem* title, DialogItem** entries, int n);

// The selected index after the key, or -1 when the dialog does not use the key (text and lines
// dialogs, an empty list, a key that is none of the three).
int DialogHandleKey(Dialog* dialog, int key);
int DialogSelectedIndex(const Dialog* dialog);
DialogItem* DialogSelectedItem(const Dialog* dialog);
void* DialogSelectedData(const Dialog* dialog);

// One piece of text as the drawing puts it: at (x, y), the baseline's left end, in color.
struct DialogTextLine {
    std::string text;
    const float* color;
    int x, y;
};
// Characters that fit between two x coordinates (0 when none does).
int CharsPerLine(int x1, int x2);
// A text wrapped into lines of at most chars characters, breaking after the last word that
// fits; none when chars < 1.
std::vector<std::string> WrapText(const char* text, int chars);
// Every piece of text of the dialog and where it goes: the wrapped text, the title, the visible
// rows with the marker. Nothing when the dialog is too narrow for one character per line.
std::vector<DialogTextLine> DialogTextLines(const Dialog* dialog);
// True when a text line of the dialog would hold no character: such a dialog draws nothing.
bool DialogTooNarrow(const Dialog* dialog);
// Rows a list shows at once.
int DialogVisibleRows(const Dialog* dialog);

// Drawing (ui/draw/dialogdraw.cpp): a string at (x, y) in window pixels, and a dialog, its text
// first and then the box blended over it.
void DrawString(const char* text, const float color[4], int x, int y);
void DrawDialog(const Dialog* dialog);
