// The full-screen host's terminal, over ncurses: colours in the host's
// scheme, frames, text with hotkeys, the key bar, the keys read as the host
// names them, and the stack of painters that redraws everything on resize.
// The full-screen host owns the one Screen and hands it to what draws.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace twhost {

enum class Paint {
    Panel, PanelSelected, PanelTitle, Editor, Status, KeyNumber, KeyLabel,
    Menu, MenuSelected, MenuHotkey, MenuSelectedHotkey, MenuDisabled,
    Dialog, DialogFocus, DialogHotkey, DialogField, Warning, WarningFocus, Plain
};

// Keys beyond what ncurses names. ncurses keeps key codes in 16 bits:
// these lie above its own codes and below 0x10000.
constexpr int kKeyCtrlHome = 0x4001;
constexpr int kKeyCtrlEnd = 0x4002;
constexpr int kKeyAltShiftF9 = 0x4003;
constexpr int kKeyGrayPlus = 0x4004;   // the keypad's + and - (in application mode)
constexpr int kKeyGrayMinus = 0x4005;
constexpr int kKeyCtrlDigit = 0x4010;       // + n: Ctrl+n, where the terminal reports it
constexpr int kKeyCtrlShiftDigit = 0x4020;  // + n: Ctrl+Shift+n, likewise
constexpr int kKeyAlt = 0x20000;  // | the letter: Alt+letter
constexpr int kKeyEsc = 27;

constexpr int kMinColumns = 80;
constexpr int kMinRows = 25;

class Screen {
public:
    // Takes over the terminal and learns whether it has colours.
    void Open();

    // The painters of what is on the screen, bottom first: a menu over the
    // editor pushes its own. RepaintAll draws them all in order.
    void PushPainter(std::function<void()> painter);
    void PopPainter();
    void RepaintAll();

    // The next key; resizing repaints, and while the terminal is smaller
    // than 80 x 25 a message says so and only F10 comes through.
    int ReadKey();

    void Fill(int x, int y, int width, int height, Paint paint);
    // Text clipped to `width` columns (the rest blank-filled when `fill`).
    void PutText(int x, int y, const std::string& text, Paint paint, int width, bool fill = false);
    // Text whose "&" hotkey is drawn in `hotkeyPaint`.
    void PutHotkeyText(int x, int y, const std::string& text, Paint paint, Paint hotkeyPaint, int width);
    // A frame; the title is centred in the top edge, `bottom` in the bottom one.
    void DrawFrame(int x, int y, int width, int height, bool twoLines, Paint paint, const std::string& title,
                   const std::string& bottom);
    // A horizontal separator across a frame at row y.
    void DrawSeparator(int x, int y, int width, Paint paint, const std::string& text);
    // The key bar on the last row: labels[0] is F1's.
    void DrawKeyBar(const std::vector<std::string>& labels);

private:
    std::vector<std::function<void()>> painters_;
    bool colours_ = false;  // the terminal has colours: the host's scheme, else attributes only
};

// What needs no Screen: the terminal given back (safe to call twice), its
// size, the cursor and the refresh.
void CloseScreen();
int ScreenColumns();
int ScreenRows();
void PlaceCursor(int x, int y, bool visible);
void ShowScreen();

// Columns that the console text takes (UTF-8 on the terminal).
int TextWidth(const std::string& text);

}  // namespace twhost
