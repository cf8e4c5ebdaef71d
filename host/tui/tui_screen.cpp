#include "tui/tui_screen.h"

#include <clocale>
#include <cstdio>
#include <curses.h>

namespace twhost {
namespace {

struct Scheme {
    short Foreground;
    short Background;
    attr_t Extra;     // with colours
    attr_t Mono;      // without them
};

// The host's colours: cyan panels on blue, a white-on-blue editor, cyan
// menus, grey dialogs, red warnings.
const Scheme kSchemes[] = {
    {COLOR_CYAN, COLOR_BLUE, 0, A_NORMAL},               // Panel
    {COLOR_BLACK, COLOR_CYAN, 0, A_REVERSE},             // PanelSelected
    {COLOR_YELLOW, COLOR_BLUE, A_BOLD, A_BOLD},          // PanelTitle
    {COLOR_WHITE, COLOR_BLUE, 0, A_NORMAL},              // Editor
    {COLOR_BLACK, COLOR_CYAN, 0, A_REVERSE},             // Status
    {COLOR_WHITE, COLOR_BLACK, A_BOLD, A_NORMAL},        // KeyNumber
    {COLOR_BLACK, COLOR_CYAN, 0, A_REVERSE},             // KeyLabel
    {COLOR_WHITE, COLOR_CYAN, A_BOLD, A_NORMAL},         // Menu
    {COLOR_WHITE, COLOR_BLACK, A_BOLD, A_REVERSE},       // MenuSelected
    {COLOR_YELLOW, COLOR_CYAN, A_BOLD, A_UNDERLINE},     // MenuHotkey
    {COLOR_YELLOW, COLOR_BLACK, A_BOLD, A_REVERSE | A_UNDERLINE},  // MenuSelectedHotkey
    {COLOR_BLACK, COLOR_CYAN, A_BOLD, A_DIM},            // MenuDisabled
    {COLOR_BLACK, COLOR_WHITE, 0, A_NORMAL},             // Dialog
    {COLOR_WHITE, COLOR_CYAN, A_BOLD, A_REVERSE},        // DialogFocus
    {COLOR_BLUE, COLOR_WHITE, 0, A_UNDERLINE},           // DialogHotkey
    {COLOR_BLACK, COLOR_CYAN, 0, A_UNDERLINE},           // DialogField
    {COLOR_WHITE, COLOR_RED, A_BOLD, A_BOLD},            // Warning
    {COLOR_BLACK, COLOR_WHITE, 0, A_REVERSE},            // WarningFocus
    {COLOR_WHITE, COLOR_BLACK, 0, A_NORMAL},             // Plain
};

attr_t Attributes(Paint paint, bool colours) {
    int index = static_cast<int>(paint);
    const Scheme& scheme = kSchemes[index];
    return colours ? (COLOR_PAIR(index + 1) | scheme.Extra) : scheme.Mono;
}

// The bytes of `text` that fit in `width` columns (UTF-8 code points).
std::size_t BytesInColumns(const std::string& text, int width, int* used) {
    int columns = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            if (columns == width) break;
            ++columns;
        }
        ++i;
    }
    *used = columns;
    return i;
}

bool TooSmall() { return COLS < kMinColumns || LINES < kMinRows; }

void PaintTooSmall() {
    erase();
    std::string lines[] = {"The terminal has " + std::to_string(COLS) + " x " + std::to_string(LINES) + " characters.",
                           "The host needs at least 80 x 25: make the window larger.", "F10 quits."};
    for (int i = 0; i < 3; ++i) mvaddnstr(LINES / 2 - 1 + i, 0, lines[i].c_str(), COLS);
    refresh();
}

}  // namespace

void Screen::Open() {
    std::setlocale(LC_ALL, "");
    initscr();
    raw();
    noecho();
    nonl();
    keypad(stdscr, TRUE);
    set_escdelay(25);
    colours_ = has_colors();
    if (colours_) {
        start_color();
        for (std::size_t i = 0; i < sizeof kSchemes / sizeof kSchemes[0]; ++i) {
            init_pair(static_cast<short>(i + 1), kSchemes[i].Foreground, kSchemes[i].Background);
        }
    }
    // What xterm-like terminals send for the keys ncurses does not name.
    define_key("\033[1;5H", kKeyCtrlHome);
    define_key("\033[1;5F", kKeyCtrlEnd);
    define_key("\033[20;4~", kKeyAltShiftF9);
    // Shift+F2 and Shift+F8 as F14 and F20, as xterm's own description has them.
    define_key("\033[1;2Q", KEY_F(14));
    define_key("\033[12;2~", KEY_F(14));
    define_key("\033[19;2~", KEY_F(20));
    define_key("\033Ok", kKeyGrayPlus);
    define_key("\033Om", kKeyGrayMinus);
    // Ctrl+digit reaches a program only where the terminal reports modified
    // keys (xterm's modifyOtherKeys, or the CSI u form).
    for (int digit = 0; digit < 10; ++digit) {
        char sequence[24];
        for (int modifier : {5, 6}) {
            int code = (modifier == 5 ? kKeyCtrlDigit : kKeyCtrlShiftDigit) + digit;
            std::snprintf(sequence, sizeof sequence, "\033[27;%d;%d~", modifier, '0' + digit);
            define_key(sequence, code);
            std::snprintf(sequence, sizeof sequence, "\033[%d;%du", '0' + digit, modifier);
            define_key(sequence, code);
        }
    }
}

void CloseScreen() {
    if (!isendwin()) endwin();
}

int ScreenColumns() { return COLS; }
int ScreenRows() { return LINES; }

void Screen::PushPainter(std::function<void()> painter) { painters_.push_back(std::move(painter)); }
void Screen::PopPainter() {
    if (!painters_.empty()) painters_.pop_back();
}

void Screen::RepaintAll() {
    if (TooSmall()) {
        PaintTooSmall();
        return;
    }
    for (const auto& painter : painters_) painter();
    refresh();
}

int Screen::ReadKey() {
    while (true) {
        if (TooSmall()) PaintTooSmall();
        int key = getch();
        if (key == KEY_RESIZE) {
            RepaintAll();
            continue;
        }
        if (key == ERR) continue;
        if (TooSmall() && key != KEY_F(10)) continue;
        if (key == kKeyEsc) {
            // Esc and a key at once: Alt and that key.
            timeout(20);
            int next = getch();
            timeout(-1);
            if (next != ERR && next >= 32 && next < 127) return kKeyAlt | next;
            if (next != ERR) ungetch(next);
        }
        return key;
    }
}

void Screen::Fill(int x, int y, int width, int height, Paint paint) {
    attr_t attributes = Attributes(paint, colours_);
    attron(attributes);
    for (int row = y; row < y + height; ++row) mvhline(row, x, ' ', width);
    attroff(attributes);
}

int TextWidth(const std::string& text) {
    int used;
    BytesInColumns(text, 1 << 20, &used);
    return used;
}

void Screen::PutText(int x, int y, const std::string& text, Paint paint, int width, bool fill) {
    if (width <= 0) return;
    int used;
    std::size_t bytes = BytesInColumns(text, width, &used);
    attr_t attributes = Attributes(paint, colours_);
    attron(attributes);
    mvaddnstr(y, x, text.c_str(), static_cast<int>(bytes));
    if (fill && used < width) mvhline(y, x + used, ' ', width - used);
    attroff(attributes);
}

void Screen::PutHotkeyText(int x, int y, const std::string& text, Paint paint, Paint hotkeyPaint, int width) {
    int column = 0;
    for (std::size_t i = 0; i < text.size() && column < width; ++i) {
        bool hotkey = false;
        if (text[i] == '&') {
            if (i + 1 >= text.size()) break;
            hotkey = text[i + 1] != '&';
            ++i;
        }
        std::size_t length = 1;
        while (i + length < text.size() && (static_cast<unsigned char>(text[i + length]) & 0xC0) == 0x80) ++length;
        PutText(x + column, y, text.substr(i, length), hotkey ? hotkeyPaint : paint, 1);
        i += length - 1;
        ++column;
    }
}

void Screen::DrawFrame(int x, int y, int width, int height, bool twoLines, Paint paint, const std::string& title,
               const std::string& bottom) {
    attr_t attributes = Attributes(paint, colours_);
    attron(attributes);
    const cchar_t* h = twoLines ? WACS_D_HLINE : WACS_HLINE;
    const cchar_t* v = twoLines ? WACS_D_VLINE : WACS_VLINE;
    mvhline_set(y, x + 1, h, width - 2);
    mvhline_set(y + height - 1, x + 1, h, width - 2);
    mvvline_set(y + 1, x, v, height - 2);
    mvvline_set(y + 1, x + width - 1, v, height - 2);
    mvadd_wch(y, x, twoLines ? WACS_D_ULCORNER : WACS_ULCORNER);
    mvadd_wch(y, x + width - 1, twoLines ? WACS_D_URCORNER : WACS_URCORNER);
    mvadd_wch(y + height - 1, x, twoLines ? WACS_D_LLCORNER : WACS_LLCORNER);
    mvadd_wch(y + height - 1, x + width - 1, twoLines ? WACS_D_LRCORNER : WACS_LRCORNER);
    attroff(attributes);
    for (int edge = 0; edge < 2; ++edge) {
        const std::string& text = edge == 0 ? title : bottom;
        if (text.empty()) continue;
        std::string shown = " " + text + " ";
        int w = std::min(TextWidth(shown), width - 2);
        PutText(x + (width - w) / 2, edge == 0 ? y : y + height - 1, shown, paint, w);
    }
}

void Screen::DrawSeparator(int x, int y, int width, Paint paint, const std::string& text) {
    attr_t attributes = Attributes(paint, colours_);
    attron(attributes);
    mvhline_set(y, x + 1, WACS_HLINE, width - 2);
    mvadd_wch(y, x, WACS_LTEE);
    mvadd_wch(y, x + width - 1, WACS_RTEE);
    attroff(attributes);
    if (!text.empty()) {
        std::string shown = " " + text + " ";
        int w = std::min(TextWidth(shown), width - 2);
        PutText(x + (width - w) / 2, y, shown, paint, w);
    }
}

void Screen::DrawKeyBar(const std::vector<std::string>& labels) {
    int slot = COLS / 12;
    int y = LINES - 1;
    move(y, 0);
    clrtoeol();
    for (int i = 0; i < 12; ++i) {
        int x = i * slot;
        std::string number = std::to_string(i + 1);
        PutText(x, y, number, Paint::KeyNumber, 2);
        int labelWidth = (i == 11 ? COLS - x : slot) - static_cast<int>(number.size()) + 1;
        PutText(x + static_cast<int>(number.size()), y, i < static_cast<int>(labels.size()) ? labels[static_cast<std::size_t>(i)] : "",
                Paint::KeyLabel, labelWidth - 1, true);
    }
}

void PlaceCursor(int x, int y, bool visible) {
    curs_set(visible ? 1 : 0);
    if (visible) move(y, x);
}

void ShowScreen() { refresh(); }

}  // namespace twhost
