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
    int TotalLines = 1000000;  // the file's length, for the bookmarks (Lines.size() once Lines is set)
    // The editor's text, when a stand-in gives it one: each line without its
    // end of line, and the ends of line ("\r\n", "\n", or "" for a last
    // line without one). Empty: ECTL_GETSTRING answers FALSE.
    std::vector<std::string> Lines;
    std::vector<std::string> Eols;
    // ECTL_GETSTRING walks the host's list of lines as the 1.75 host does:
    // from the cursor's line when the line asked for lies between half the
    // cursor's line and the end, else from the first line; every step is
    // counted here.
    long long WalkSteps = 0;
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

// The steps the 1.75 host walks through its list of lines to reach line
// `number` with the cursor on line `cursor`: from the cursor's line when
// `number` lies below it, or between half the cursor's line and the
// cursor's line; from the first line otherwise.
long long LineWalk(int cursor, int number);

// Sets the editor's text from a file's bytes (lines end in LF or CR LF).
void SetEditorText(OneEditor* editor, const std::string& bytes);

// The host's other editor commands on `editor`: ECTL_GETSTRING,
// ECTL_GETBOOKMARKS,
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
