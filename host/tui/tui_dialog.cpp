#include <algorithm>
#include <cstring>
#include <curses.h>

#include "core/console.h"
#include "kit/standard_functions.h"
#include "tui/tui_screen.h"
#include "tui/tui_ui.h"

using namespace tarnwick;

namespace twhost {
namespace {

struct DialogView {
    FarDialogItem* Items = nullptr;
    int Count = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    int Focus = -1;
    std::vector<std::size_t> Cursor;  // per edit field: the cursor's byte in Data
};

bool IsControl(const FarDialogItem& item) {
    return item.Type == DI_CHECKBOX || item.Type == DI_EDIT || item.Type == DI_BUTTON;
}

std::string Text(const char* data) { return ForConsole(data); }

std::string ButtonFace(const FarDialogItem& item) {
    return item.DefaultButton != 0 ? "{ " + Text(item.Data) + " }" : "[ " + Text(item.Data) + " ]";
}

// The column of each centred group button, by item index.
std::vector<int> ButtonColumns(const DialogView& view) {
    std::vector<int> columns(static_cast<std::size_t>(view.Count), -1);
    for (int i = 0; i < view.Count; ++i) {
        const FarDialogItem& item = view.Items[i];
        if (item.Type != DI_BUTTON) continue;
        if ((item.Flags & DIF_CENTERGROUP) == 0) {
            columns[static_cast<std::size_t>(i)] = item.X1;
            continue;
        }
        if (columns[static_cast<std::size_t>(i)] >= 0) continue;
        int total = -1;
        for (int k = i; k < view.Count; ++k) {
            const FarDialogItem& other = view.Items[k];
            if (other.Type == DI_BUTTON && (other.Flags & DIF_CENTERGROUP) != 0 && other.Y1 == item.Y1) {
                total += TextWidth(WithoutHotkeyMark(ButtonFace(other))) + 1;
            }
        }
        int x = (view.Width - total) / 2;
        for (int k = i; k < view.Count; ++k) {
            const FarDialogItem& other = view.Items[k];
            if (other.Type == DI_BUTTON && (other.Flags & DIF_CENTERGROUP) != 0 && other.Y1 == item.Y1) {
                columns[static_cast<std::size_t>(k)] = x;
                x += TextWidth(WithoutHotkeyMark(ButtonFace(other))) + 1;
            }
        }
    }
    return columns;
}

void PaintField(Screen& screen, const DialogView& view, int i) {
    const FarDialogItem& item = view.Items[i];
    int width = item.X2 >= item.X1 ? item.X2 - item.X1 + 1 : 20;
    std::string text = Text(item.Data);
    std::size_t cursor = view.Cursor[static_cast<std::size_t>(i)];
    int first = std::max(0, static_cast<int>(cursor) - width + 1);
    screen.PutText(view.X + item.X1, view.Y + item.Y1, text.substr(static_cast<std::size_t>(std::min<int>(first, static_cast<int>(text.size())))),
            Paint::DialogField, width, true);
}

void PaintDialog(Screen& screen, const DialogView& view) {
    screen.Fill(view.X, view.Y, view.Width, view.Height, Paint::Dialog);
    int boxLeft = 0, boxRight = view.Width - 1;
    std::vector<int> buttons = ButtonColumns(view);
    for (int i = 0; i < view.Count; ++i) {
        const FarDialogItem& item = view.Items[i];
        int x = view.X + item.X1, y = view.Y + item.Y1;
        bool focused = i == view.Focus;
        Paint paint = focused ? Paint::DialogFocus : Paint::Dialog;
        switch (item.Type) {
            case DI_DOUBLEBOX:
            case kDialogSingleBox:
                boxLeft = item.X1;
                boxRight = item.X2;
                screen.DrawFrame(x, y, item.X2 - item.X1 + 1, item.Y2 - item.Y1 + 1, item.Type == DI_DOUBLEBOX, Paint::Dialog,
                          WithoutHotkeyMark(Text(item.Data)), "");
                break;
            case DI_TEXT:
                if ((item.Flags & DIF_SEPARATOR) != 0) {
                    screen.DrawSeparator(view.X + boxLeft, y, boxRight - boxLeft + 1, Paint::Dialog, WithoutHotkeyMark(Text(item.Data)));
                } else {
                    screen.PutHotkeyText(x, y, Text(item.Data), Paint::Dialog, Paint::DialogHotkey, view.Width - item.X1 - 2);
                }
                break;
            case DI_CHECKBOX:
                screen.PutText(x, y, item.Selected != 0 ? "[x] " : "[ ] ", paint, 4);
                screen.PutHotkeyText(x + 4, y, Text(item.Data), paint, focused ? paint : Paint::DialogHotkey, view.Width - item.X1 - 6);
                break;
            case DI_EDIT: PaintField(screen, view, i); break;
            case DI_BUTTON: {
                std::string face = ButtonFace(item);
                screen.PutHotkeyText(view.X + buttons[static_cast<std::size_t>(i)], y, face, paint, focused ? paint : Paint::DialogHotkey,
                              TextWidth(face));
                break;
            }
            default: break;
        }
    }
    if (view.Focus >= 0 && view.Items[view.Focus].Type == DI_EDIT) {
        const FarDialogItem& item = view.Items[view.Focus];
        int width = item.X2 >= item.X1 ? item.X2 - item.X1 + 1 : 20;
        int cursor = static_cast<int>(view.Cursor[static_cast<std::size_t>(view.Focus)]);
        PlaceCursor(view.X + item.X1 + std::min(cursor, width - 1), view.Y + item.Y1, true);
    } else {
        PlaceCursor(0, 0, false);
    }
}

int NextControl(const DialogView& view, int from, int step) {
    for (int i = 1; i <= view.Count; ++i) {
        int index = ((from + step * i) % view.Count + view.Count) % view.Count;
        if (IsControl(view.Items[index])) return index;
    }
    return -1;
}

// The control a hotkey letter leads to: its own, or for a label the next
// control after it.
int ControlWithHotkey(const DialogView& view, int key) {
    if (key <= 0 || key >= 256) return -1;
    for (int i = 0; i < view.Count; ++i) {
        char hotkey = HotkeyOf(view.Items[i].Data);
        if (hotkey == '\0' || hostkit::FoldCase(hotkey) != hostkit::FoldCase(static_cast<char>(key))) continue;
        if (IsControl(view.Items[i])) return i;
        if (view.Items[i].Type == DI_TEXT) return NextControl(view, i, 1);
    }
    return -1;
}

void EditField(DialogView& view, int key) {
    FarDialogItem& item = view.Items[view.Focus];
    std::size_t& cursor = view.Cursor[static_cast<std::size_t>(view.Focus)];
    std::size_t length = std::strlen(item.Data);
    if (key == KEY_LEFT && cursor > 0) --cursor;
    if (key == KEY_RIGHT && cursor < length) ++cursor;
    if (key == KEY_HOME) cursor = 0;
    if (key == KEY_END) cursor = length;
    if (key == 25 /* Ctrl+Y */) item.Data[0] = '\0', cursor = 0;
    if ((key == KEY_BACKSPACE || key == 127 || key == 8) && cursor > 0) {
        std::memmove(item.Data + cursor - 1, item.Data + cursor, length - cursor + 1);
        --cursor;
    }
    if (key == KEY_DC && cursor < length) std::memmove(item.Data + cursor, item.Data + cursor + 1, length - cursor);
    if (key >= 32 && key < 127 && length + 1 < sizeof item.Data) {
        std::memmove(item.Data + cursor + 1, item.Data + cursor, length - cursor + 1);
        item.Data[cursor++] = static_cast<char>(key);
    }
}

int DefaultButton(const DialogView& view) {
    for (int i = 0; i < view.Count; ++i) {
        if (view.Items[i].Type == DI_BUTTON && view.Items[i].DefaultButton != 0) return i;
    }
    return -1;
}

}  // namespace

int RunDialog(Screen& screen, FarDialogItem* items, int count, const DialogPlace& place) {
    DialogView view;
    view.Items = items;
    view.Count = count;
    view.Width = place.X1 < 0 ? place.X2 : place.X2 - place.X1 + 1;
    view.Height = place.Y1 < 0 ? place.Y2 : place.Y2 - place.Y1 + 1;
    view.Width = std::clamp(view.Width, 10, ScreenColumns());
    view.Height = std::clamp(view.Height, 3, ScreenRows());
    view.X = place.X1 < 0 ? (ScreenColumns() - view.Width) / 2 : place.X1;
    view.Y = place.Y1 < 0 ? (ScreenRows() - view.Height) / 2 : place.Y1;
    for (int i = 0; i < count; ++i) {
        view.Cursor.push_back(std::strlen(items[i].Data));
        if (items[i].Focus != 0 && IsControl(items[i]) && view.Focus < 0) view.Focus = i;
    }
    if (view.Focus < 0) view.Focus = NextControl(view, -1, 1);
    screen.PushPainter([&screen, &view] { PaintDialog(screen, view); });
    screen.RepaintAll();
    int result = -1;
    while (view.Focus >= 0) {
        int key = screen.ReadKey();
        FarDialogItem& focused = items[view.Focus];
        bool inField = focused.Type == DI_EDIT;
        int hotkey = (key & kKeyAlt) != 0 || !inField ? ControlWithHotkey(view, key & ~kKeyAlt) : -1;
        if (key == kKeyEsc || key == KEY_F(10)) break;
        if (key == '\r' || key == '\n' || key == KEY_ENTER) {
            result = focused.Type == DI_BUTTON ? view.Focus : DefaultButton(view);
            break;
        }
        if (key == '\t' || key == KEY_DOWN) {
            view.Focus = NextControl(view, view.Focus, 1);
        } else if (key == KEY_BTAB || key == KEY_UP) {
            view.Focus = NextControl(view, view.Focus, -1);
        } else if (hotkey >= 0) {
            view.Focus = hotkey;
            if (items[hotkey].Type == DI_CHECKBOX) items[hotkey].Selected = items[hotkey].Selected != 0 ? 0 : 1;
            if (items[hotkey].Type == DI_BUTTON) {
                result = hotkey;
                break;
            }
        } else if (key == ' ' && focused.Type == DI_CHECKBOX) {
            focused.Selected = focused.Selected != 0 ? 0 : 1;
        } else if (key == ' ' && focused.Type == DI_BUTTON) {
            result = view.Focus;
            break;
        } else if (inField) {
            EditField(view, key);
        }
        screen.RepaintAll();
    }
    screen.PopPainter();
    screen.RepaintAll();
    return result;
}

}  // namespace twhost
