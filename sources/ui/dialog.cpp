// dialog: dialog records, the box picture, wrapping, rows, keys, selection and scrolling.
#include "ui/dialog.h"

#include "foundation/assertion.h"
#include "foundation/utilities.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

static int gSelectKey = 13;
static int gDownKey = 103;
static int gUpKey = 101;
static int gViewportWidth = 640;
static int gViewportHeight = 480;

static const float MARKER_COLOR[4] = {1.0f, 1.0f, 1.0f, 1.0f};

void InitDialogs(int selectKey, int downKey, int upKey) {
    gSelectKey = selectKey;
    gDownKey = downKey;
    gUpKey = upKey;
}

void ShutdownDialogs() {}

void SetDialogViewport(int width, int height) {
    gViewportWidth = width;
    gViewportHeight = height;
}

int DialogViewportWidth() {
    return gViewportWidth;
}

int DialogViewportHeight() {
    return gViewportHeight;
}

DialogItem* NewDialogItem(const char* text, const float color[4], int selectable, void* data) {
    DialogItem* item = static_cast<DialogItem*>(SafeMalloc(sizeof(DialogItem)));
    std::memcpy(item->color, color, sizeof item->color);
    item->selectable = static_cast<uint32_t>(selectable);
    item->text = StringDuplicate(text != nullptr ? text : "");
    item->data = data;
    return item;
}

void FreeDialogItem(DialogItem* item) {
    if (item == nullptr)
        return;
    std::free(item->text);
    std::free(item);
}

static void FreeItems(Dialog* dialog) {
    for (int i = 0; i < dialog->itemCount; i++)
        FreeDialogItem(dialog->items[i]);
    std::free(dialog->items);
    dialog->items = nullptr;
    dialog->itemCount = 0;
}

// The items array of a dialog: first (if any) and then the n of rest.
static void StoreItems(Dialog* dialog, DialogItem* first, DialogItem** rest, int n) {
    int count = n + (first != nullptr ? 1 : 0);
    dialog->items =
        static_cast<DialogItem**>(SafeMalloc(sizeof(DialogItem*) * static_cast<size_t>(count + 1)));
    int k = 0;
    if (first != nullptr)
        dialog->items[k++] = first;
    for (int i = 0; i < n; i++)
        dialog->items[k++] = rest[i];
    dialog->itemCount = count;
}

// The frame in the border colour, 4 pixels wide, around the fill colour.
static void BuildBoxImage(Dialog* dialog) {
    int width = std::max(dialog->x2 - dialog->x1, 0);
    int height = std::max(dialog->y2 - dialog->y1, 0);
    size_t pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
    dialog->image =
        static_cast<float*>(SafeMalloc(sizeof(float) * 4 * std::max<size_t>(pixels, 1)));
    for (int row = 0; row < height; row++) {
        for (int column = 0; column < width; column++) {
            bool inside = row >= DIALOG_FRAME && row <= height - 1 - DIALOG_FRAME &&
                          column >= DIALOG_FRAME && column <= width - 1 - DIALOG_FRAME;
            std::memcpy(&dialog->image[(static_cast<size_t>(row) * width + column) * 4],
                        inside ? dialog->fillColor : dialog->borderColor, sizeof(float) * 4);
        }
    }
}

static Dialog* NewDialog(int type, int x1, int y1, int x2, int y2, const float fill[4],
                         const float border[4]) {
    Dialog* dialog = static_cast<Dialog*>(SafeMalloc(sizeof(Dialog)));
    *dialog = {};
    dialog->x1 = x1;
    dialog->y1 = y1;
    dialog->x2 = x2;
    dialog->y2 = y2;
    dialog->type = type;
    std::memcpy(dialog->fillColor, fill, sizeof dialog->fillColor);
    std::memcpy(dialog->borderColor, border, sizeof dialog->borderColor);
    BuildBoxImage(dialog);
    return dialog;
}

Dialog* NewTextDialog(int x1, int y1, int x2, int y2, DialogItem* item, const float fill[4],
                      const float border[4]) {
    Dialog* dialog = NewDialog(EDialogText, x1, y1, x2, y2, fill, border);
    StoreItems(dialog, item, nullptr, 0);
    return dialog;
}

Dialog* NewListDialog(int x1, int y1, int x2, int y2, DialogItem* title, DialogItem** entries,
                      int n, const float fill[4], const float border[4]) {
    Dialog* dialog = NewDialog(EDialogList, x1, y1, x2, y2, fill, border);
    StoreItems(dialog, title, entries, n);
    dialog->selected = n > 0 ? 0 : -1;
    return dialog;
}

Dialog* NewLinesDialog(int x1, int y1, int x2, int y2, DialogItem** items, int n,
                       const float fill[4], const float border[4], int markerColumn) {
    Dialog* dialog = NewDialog(EDialogLines, x1, y1, x2, y2, fill, border);
    StoreItems(dialog, nullptr, items, n);
    dialog->markerColumn = markerColumn;
    return dialog;
}

void FreeDialog(Dialog* dialog) {
    if (dialog == nullptr)
        return;
    FreeItems(dialog);
    std::free(dialog->image);
    std::free(dialog);
}

void SetDialogText(Dialog* dialog, DialogItem* item) {
    FreeItems(dialog);
    StoreItems(dialog, item, nullptr, 0);
}

void SetDialogLines(Dialog* dialog, DialogItem** items, int n) {
    FreeItems(dialog);
    StoreItems(dialog, nullptr, items, n);
}

void SetDialogList(Dialog* dialog, DialogItem* title, DialogItem** entries, int n) {
    FreeItems(dialog);
    StoreItems(dialog, title, entries, n);
    dialog->selected = std::clamp(dialog->selected, 0, std::max(n - 1, 0));
    if (n == 0)
        dialog->selected = -1;
    dialog->firstVisible = std::clamp(dialog->firstVisible, 0, std::max(dialog->selected, 0));
}

int DialogVisibleRows(const Dialog* dialog) {
    return (dialog->y2 - DIALOG_FRAME - dialog->y1) / DIALOG_ROW_HEIGHT;
}

int DialogHandleKey(Dialog* dialog, int key) {
    if (dialog == nullptr || dialog->type != EDialogList || dialog->selected < 0)
        return -1;
    if (key == gSelectKey)
        return dialog->selected;
    if (key == gDownKey) {
        if (dialog->selected < dialog->itemCount - 2)
            dialog->selected++;
        if (dialog->selected >= dialog->firstVisible + DialogVisibleRows(dialog) - 1)
            dialog->firstVisible++;
        dialog->firstVisible = std::min(dialog->firstVisible, dialog->selected);
        return dialog->selected;
    }
    if (key == gUpKey) {
        if (dialog->selected > 0)
            dialog->selected--;
        if (dialog->selected < dialog->firstVisible)
            dialog->firstVisible = dialog->selected;
        return dialog->selected;
    }
    return -1;
}

int DialogSelectedIndex(const Dialog* dialog) {
    return dialog != nullptr ? dialog->selected : -1;
}

DialogItem* DialogSelectedItem(const Dialog* dialog) {
    if (dialog == nullptr || dialog->type != EDialogList || dialog->selected < 0 ||
        dialog->selected + 1 >= dialog->itemCount)
        return nullptr;
    return dialog->items[dialog->selected + 1];
}

void* DialogSelectedData(const Dialog* dialog) {
    DialogItem* item = DialogSelectedItem(dialog);
    return item != nullptr ? item->data : nullptr;
}

// ---- where the text goes ---------------------------------------------------------------------

int CharsPerLine(int x1, int x2) {
    return std::max((x2 - x1) / DIALOG_CHAR_WIDTH, 0);
}

// A line breaks after its last word that fits (the space is dropped); a word longer than a
// line is cut where the line ends.
std::vector<std::string> WrapText(const char* text, int chars) {
    std::vector<std::string> pieces;
    if (chars < 1)
        return pieces;
    std::string rest = text != nullptr ? text : "";
    const size_t width = static_cast<size_t>(chars);
    while (rest.size() > width) {
        size_t space = rest.rfind(' ', width);
        size_t cut = space != std::string::npos && space > 0 ? space : width;
        pieces.push_back(rest.substr(0, cut));
        rest.erase(0, rest[cut] == ' ' ? cut + 1 : cut);
    }
    pieces.push_back(rest);
    return pieces;
}

// The item's text wrapped to fit from x1 to x2, its first line at y; returns its lines.
static int Wrapped(std::vector<DialogTextLine>* out, int x1, int x2, int y,
                   const DialogItem* item) {
    std::vector<std::string> pieces = WrapText(item->text, CharsPerLine(x1, x2));
    for (size_t i = 0; i < pieces.size(); i++)
        out->push_back({pieces[i], item->color, x1, y - DIALOG_LINE_HEIGHT * static_cast<int>(i)});
    return static_cast<int>(pieces.size());
}

// The rows from first that fit between yBottom and yTop, the selected one with its marker.
static void Rows(std::vector<DialogTextLine>* out, int x, int yBottom, int xRight, int yTop,
                 DialogItem* const* items, int count, int selected, bool withMarker, int first) {
    int fit = (yTop - yBottom) / DIALOG_ROW_HEIGHT;
    int y = yTop;
    for (int i = std::max(first, 0); i < std::min(count, first + fit); i++) {
        // The marker's two glyphs end just before the entry's text.
        if (i == selected)
            out->push_back({"->", MARKER_COLOR, x + 3, y});
        Wrapped(out, x + (withMarker ? 22 : 5), xRight - 5, y, items[i]);
        y -= DIALOG_LINE_HEIGHT;
    }
}

bool DialogTooNarrow(const Dialog* dialog) {
    int width = dialog->x2 - dialog->x1;
    switch (dialog->type) {
    case EDialogText:
        return CharsPerLine(0, width - 18) < 1;
    case EDialogLines:
        return CharsPerLine(0, width - 18 - (dialog->markerColumn ? 17 : 0)) < 1;
    case EDialogList:
        return CharsPerLine(0, width - 35) < 1;
    default:
        std::printf("Unknown dialog type %d\n", dialog->type);
        VFAIL("known dialog type");
    }
}

std::vector<DialogTextLine> DialogTextLines(const Dialog* dialog) {
    std::vector<DialogTextLine> lines;
    if (DialogTooNarrow(dialog))
        return lines;
    const int x1 = dialog->x1, y1 = dialog->y1, x2 = dialog->x2, y2 = dialog->y2;
    switch (dialog->type) {
    case EDialogText:
        if (dialog->itemCount > 0)
            Wrapped(&lines, x1 + 9, x2 - 9, y2 - 20, dialog->items[0]);
        break;
    case EDialogLines:
        Rows(&lines, x1 + 4, y1, x2 - 4, y2 - 20, dialog->items, dialog->itemCount, -1,
             dialog->markerColumn != 0, 0);
        break;
    case EDialogList: {
        int titleLines = Wrapped(&lines, x1 + 5, x2 - 5, y2, dialog->items[0]);
        Rows(&lines, x1 + 4, y1, x2 - 4, y2 - 4 - DIALOG_LINE_HEIGHT * titleLines,
             dialog->items + 1, dialog->itemCount - 1, dialog->selected, true,
             dialog->firstVisible);
        break;
    }
    }
    return lines;
}
