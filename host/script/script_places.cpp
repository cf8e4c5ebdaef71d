#include "script/script_places.h"

#include <vector>
#include <algorithm>
#include <cstdlib>

#include "core/bookmarks.h"
#include "core/char_tables.h"
#include "core/console.h"
#include "core/editors.h"
#include "core/host_memory.h"
#include "core/host_state.h"
#include "core/plugin_calls.h"
#include "core/shown_ui.h"
#include "core/viewers.h"
#include "kit/code_pages.h"
#include "script/position_text.h"

using namespace tarnwick;

namespace twhost {
namespace {

bool ReportViewer(std::string*) {
    SimViewer* viewer = FocusedViewer();
    Say(viewer != nullptr ? "  " + DescribeViewer(*viewer) : "  (no viewer has the focus)");
    return true;
}

bool NeedViewer(SimViewer** viewer, std::string* error) {
    *viewer = FocusedViewer();
    if (*viewer == nullptr) {
        *error = "no viewer has the focus";
        return false;
    }
    return true;
}

// The one item of `type` for the path in Words[1], or null with the file shown.
const TextItem* OneItem(const Args& args, const char* type, std::vector<TextLine>* lines, std::string* error) {
    bool exists;
    ReadCfg(lines, &exists);
    std::string path = Resolve(args.Words[1]);
    std::vector<const TextItem*> items = FindItems(*lines, type, path);
    if (items.size() != 1) {
        *error = "expected one " + std::string(type) + " item for " + path + " in " + Host().CfgPath + ", found " +
                 std::to_string(items.size());
        ShowFile(Host().CfgPath);
        return nullptr;
    }
    return items[0];
}

bool SameMarks(const EditorMark (&a)[kBookmarkSlots], const EditorMark (&b)[kBookmarkSlots]) {
    for (int i = 0; i < kBookmarkSlots; ++i) {
        if (a[i].Line != b[i].Line || (a[i].Line >= 0 && (a[i].Cursor != b[i].Cursor || a[i].ScreenLine != b[i].ScreenLine ||
                                                          a[i].LeftPos != b[i].LeftPos))) {
            return false;
        }
    }
    return true;
}

}  // namespace

// ---- Actions --------------------------------------------------------------

bool CmdView(const Args& args, std::string* error) {
    SimViewer* viewer;
    return OpenViewer(Resolve(RestAfter(args.Line, 1)), &viewer, error) && FinishViewerQuit(error) && ReportViewer(error);
}

bool CmdViewerKey(const Args& args, std::string* error) {
    static const std::pair<const char*, ViewerKey> keys[] = {
        {"up", ViewerKey::Up}, {"down", ViewerKey::Down}, {"pgup", ViewerKey::PageUp}, {"pgdn", ViewerKey::PageDown},
        {"home", ViewerKey::Home}, {"end", ViewerKey::End}, {"left", ViewerKey::Left}, {"right", ViewerKey::Right},
        {"f4", ViewerKey::Hex}, {"f2", ViewerKey::Wrap}, {"shift-f2", ViewerKey::WordWrap}, {"f8", ViewerKey::AnsiToggle}};
    int times = 1;
    if (args.Words.size() > 2 && !NeedInt(args, 2, &times, error)) return false;
    for (const auto& key : keys) {
        if (args.Words[1] != key.first) continue;
        for (int i = 0; i < times; ++i) {
            if (!PressViewerKey(key.second, error)) return false;
        }
        return ReportViewer(error);
    }
    *error = "viewer keys: up down pgup pgdn home end left right f4 f2 shift-f2 f8";
    return false;
}

bool CmdViewerNext(const Args& args, std::string* error) {
    bool moved;
    if (!ViewNextFile(args.Words[0] == "viewer-next", &moved, error)) return false;
    if (!moved) Say("  (no " + std::string(args.Words[0] == "viewer-next" ? "next" : "previous") + " file in the panel)");
    return FinishViewerQuit(error) && ReportViewer(error);
}

bool CmdCloseViewer(const Args& args, std::string* error) {
    int id;
    if (args.Words.size() > 1) {
        if (!NeedInt(args, 1, &id, error)) return false;
    } else {
        SimViewer* viewer;
        if (!NeedViewer(&viewer, error)) return false;
        id = viewer->Id;
    }
    if (!CloseViewer(id, error)) return false;
    Say("  viewer " + std::to_string(id) + " closed");
    return true;
}

bool CmdSwitchViewer(const Args& args, std::string* error) {
    int id;
    return NeedInt(args, 1, &id, error) && SwitchToViewer(id, error) && ReportViewer(error);
}

bool CmdViewerTable(const Args& args, std::string* error) {
    TableChoice table;
    return ParseTable(RestAfter(args.Line, 1), &table, error) && SetViewerTable(table, error) && ReportViewer(error);
}

bool CmdViewers(const Args&, std::string*) {
    if (AllViewers().empty()) Say("  no viewers");
    for (const auto& viewer : AllViewers()) {
        Say(std::string(viewer.get() == FocusedViewer() ? "  * " : "    ") + DescribeViewer(*viewer));
    }
    return true;
}

bool CmdViewerMenu(const Args&, std::string* error) {
    SimViewer* viewer;
    if (!NeedViewer(&viewer, error)) return false;
    PluginInfo info;
    if (!CallGetPluginInfo(&info, error)) return false;
    if ((info.Flags & PF_VIEWER) == 0 || info.PluginMenuStringsNumber < 1) {
        Say("  Tarnwick is not in the viewer's plug-in menu (flags " + Hex(info.Flags) + ")");
        return true;
    }
    ClearShownSequence();
    INT_PTR_T result;
    if (!CallOpenPlugin(OPEN_VIEWER, &result, error)) return false;
    Say("  OpenPlugin returned " + std::to_string(static_cast<long long>(result)));
    return FinishViewerQuit(error) && ReportViewer(error);
}

// "bookmark set|set-shift|go N": RightCtrl+N, Ctrl+Shift+N, Ctrl+N.
bool CmdBookmark(const Args& args, std::string* error) {
    int slot;
    if (args.Words.size() < 3 || !NeedInt(args, 2, &slot, error) || slot < 0 || slot >= kBookmarkSlots) {
        *error = "bookmark set|set-shift|go N, N 0..9";
        return false;
    }
    const std::string& how = args.Words[1];
    DWORD_T first = how == "set" ? DWORD_T{KEY_RCTRL0} : how == "set-shift" ? DWORD_T{KEY_CTRLSHIFT0} : how == "go" ? DWORD_T{KEY_CTRL0} : DWORD_T{0};
    if (first == 0) {
        *error = "bookmark set|set-shift|go N";
        return false;
    }
    if (!PressEditorKey(first + static_cast<DWORD_T>(slot), error)) return false;
    Say("  bookmarks " + DescribeBookmarks(*CurrentEditor()));
    return ReportEditor(error);
}

// "table oem|ansi|K|NAME|f8": the current editor's table, as F8 and
// Shift+F8 change it.
bool CmdTable(const Args& args, std::string* error) {
    if (args.Words[1] == "f8") {
        if (!PressEditorKey(kKeyF8, error)) return false;
    } else {
        TableChoice table;
        if (!ParseTable(RestAfter(args.Line, 1), &table, error) || !SetEditorTable(table, error)) return false;
    }
    Say("  table " + DescribeTable(CurrentEditor()->Table));
    return true;
}

bool CmdHostBookmarks(const Args& args, std::string* error) {
    EditorMark marks[kBookmarkSlots];
    if (!ParseBookmarks(RestAfter(args.Line, 2), marks, error)) return false;
    RememberHostBookmarks(Resolve(args.Words[1]), marks);
    return true;
}

bool CmdHostTable(const Args& args, std::string* error) {
    TableChoice table;
    if (!ParseTable(RestAfter(args.Line, 2), &table, error)) return false;
    RememberHostTable(Resolve(args.Words[1]), table);
    return true;
}

// "host-save-position on|off": the host's setting that new editors start
// with in their EOPT_SAVEFILEPOSITION option.
bool CmdHostSavePosition(const Args& args, std::string* error) { return NeedOnOff(args.Words[1], &Host().EditorSavePosition, error); }

// A known code page by its number or name.
bool ParseCodePage(const std::string& text, unsigned* codePage, std::string* error) {
    bool digits = !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    *codePage = digits ? static_cast<unsigned>(std::strtoul(text.c_str(), nullptr, 10)) : hostkit::CodePageNamed(text);
    if (hostkit::CodePageName(*codePage) != nullptr) return true;
    *error = "'" + text + "' is not a code page this host knows (by number or name)";
    return false;
}

bool ParseCodePages(const std::vector<std::string>& words, std::size_t from, std::vector<unsigned>* pages, std::string* error) {
    pages->clear();
    for (std::size_t i = from; i < words.size(); ++i) {
        unsigned page;
        if (!ParseCodePage(words[i], &page, error)) return false;
        pages->push_back(page);
    }
    return true;
}

// The 3.x layer's code pages: "host-tables oem PAGE | ansi PAGE |
// favourites PAGE... | remove PAGE | order PAGE... | list", a page by
// number or name.
bool HostCodePages(const Args& args, std::string* error) {
    hostkit::CodePageSetup& setup = Host().CodePages;
    const std::string& what = args.Words[1];
    std::vector<unsigned> pages;
    if (what != "list" && !ParseCodePages(args.Words, 2, &pages, error)) return false;
    if ((what == "oem" || what == "ansi") && pages.size() == 1) {
        (what == "oem" ? setup.Oem : setup.Ansi) = pages[0];
    } else if (what == "favourites") {
        setup.Favourites = pages;
    } else if (what == "remove" && pages.size() == 1) {
        auto found = std::find(setup.Favourites.begin(), setup.Favourites.end(), pages[0]);
        if (found == setup.Favourites.end()) {
            *error = "code page " + std::to_string(pages[0]) + " is not among the host's favourites";
            return false;
        }
        setup.Favourites.erase(found);
    } else if (what == "order") {
        if (!std::is_permutation(pages.begin(), pages.end(), setup.Favourites.begin(), setup.Favourites.end())) {
            *error = "name every one of the host's " + std::to_string(setup.Favourites.size()) + " favourite code pages once";
            return false;
        }
        setup.Favourites = pages;
    } else if (what != "list") {
        *error = "host-tables oem PAGE | ansi PAGE | favourites PAGE... | remove PAGE | order PAGE... | list";
        return false;
    }
    Say("  oem " + std::to_string(setup.Oem) + " " + hostkit::CodePageName(setup.Oem));
    Say("  ansi " + std::to_string(setup.Ansi) + " " + hostkit::CodePageName(setup.Ansi));
    for (std::size_t i = 0; i < setup.Favourites.size(); ++i) {
        Say("  favourite " + std::to_string(i + 2) + ": " + std::to_string(setup.Favourites[i]) + " " +
            hostkit::CodePageName(setup.Favourites[i]));
    }
    return true;
}

// "host-tables remove NAME | order NAME... | list"; the 3.x layer's code
// pages when the host plays it.
bool CmdHostTables(const Args& args, std::string* error) {
    if (Plays3x()) return HostCodePages(args, error);
    const std::string& what = args.Words[1];
    if (what == "remove" && args.Words.size() == 3) {
        if (!RemoveCodeTable(args.Words[2])) {
            *error = "the host has no table '" + args.Words[2] + "'";
            return false;
        }
    } else if (what == "order") {
        if (!ReorderCodeTables(std::vector<std::string>(args.Words.begin() + 2, args.Words.end()), error)) return false;
    } else if (what != "list") {
        *error = "host-tables remove NAME | order NAME... | list";
        return false;
    }
    for (std::size_t i = 0; i < CodeTables().size(); ++i) Say("  code table " + std::to_string(i) + ": " + CodeTables()[i].Name);
    return true;
}

// ---- Checks ---------------------------------------------------------------

// "expect-viewer OFFSET [LEFT HEX WRAP WORDWRAP TABLE]" ('-' for any).
bool CmdExpectViewer(const Args& args, std::string* error) {
    SimViewer* viewer;
    if (!NeedViewer(&viewer, error)) return false;
    auto onOff = [](bool on) { return std::string(on ? "on" : "off"); };
    const std::string actual[6] = {std::to_string(viewer->FilePos), std::to_string(viewer->LeftPos), onOff(viewer->Hex),
                                   onOff(viewer->Wrap), onOff(viewer->WordWrap), DescribeTable(viewer->Table)};
    const char* names[6] = {"offset", "left", "hex", "wrap", "wordwrap", "table"};
    for (std::size_t i = 1; i < args.Words.size() && i <= 6; ++i) {
        std::string wanted = i == 6 ? RestAfter(args.Line, 6) : args.Words[i];
        if (wanted == "-" || wanted == actual[i - 1]) continue;
        *error = std::string("expected ") + names[i - 1] + " " + wanted + ", but " + DescribeViewer(*viewer);
        return false;
    }
    return true;
}

bool CmdExpectViewers(const Args& args, std::string* error) {
    int wanted;
    if (!NeedInt(args, 1, &wanted, error)) return false;
    if (static_cast<int>(AllViewers().size()) != wanted) {
        *error = "expected " + std::to_string(wanted) + " viewers, there are " + std::to_string(AllViewers().size());
        return false;
    }
    return true;
}

bool CmdExpectBookmarks(const Args& args, std::string* error) {
    SimEditor* editor;
    if (!NeedEditor(&editor, error)) return false;
    EditorMark wanted[kBookmarkSlots];
    if (!ParseBookmarks(RestAfter(args.Line, 1), wanted, error)) return false;
    if (!SameMarks(wanted, editor->Marks)) {
        *error = "expected bookmarks " + RestAfter(args.Line, 1) + ", the editor has " + DescribeBookmarks(*editor);
        return false;
    }
    return true;
}

bool CmdExpectTable(const Args& args, std::string* error) {
    SimEditor* editor;
    if (!NeedEditor(&editor, error)) return false;
    std::string wanted = RestAfter(args.Line, 1);
    if (DescribeTable(editor->Table) != wanted) {
        *error = "expected table " + wanted + ", the editor shows " + DescribeTable(editor->Table);
        return false;
    }
    return true;
}

bool CmdExpectSavePosition(const Args& args, std::string* error) {
    SimEditor* editor;
    bool on;
    if (!NeedEditor(&editor, error) || !NeedOnOff(args.Words[1], &on, error)) return false;
    if (((editor->Options & EOPT_SAVEFILEPOSITION) != 0) != on) {
        *error = std::string("expected the editor's save-file-position option ") + (on ? "on" : "off") + ", Options are " +
                 Hex(editor->Options);
        return false;
    }
    return true;
}

// "expect-cfg-viewer-item PATH [OFFSET LEFT HEX WRAP TABLE]" ('-' for
// any), "expect-cfg-no-viewer-item PATH".
bool CmdExpectCfgViewerItem(const Args& args, std::string* error) {
    std::vector<TextLine> lines;
    if (args.Words[0] == "expect-cfg-no-viewer-item") {
        bool exists;
        ReadCfg(&lines, &exists);
        if (!FindItems(lines, "viewer", Resolve(args.Words[1])).empty()) {
            *error = "expected no viewer item for " + Resolve(args.Words[1]) + " in " + Host().CfgPath;
            ShowFile(Host().CfgPath);
            return false;
        }
        return true;
    }
    const TextItem* item = OneItem(args, "viewer", &lines, error);
    if (item == nullptr) return false;
    const char* names[5] = {"offset", "left", "hex", "wrap", "table"};
    for (std::size_t i = 2; i < args.Words.size() && i < 7; ++i) {
        std::string wanted = i == 6 ? RestAfter(args.Line, 6) : args.Words[i];
        if (wanted == "-") continue;
        const std::string* value = item->Find(names[i - 2]);
        if (value == nullptr || *value != wanted) {
            *error = "expected " + std::string(names[i - 2]) + "=\"" + wanted + "\" in the viewer item for " + Resolve(args.Words[1]) +
                     ", found " + (value == nullptr ? std::string("none") : "\"" + *value + "\"");
            ShowFile(Host().CfgPath);
            return false;
        }
    }
    return true;
}

// "expect-cfg-bookmarks PATH N:LINE,CURSOR,SCREEN,LEFT ...|none": the
// editor item's set bookmarks (no attribute counts as none).
bool CmdExpectCfgBookmarks(const Args& args, std::string* error) {
    std::vector<TextLine> lines;
    const TextItem* item = OneItem(args, "editor", &lines, error);
    if (item == nullptr) return false;
    EditorMark wanted[kBookmarkSlots], stored[kBookmarkSlots];
    if (!ParseBookmarks(RestAfter(args.Line, 2), wanted, error)) return false;
    const std::string* value = item->Find("bookmarks");
    std::string text = value == nullptr || value->empty() ? "none" : *value;
    std::string problem;
    if (!ParseBookmarks(text, stored, &problem) || !SameMarks(wanted, stored)) {
        *error = "expected bookmarks " + RestAfter(args.Line, 2) + " in the item for " + Resolve(args.Words[1]) + ", found \"" + text + "\"";
        ShowFile(Host().CfgPath);
        return false;
    }
    return true;
}

// "expect-cfg-table PATH oem|ansi|K NAME|none": the editor item's table.
bool CmdExpectCfgTable(const Args& args, std::string* error) {
    std::vector<TextLine> lines;
    const TextItem* item = OneItem(args, "editor", &lines, error);
    if (item == nullptr) return false;
    std::string wanted = RestAfter(args.Line, 2);
    const std::string* value = item->Find("table");
    std::string found = value == nullptr ? "none" : *value;
    // The 3.x layer's table names hold a box-drawing bar (OEM 0xB3): a
    // script writes it as '|'.
    std::replace(found.begin(), found.end(), '\xB3', '|');
    if (found != wanted) {
        *error = "expected table \"" + wanted + "\" in the item for " + Resolve(args.Words[1]) + ", found \"" + found + "\"";
        ShowFile(Host().CfgPath);
        return false;
    }
    return true;
}

}  // namespace twhost
