// The one current editor of a simple stand-in host (the tests' fake host,
// the benchmarks' null host): what its EditorControl service reports and
// does. The substitute host's editors hold real lines and tabs and report
// more (core/editors.h).
#pragma once

#include <string>
#include <vector>

#include "plugin/host_abi.h"

namespace hostkit {

struct OneEditor {
    int EditorID;
    std::string FileName;
    bool NoFileName;  // ECTL_GETINFO reports a null FileName
    int CurLine, CurPos, TopScreenLine, LeftPos, Overtype;
    tarnwick::DWORD_T CurState;
    int TotalLines = 1000000;  // the file's length, for the bookmarks
    // The table: AnsiMode 1 for ANSI, else TableNum k for code table k or
    // -1 for OEM; Options holds EOPT_SAVEFILEPOSITION.
    int AnsiMode = 0;
    int TableNum = -1;
    int Options = 0;
    // The numbered bookmarks: Line -1 is unset.
    struct Mark {
        int Line = -1, Cursor = -1, ScreenLine = -1, LeftPos = -1;
    };
    Mark Marks[tarnwick::kBookmarkSlots];
};

// The host's code tables, by number: their names (CharTable).
using CodeTables = std::vector<std::string>;

// ECTL_GETINFO: fills `info` completely, zero for what the editor does not
// hold; without tabs, CurTabPos is CurPos. `info` points into `editor`.
void ReportEditor(const OneEditor& editor, tarnwick::EditorInfo* info);
// ECTL_SETPOSITION: takes the line, column, top line and left column of
// `position` as they are, and overtype unless it is negative.
void MoveEditor(OneEditor* editor, const tarnwick::EditorSetPosition& position);

// The host's other editor commands on `editor`: ECTL_GETBOOKMARKS,
// ECTL_PROCESSKEY (the set-bookmark keys; others do nothing) and
// ECTL_SETPARAM (ESPT_CHARTABLE, falling through into
// ESPT_SAVEFILEPOSITION as the 1.75 host does, and ESPT_SAVEFILEPOSITION).
// `*known` is false for a command it does not offer. Returns the host's
// answer.
int ControlEditor(OneEditor* editor, const CodeTables& tables, int command, void* param, bool* known);

// The CharTable service over `tables`: command k fills a CharTableSet
// (identity tables, the name) up to `bufferSize` bytes and answers k, or
// fills the OEM table and answers -1 when there is no table k; FCT_DETECT
// detects nothing.
int FillCharTable(const CodeTables& tables, int command, char* buffer, int bufferSize);

}  // namespace hostkit
