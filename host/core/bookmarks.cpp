#include "core/bookmarks.h"

#include <algorithm>
#include <cstdio>


using namespace tarnwick;

namespace twhost {
namespace {

int SlotOf(DWORD_T key, DWORD_T first) { return key >= first && key < first + kBookmarkSlots ? static_cast<int>(key - first) : -1; }

}  // namespace

int SetBookmarkSlot(DWORD_T key) {
    int slot = SlotOf(key, KEY_RCTRL0);
    return slot >= 0 ? slot : SlotOf(key, KEY_CTRLSHIFT0);
}

int GoBookmarkSlot(DWORD_T key) { return SlotOf(key, KEY_CTRL0); }

void SetBookmark(SimEditor& editor, int slot) {
    EditorMark& mark = editor.Marks[slot];
    mark.Line = editor.CurLine;
    mark.Cursor = editor.CurPos;
    mark.ScreenLine = editor.CurLine - editor.TopScreenLine;
    mark.LeftPos = editor.LeftPos;
}

bool GoToBookmark(SimEditor& editor, int slot) {
    const EditorMark& mark = editor.Marks[slot];
    if (mark.Line < 0) return false;
    editor.CurLine = std::min(mark.Line, TotalLines(editor) - 1);
    editor.CurPos = std::max(mark.Cursor, 0);
    editor.LeftPos = std::max(mark.LeftPos, 0);
    editor.TopScreenLine = std::max(editor.CurLine - std::max(mark.ScreenLine, 0), 0);
    KeepCursorVisible(editor);
    return true;
}

void MoveBookmarks(SimEditor& editor, int line, int count) {
    for (EditorMark& mark : editor.Marks) {
        if (mark.Line < 0) continue;
        if (count > 0 && mark.Line > line) {
            mark.Line += count;
        } else if (count < 0 && mark.Line >= line) {
            mark.Line = mark.Line >= line - count ? mark.Line + count : std::max(line - 1, 0);
        }
    }
}

std::string DescribeBookmarks(const SimEditor& editor) {
    std::string text;
    for (int slot = 0; slot < kBookmarkSlots; ++slot) {
        const EditorMark& mark = editor.Marks[slot];
        if (mark.Line < 0) continue;
        text += (text.empty() ? "" : " ") + std::to_string(slot) + ":" + std::to_string(mark.Line) + "," +
                std::to_string(mark.Cursor) + "," + std::to_string(mark.ScreenLine) + "," + std::to_string(mark.LeftPos);
    }
    return text.empty() ? "none" : text;
}

bool ParseBookmarks(const std::string& text, EditorMark (&marks)[kBookmarkSlots], std::string* error) {
    for (EditorMark& mark : marks) mark = EditorMark{};
    if (text == "none") return true;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find(' ', at);
        if (end == std::string::npos) end = text.size();
        std::string word = text.substr(at, end - at);
        at = end + 1;
        if (word.empty()) continue;
        int slot, line, cursor, screen, left;
        char tail;
        if (std::sscanf(word.c_str(), "%d:%d,%d,%d,%d%c", &slot, &line, &cursor, &screen, &left, &tail) != 5 || slot < 0 ||
            slot >= kBookmarkSlots || line < 0) {
            *error = "'" + word + "' is not N:LINE,CURSOR,SCREENLINE,LEFT with N 0..9";
            return false;
        }
        marks[slot] = EditorMark{line, cursor, screen, left};
    }
    return true;
}

}  // namespace twhost
