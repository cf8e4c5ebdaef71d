#include "plugin/host_comparison.h"

namespace tarnwick {
namespace plugin {

void HostComparison::Use(const FarStandardFunctions* functions) {
    functions_ = functions;
    fold_.Forget();
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
    return fold_.Of(*this);
}

}  // namespace plugin
}  // namespace tarnwick
