#include <algorithm>
#include <curses.h>

#include "kit/standard_functions.h"
#include "tui/tui_screen.h"
#include "tui/tui_ui.h"

using namespace tarnwick;

namespace twhost {
namespace {

struct MenuView {
    const ShownMenu* Menu = nullptr;
    int Selected = -1;
    int First = 0;   // the first item shown, when they do not all fit
    int X = 0, Y = 0, Width = 0, Height = 0;
};

void Layout(MenuView& view) {
    const ShownMenu& menu = *view.Menu;
    int width = std::max(TextWidth(menu.Title), TextWidth(menu.Bottom)) + 6;
    for (const ShownMenuItem& item : menu.Items) width = std::max(width, TextWidth(WithoutHotkeyMark(item.Text)) + 8);
    view.Width = std::min(width, ScreenColumns() - 4);
    view.Height = std::min(static_cast<int>(std::max<std::size_t>(menu.Items.size(), 1)) + 2, ScreenRows() - 4);
    view.X = (ScreenColumns() - view.Width) / 2;
    view.Y = (ScreenRows() - view.Height) / 2;
    int rows = view.Height - 2;
    if (view.Selected >= 0 && view.Selected < view.First) view.First = view.Selected;
    if (view.Selected >= view.First + rows) view.First = view.Selected - rows + 1;
}

void PaintMenu(Screen& screen, MenuView& view) {
    Layout(view);
    const ShownMenu& menu = *view.Menu;
    screen.Fill(view.X, view.Y, view.Width, view.Height, Paint::Menu);
    screen.DrawFrame(view.X, view.Y, view.Width, view.Height, true, Paint::Menu, menu.Title, menu.Bottom);
    int rows = view.Height - 2;
    for (int row = 0; row < rows; ++row) {
        int index = view.First + row;
        if (index >= static_cast<int>(menu.Items.size())) break;
        const ShownMenuItem& item = menu.Items[static_cast<std::size_t>(index)];
        int y = view.Y + 1 + row;
        if ((item.Flags & MIF_SEPARATOR) != 0) {
            screen.DrawSeparator(view.X, y, view.Width, Paint::Menu, "");
            continue;
        }
        bool selected = index == view.Selected;
        bool disabled = (item.Flags & MIF_DISABLE) != 0;
        Paint paint = disabled ? Paint::MenuDisabled : selected ? Paint::MenuSelected : Paint::Menu;
        Paint hotkey = disabled ? paint : selected ? Paint::MenuSelectedHotkey : Paint::MenuHotkey;
        screen.Fill(view.X + 1, y, view.Width - 2, 1, paint);
        std::string mark = (item.Flags & MIF_CHECKED) != 0 ? " * " : "   ";
        screen.PutText(view.X + 1, y, mark, paint, 3);
        if (menu.ShowAmpersand) {
            screen.PutText(view.X + 4, y, item.Text, paint, view.Width - 6);
        } else {
            screen.PutHotkeyText(view.X + 4, y, item.Text, paint, hotkey, view.Width - 6);
        }
    }
    PlaceCursor(0, 0, false);
}

// The next selectable item from `from` in `step` direction, wrapping; -1
// when none is.
int NextSelectable(const ShownMenu& menu, int from, int step) {
    int count = static_cast<int>(menu.Items.size());
    for (int i = 1; i <= count; ++i) {
        int index = ((from + step * i) % count + count) % count;
        if (Selectable(menu.Items[static_cast<std::size_t>(index)])) return index;
    }
    return -1;
}

int ItemWithHotkey(const ShownMenu& menu, int key) {
    if (menu.ShowAmpersand || key <= 0 || key >= 256) return -1;
    for (std::size_t i = 0; i < menu.Items.size(); ++i) {
        char hotkey = HotkeyOf(menu.Items[i].Text);
        if (hotkey != '\0' && Selectable(menu.Items[i]) && hostkit::FoldCase(hotkey) == hostkit::FoldCase(static_cast<char>(key))) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace

int VirtualKeyOf(int key) {
    if (key == KEY_DC) return kVirtualKeyDelete;
    if (key == KEY_IC) return 0x2D;
    if (key >= KEY_F(1) && key <= KEY_F(12)) return 0x70 + (key - KEY_F(1));
    return 0;
}

MenuChoice RunMenu(Screen& screen, const ShownMenu& menu) {
    MenuView view;
    view.Menu = &menu;
    view.Selected = MarkedItem(menu);
    screen.PushPainter([&screen, &view] { PaintMenu(screen, view); });
    screen.RepaintAll();
    MenuChoice choice;
    int last = static_cast<int>(menu.Items.size()) - 1;
    while (true) {
        int key = screen.ReadKey();
        int breakIndex = BreakKeyIndex(menu, VirtualKeyOf(key));
        if (breakIndex >= 0 && VirtualKeyOf(key) != 0) {
            choice.Item = view.Selected;
            choice.BreakCode = breakIndex;
            break;
        }
        int hotkey = ItemWithHotkey(menu, key & ~kKeyAlt);
        if (key == kKeyEsc || key == KEY_F(10)) break;
        if ((key == '\r' || key == '\n' || key == KEY_ENTER) && view.Selected >= 0) {
            choice.Item = view.Selected;
            break;
        }
        if (hotkey >= 0) {
            choice.Item = hotkey;
            break;
        }
        if (view.Selected < 0) continue;
        if (key == KEY_UP) view.Selected = NextSelectable(menu, view.Selected, -1);
        if (key == KEY_DOWN) view.Selected = NextSelectable(menu, view.Selected, 1);
        if (key == KEY_HOME || key == KEY_PPAGE) view.Selected = NextSelectable(menu, -1, 1);
        if (key == KEY_END || key == KEY_NPAGE) view.Selected = NextSelectable(menu, last + 1, -1);
        screen.RepaintAll();
    }
    screen.PopPainter();
    screen.RepaintAll();
    return choice;
}

}  // namespace twhost
