// What a host has open, as the position file asks it (store::OpenFiles):
// a small set of (kind, path), compared ignoring ASCII case. A (kind, path) the store
// tells the host to forget leaves the set, every spelling of it. Header-only, so
// that the fuzz targets and the benchmarks can use it without the test
// support library.
//
//   OpenPaths open;
//   open.Open("C:\\a.txt");
//   PositionFile* file = OpenPositionFile({env, &AsciiComparison(), open.Files(), 0});
#pragma once

#include <string>
#include <vector>

#include "store/position_file.h"
#include "support/case_comparison.h"
#include "support/path_filter.h"
#include "support/text.h"

namespace tarnwick {
namespace testing_support {

class OpenPaths {
public:
    OpenPaths() : files_{IsOpen, Forget, this} {}
    OpenPaths(const OpenPaths&) = delete;
    OpenPaths& operator=(const OpenPaths&) = delete;

    // A file of `path` is open here in a window of `kind` (once more, when
    // it was already).
    void Open(const std::string& path, store::ItemKind kind = store::ItemKind::Editor) {
        paths_.push_back(Entry{kind, path});
        AddToPathFilter(filter_, FoldedHash(path.c_str()));
    }
    // True when a file of `path` is open here in a window of `kind`.
    bool Has(const std::string& path, store::ItemKind kind = store::ItemKind::Editor) const {
        return Find(kind, path.c_str()) != paths_.end();
    }
    // The callbacks to open the position file with; valid while this lives.
    const store::OpenFiles* Files() const { return &files_; }

private:
    struct Entry {
        store::ItemKind Kind;
        std::string Path;
    };
    std::vector<Entry>::const_iterator Find(store::ItemKind kind, const char* path) const {
        for (auto at = paths_.begin(); at != paths_.end(); ++at) {
            if (at->Kind == kind && AsciiComparison().Equal(at->Path.c_str(), path)) return at;
        }
        return paths_.end();
    }
    static bool IsOpen(void* context, store::ItemKind kind, const char* path, std::uint32_t pathHash) {
        const OpenPaths* open = static_cast<const OpenPaths*>(context);
        // As a host answers it: most paths are ruled out by their hash.
        if (!PathFilterMayHold(open->filter_, pathHash)) return false;
        return open->Find(kind, path) != open->paths_.end();
    }
    static void Forget(void* context, store::ItemKind kind, const char* path) {
        OpenPaths* open = static_cast<OpenPaths*>(context);
        for (auto at = open->Find(kind, path); at != open->paths_.end(); at = open->Find(kind, path)) {
            open->paths_.erase(at);
        }
    }

    std::vector<Entry> paths_;
    PathFilter filter_{};  // paths forgotten since keep their bits: a bit too many asks no more than a walk
    store::OpenFiles files_;
};

}  // namespace testing_support
}  // namespace tarnwick
