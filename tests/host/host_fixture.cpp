#include "host_fixture.h"

#include <memory>

#include "core/host_state.h"

using namespace twhost;

namespace hosttest {

void HostStateTest::SetUp() {
    DropAllEditors();
    DropAllViewers();
    Host().Editors.Exiting = false;
    Host().Viewers.Exiting = false;
    Host().Tables = DefaultCodeTables();
    Host().CodePages = DefaultCodePages();
    Host().Options.Line = HostLine::Far175;
    SetEditorWindow(kEditorWidth, kEditorHeight, true);
}

void HostStateTest::TearDown() {
    DropAllEditors();
    DropAllViewers();
}

SimViewer& HostStateTest::AddViewer(const std::string& bytes) {
    auto viewer = std::make_unique<SimViewer>();
    viewer->Id = Host().Viewers.NextId++;
    viewer->FileName = "/work/a.txt";
    viewer->Bytes = bytes;
    SimViewer& added = *viewer;
    Host().Viewers.Open.push_back(std::move(viewer));
    Host().Viewers.CurrentId = added.Id;
    Host().Viewers.OnTop = true;
    return added;
}

SimEditor& HostStateTest::AddEditor(const std::vector<std::string>& lines) {
    auto editor = std::make_unique<SimEditor>();
    editor->Id = Host().Editors.NextId++;
    editor->FileName = "/work/b.txt";
    editor->Lines = lines;
    SimEditor& added = *editor;
    Host().Editors.Open.push_back(std::move(editor));
    Host().Editors.Focus.push_back(added.Id);
    Host().Viewers.OnTop = false;
    return added;
}

}  // namespace hosttest
