// The one current editor of a simple stand-in host (the tests' fake host,
// the benchmarks' null host): what its EditorControl service reports for
// ECTL_GETINFO and moves for ECTL_SETPOSITION. The substitute host's
// editors hold real lines and tabs and report more (core/editors.h).
#pragma once

#include <string>

#include "plugin/host_abi.h"

namespace hostkit {

struct OneEditor {
    int EditorID;
    std::string FileName;
    bool NoFileName;  // ECTL_GETINFO reports a null FileName
    int CurLine, CurPos, TopScreenLine, LeftPos, Overtype;
    tarnwick::DWORD_T CurState;
};

// ECTL_GETINFO: fills `info` completely, zero for what the editor does not
// hold; without tabs, CurTabPos is CurPos. `info` points into `editor`.
void ReportEditor(const OneEditor& editor, tarnwick::EditorInfo* info);
// ECTL_SETPOSITION: takes the line, column, top line, left column and
// overtype of `position` as they are.
void MoveEditor(OneEditor* editor, const tarnwick::EditorSetPosition& position);

}  // namespace hostkit
