#include "plugin/module.h"

#include "support/text.h"

namespace tarnwick {
namespace plugin {

namespace {

bool IsOpenHere(void* context, store::ItemKind kind, const char* path, std::uint32_t pathHash) {
    const Module& m = *static_cast<const Module*>(context);
    return ContainsPath(m.Editors, kind, path, pathHash);
}

// Another host removed the item: the editors of that path are followed no
// more, so that their close does not bring the item back.
void ForgetPath(void* context, store::ItemKind kind, const char* path) {
    Module& m = *static_cast<Module*>(context);
    if (!ContainsPath(m.Editors, kind, path, FoldedHash(path))) return;
    EditorRecord key = PathKey(path, kind);
    while (FetchRecordByPath(m.Editors, &key)) RemoveRecord(m.Editors, key);
}

}  // namespace

void PrepareModule(Module& m) {
    if (m.Env == nullptr) m.Env = platform::Env::Default();
    m.Editors.Heap = m.Env;
    m.Editors.Comparison = &m.Comparison;
    m.OpenHere = store::OpenFiles{IsOpenHere, ForgetPath, &m};
}

store::PositionFile* OpenPositions(Module& m) {
    if (m.Positions == nullptr) {
        PrepareModule(m);
        m.Positions = store::OpenPositionFile(store::PositionFileSetup{m.Env, &m.Comparison, &m.OpenHere, 0});
    }
    return m.Positions;
}

bool LoadPositions(Module& m) {
    m.PositionsCurrent = store::Load(OpenPositions(m), m.CurrentSettings.CfgFile);
    return m.PositionsCurrent;
}

bool SavePositions(Module& m, bool reloadFirst) {
    if (!reloadFirst && !m.PositionsCurrent) return false;
    bool saved = store::Save(m.Positions, m.CurrentSettings.CfgFile, reloadFirst);
    // A save after a reload leaves the document current when it got as far as
    // writing; a refused reload leaves it as it was.
    if (reloadFirst && saved) m.PositionsCurrent = true;
    return saved;
}

bool StoreItem(Module& m, store::ItemKind kind, const char* path, const store::StoredPlace& place) {
    if (store::ReadItem(m.Positions, kind, path, nullptr)) return store::WriteItem(m.Positions, kind, path, place);
    return store::AddItem(m.Positions, kind, path, place);
}

bool UsableFileName(const char* fileName) {
    return fileName != nullptr && StrLength(fileName) < static_cast<std::size_t>(kPathSize);
}

bool FileNameToFollow(Module& m, const char* fileName) {
    if (!UsableFileName(fileName)) return false;
    if (m.Line != HostLine::Far3Layer) return true;
    // Wildcards are in no file's name: the conversion put them there.
    for (const char* c = fileName; *c != '\0'; ++c) {
        if (*c == '?' || *c == '*') return false;
    }
    return m.Env->NamesOneFile(fileName);
}

void ReleaseStores(Module& m) {
    DestroyAllRecords(m.Editors);
    store::ClosePositionFile(m.Positions);
    m.Positions = nullptr;
    m.PositionsCurrent = false;
}

}  // namespace plugin
}  // namespace tarnwick
