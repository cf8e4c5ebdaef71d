// Checks Tarnwick's language files: the header line, one text for each
// number of the plug-in's message enumeration (plugin/messages.h), the one
// integer conversion of the purge report, the hotkeys of the menu and the
// dialog, texts that fit where the plug-in puts them, and for Russian, that
// the file is in code page 866 (not UTF-8).
//
// usage: language_file_check FILE.lng...   (exit code 0 when all pass)
#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "plugin/messages.h"

namespace {

using namespace tarnwick::plugin;

constexpr std::size_t kMessageCount = kMsgCount;
int g_failures = 0;

void Fail(const std::string& file, const std::string& what) {
    std::fprintf(stderr, "%s: %s\n", file.c_str(), what.c_str());
    ++g_failures;
}

// Lower case in ASCII and in the Cyrillic letters of code page 866.
unsigned char Fold(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
    if (c >= 0x80 && c <= 0x8F) return static_cast<unsigned char>(c + 0x20);
    if (c >= 0x90 && c <= 0x9F) return static_cast<unsigned char>(c + 0x50);
    if (c == 0xF0) return 0xF1;
    return c;
}

// The character after the single '&' of a text; 0 when there is none or
// more than one.
unsigned char Hotkey(const std::string& text, int* marks) {
    *marks = 0;
    unsigned char key = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') continue;
        if (i + 1 < text.size() && text[i + 1] == '&') {
            ++i;
            continue;
        }
        ++*marks;
        if (i + 1 < text.size()) key = Fold(static_cast<unsigned char>(text[i + 1]));
    }
    return *marks == 1 ? key : 0;
}

std::size_t ShownLength(const std::string& text) {
    int marks;
    Hotkey(text, &marks);
    return text.size() - static_cast<std::size_t>(marks);
}

// The printf conversions of a text ("%%" is none).
std::vector<std::string> Conversions(const std::string& text) {
    std::vector<std::string> found;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') continue;
        if (i + 1 < text.size() && text[i + 1] == '%') {
            ++i;
            continue;
        }
        std::size_t end = i + 1;
        while (end < text.size() && std::string("-+ #0123456789.lhL").find(text[end]) != std::string::npos) ++end;
        found.push_back(text.substr(i, end < text.size() ? end - i + 1 : end - i));
        i = end;
    }
    return found;
}

void CheckHotkeys(const std::string& file, const std::vector<std::string>& messages, const std::vector<Message>& ids,
                  const std::string& where) {
    std::set<unsigned char> seen;
    for (Message id : ids) {
        int marks;
        unsigned char key = Hotkey(messages[id], &marks);
        if (marks != 1) {
            Fail(file, "message " + std::to_string(id) + " needs exactly one '&' hotkey, it has " + std::to_string(marks));
        } else if (!seen.insert(key).second) {
            Fail(file, "message " + std::to_string(id) + " repeats a hotkey of the " + where);
        }
    }
}

void CheckFile(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        Fail(file, "cannot be read");
        return;
    }
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> lines;
    std::istringstream stream(content);
    bool lfOnly = false;
    for (std::string line; std::getline(stream, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        } else {
            lfOnly = true;
        }
        // The host reads at most 1,000 characters of a line.
        if (line.size() > 1000) Fail(file, "line " + std::to_string(lines.size() + 1) + " is over 1,000 characters");
        lines.push_back(line);
    }
    if (lfOnly) Fail(file, "has a line that does not end with CR LF, as the host's own files do");
    if (lines.empty()) {
        Fail(file, "is empty");
        return;
    }
    const std::string russianHeader = ".Language=Russian,Russian (\x90\xE3\xE1\xE1\xAA\xA8\xA9)";
    bool russian = lines[0] == russianHeader;
    if (!russian && lines[0] != ".Language=English,English") {
        Fail(file, "the first line is not .Language=English,English nor the Russian one in code page 866");
    }
    std::vector<std::string> messages;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.empty() || line.compare(0, 2, "//") == 0) continue;
        if (line.size() < 2 || line.front() != '"' || line.back() != '"') {
            Fail(file, "line " + std::to_string(i + 1) + " is neither a comment nor a text in double quotes");
            continue;
        }
        messages.push_back(line.substr(1, line.size() - 2));
    }
    if (messages.size() != kMessageCount) {
        Fail(file, "has " + std::to_string(messages.size()) + " messages, not " + std::to_string(kMessageCount));
        return;
    }
    if (messages[kMsgTitle] != "Tarnwick") Fail(file, "the title message must be the plug-in's title, Tarnwick");

    const std::string& report = messages[kMsgPurgeReport];
    std::vector<std::string> conversions = Conversions(report);
    if (conversions.size() != 1 || conversions[0] != "%d") {
        Fail(file, "the purge report must hold exactly one %d and no other conversion");
    }
    // The report is formatted into 72 bytes with a number of up to 11 characters.
    if (report.size() - 2 + 11 >= 72) Fail(file, "the purge report does not fit the 72-byte report with any count");
    for (std::size_t id = 0; id < messages.size(); ++id) {
        if (id != kMsgPurgeReport && !Conversions(messages[id]).empty()) {
            Fail(file, "message " + std::to_string(id) + " holds a % conversion");
        }
        if (messages[id].size() >= 128) Fail(file, "message " + std::to_string(id) + " is longer than a menu item's 127 characters");
    }

    // Either store text with the other menu items, and the dialog.
    for (Message store : {kMsgMenuStore, kMsgMenuUpdate}) {
        CheckHotkeys(file, messages, {store, kMsgMenuRestore, kMsgMenuList, kMsgMenuPurge, kMsgMenuConfigure}, "menu");
    }
    CheckHotkeys(file, messages,
                 {kMsgDialogShowInPanels, kMsgDialogAutomatic, kMsgDialogRemoveAtExit, kMsgDialogCheckMask,
                  kMsgDialogPositionFile, kMsgDialogOk, kMsgDialogCancel},
                 "dialog");

    // The dialog's frame runs from column 3 to 60. A check box at column 5
    // shows "[x] " before its text; the mask field starts at column 25 on
    // the line of the mask check box.
    for (Message id : {kMsgDialogShowInPanels, kMsgDialogAutomatic, kMsgDialogRemoveAtExit}) {
        if (5 + 4 + ShownLength(messages[id]) > 59) {
            Fail(file, "the check box text of message " + std::to_string(id) + " runs into the dialog's frame");
        }
    }
    if (5 + 4 + ShownLength(messages[kMsgDialogCheckMask]) > 24) {
        Fail(file, "the mask check box's text (message " + std::to_string(kMsgDialogCheckMask) + ") runs into the mask field");
    }
    if (5 + ShownLength(messages[kMsgDialogPositionFile]) > 59) {
        Fail(file, "the position file's label (message " + std::to_string(kMsgDialogPositionFile) + ") runs into the dialog's frame");
    }

    if (russian) {
        for (std::size_t i = 0; i < content.size(); ++i) {
            unsigned char c = static_cast<unsigned char>(content[i]);
            bool letter = (c >= 0x80 && c <= 0xAF) || (c >= 0xE0 && c <= 0xF1);
            if (c >= 0x80 && !letter) {
                Fail(file, "byte " + std::to_string(i) + " is not a Cyrillic letter of code page 866 (is the file UTF-8?)");
                break;
            }
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: language_file_check FILE.lng...\n");
        return 2;
    }
    for (int i = 1; i < argc; ++i) CheckFile(argv[i]);
    if (g_failures == 0) std::printf("language files ok\n");
    return g_failures == 0 ? 0 : 1;
}
