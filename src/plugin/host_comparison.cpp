#include "plugin/host_comparison.h"

namespace tarnwick {
namespace plugin {

void HostComparison::Use(const FarStandardFunctions* functions) {
    functions_ = functions;
    foldBuilt_ = false;
}

int HostComparison::Compare(const char* a, const char* b) const {
    if (functions_ == nullptr) return CaseComparison::Compare(a, b);
    return functions_->LStricmp(a != nullptr ? a : "", b != nullptr ? b : "");
}

int HostComparison::CompareN(const char* a, const char* b, int count) const {
    if (functions_ == nullptr) return CaseComparison::CompareN(a, b, count);
    return functions_->LStrnicmp(a != nullptr ? a : "", b != nullptr ? b : "", count);
}

const unsigned char* HostComparison::FoldMap() const {
    if (functions_ == nullptr) return CaseComparison::FoldMap();
    if (!foldBuilt_) {
        BuildFoldMap(*this, fold_);
        foldBuilt_ = true;
    }
    return fold_;
}

}  // namespace plugin
}  // namespace tarnwick
