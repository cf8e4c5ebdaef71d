// The substitute host's own logic, tested without a plug-in: the state is
// emptied before each test, and the editors and viewers are put in place
// directly, as the host's actions would leave them, so that no event reaches
// a module.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/editors.h"
#include "core/viewers.h"

namespace hosttest {

class HostStateTest : public ::testing::Test {
protected:
    // The 1.75 host with no editors or viewers, the default code tables and
    // code pages, an 80 x 23 window
    // whose front end sends EE_REDRAW itself (so an edit calls nothing).
    void SetUp() override;
    void TearDown() override;

    // A viewer of `bytes` at offset 0, the current one with the focus.
    twhost::SimViewer& AddViewer(const std::string& bytes);
    // An editor of `lines` with the cursor at the top, the current one.
    twhost::SimEditor& AddEditor(const std::vector<std::string>& lines);
};

}  // namespace hosttest
