#include <algorithm>
#include <string>
#include <vector>

#include "core/console.h"
#include "screens/text_frame.h"
#include "screens/text_screens.h"

using namespace tarnwick;

namespace twhost {
namespace {

// Rows of text that items are put on at their coordinates. The canvas holds
// the plug-in's own bytes, one column each; rows are converted for the
// console when printed.
struct Canvas {
    std::vector<std::string> Rows;
    int BoxLeft = 0;   // the columns of the last box drawn, for separators
    int BoxRight = 0;
    void Put(int x, int y, const std::string& text) {
        if (x < 0 || y < 0 || y > 200 || x > 400) return;
        if (Rows.size() <= static_cast<std::size_t>(y)) Rows.resize(static_cast<std::size_t>(y) + 1);
        std::string& row = Rows[static_cast<std::size_t>(y)];
        std::size_t end = static_cast<std::size_t>(x) + text.size();
        if (row.size() < end) row.resize(end, ' ');
        row.replace(static_cast<std::size_t>(x), text.size(), text);
    }
};

std::string ItemText(const FarDialogItem& item) { return WithoutHotkeyMark(item.Data); }

std::string ButtonText(const FarDialogItem& item) {
    return item.DefaultButton != 0 ? "{ " + ItemText(item) + " }" : "[ " + ItemText(item) + " ]";
}

bool IsBox(const FarDialogItem& item) { return item.Type == DI_DOUBLEBOX || item.Type == kDialogSingleBox; }

void PutBox(Canvas& canvas, const FarDialogItem& item) {
    char edge = item.Type == DI_DOUBLEBOX ? '=' : '-';
    int w = std::max(item.X2 - item.X1 + 1, 2);
    canvas.BoxLeft = item.X1;
    canvas.BoxRight = item.X1 + w - 1;
    std::string title = item.Data[0] != '\0' ? " " + ItemText(item) + " " : "";
    canvas.Put(item.X1, item.Y1, "+" + Centered(title, static_cast<std::size_t>(w - 2), edge) + "+");
    for (int y = item.Y1 + 1; y < item.Y2; ++y) {
        canvas.Put(item.X1, y, "|");
        canvas.Put(canvas.BoxRight, y, "|");
    }
    canvas.Put(item.X1, item.Y2, "+" + std::string(static_cast<std::size_t>(w - 2), edge) + "+");
}

void PutText(Canvas& canvas, const FarDialogItem& item, int width) {
    if ((item.Flags & DIF_SEPARATOR) != 0) {
        std::string text = item.Data[0] != '\0' ? " " + ItemText(item) + " " : "";
        std::size_t inner = static_cast<std::size_t>(std::max(canvas.BoxRight - canvas.BoxLeft - 1, 0));
        canvas.Put(canvas.BoxLeft, item.Y1, "+" + Centered(text, inner, '-') + "+");
    } else if (item.X1 < 0 || (item.Flags & DIF_CENTERGROUP) != 0) {
        canvas.Put(std::max((width - static_cast<int>(ItemText(item).size())) / 2, 0), item.Y1, ItemText(item));
    } else {
        canvas.Put(item.X1, item.Y1, ItemText(item));
    }
}

void PutField(Canvas& canvas, const FarDialogItem& item) {
    int w = item.X2 >= item.X1 ? item.X2 - item.X1 + 1 : 20;
    std::string text = item.Data;
    if (static_cast<int>(text.size()) > w) text = text.substr(0, static_cast<std::size_t>(w - 1)) + ">";
    canvas.Put(item.X1, item.Y1, text + std::string(static_cast<std::size_t>(w) - text.size(), '_'));
}

// Buttons with DIF_CENTERGROUP on one row are centred together.
void PutButtonGroups(Canvas& canvas, const FarDialogItem* items, int count, int width) {
    std::vector<int> rows;
    for (int i = 0; i < count; ++i) {
        if (items[i].Type == DI_BUTTON && (items[i].Flags & DIF_CENTERGROUP) != 0 &&
            std::find(rows.begin(), rows.end(), items[i].Y1) == rows.end()) {
            rows.push_back(items[i].Y1);
        }
    }
    for (int row : rows) {
        std::string line;
        for (int i = 0; i < count; ++i) {
            if (items[i].Type == DI_BUTTON && (items[i].Flags & DIF_CENTERGROUP) != 0 && items[i].Y1 == row) {
                line += (line.empty() ? "" : " ") + ButtonText(items[i]);
            }
        }
        canvas.Put(std::max((width - static_cast<int>(line.size())) / 2, 0), row, line);
    }
}

void PutItem(Canvas& canvas, const FarDialogItem& item, int width) {
    switch (item.Type) {
        case DI_TEXT: PutText(canvas, item, width); break;
        case DI_CHECKBOX: canvas.Put(item.X1, item.Y1, std::string(item.Selected != 0 ? "[x] " : "[ ] ") + ItemText(item)); break;
        case DI_EDIT: PutField(canvas, item); break;
        case DI_BUTTON:
            if ((item.Flags & DIF_CENTERGROUP) == 0) canvas.Put(item.X1, item.Y1, ButtonText(item));
            break;
        default: break;
    }
}

// Prints the rows, leaving out leading and trailing blank rows.
void PrintCanvas(const Canvas& canvas) {
    auto blank = [](const std::string& row) { return row.find_first_not_of(' ') == std::string::npos; };
    std::size_t first = 0;
    while (first < canvas.Rows.size() && blank(canvas.Rows[first])) ++first;
    std::size_t last = canvas.Rows.size();
    while (last > first && blank(canvas.Rows[last - 1])) --last;
    for (std::size_t y = first; y < last; ++y) {
        std::string row = canvas.Rows[y];
        while (!row.empty() && row.back() == ' ') row.pop_back();
        Say("  " + ForConsole(row.c_str()));
    }
}

// The controls a script can answer, by their index in the dialog.
void PrintControls(const FarDialogItem* items, int count) {
    for (int i = 0; i < count; ++i) {
        const FarDialogItem& item = items[i];
        std::string focus = item.Focus != 0 ? "  (focus)" : "";
        std::string index = "    #" + std::to_string(i);
        if (item.Type == DI_CHECKBOX) {
            Say(index + " check box " + (item.Selected != 0 ? "[x] " : "[ ] ") + ForConsole(ItemText(item).c_str()) + focus);
        } else if (item.Type == DI_EDIT) {
            Say(index + " field \"" + ForConsole(item.Data) + "\"" + focus);
        } else if (item.Type == DI_BUTTON) {
            Say(index + " button " + ForConsole(ItemText(item).c_str()) + (item.DefaultButton != 0 ? " (default)" : "") + focus);
        }
    }
}

}  // namespace

void PrintDialog(const FarDialogItem* items, int count, int width) {
    Canvas canvas;
    canvas.BoxRight = width - 1;
    for (int i = 0; i < count; ++i) {
        if (IsBox(items[i])) PutBox(canvas, items[i]);
    }
    for (int i = 0; i < count; ++i) PutItem(canvas, items[i], width);
    PutButtonGroups(canvas, items, count, width);
    PrintCanvas(canvas);
    PrintControls(items, count);
}

}  // namespace twhost
