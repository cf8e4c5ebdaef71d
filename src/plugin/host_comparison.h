// The case comparison of the host's code page: the host's LStricmp and
// LStrnicmp from its standard-function table, so that paths and names
// compare the way the host compares them (Cyrillic letters in 866, say).
// Without a table it compares ASCII letters only, as the base does.
#pragma once

#include "plugin/host_abi.h"
#include "support/case_comparison.h"

namespace tarnwick {
namespace plugin {

class HostComparison final : public CaseComparison {
public:
    constexpr HostComparison() = default;

    // Compares with the functions of `functions` from now on (null: ASCII
    // letters only). The table must stay in place while it is used.
    void Use(const FarStandardFunctions* functions);

    int Compare(const char* a, const char* b) const override;
    int CompareN(const char* a, const char* b, int count) const override;

protected:
    // Built from the host's comparison when a hash first needs it, so that
    // taking the host's table calls no comparison.
    const unsigned char* FoldMap() const override;

private:
    const FarStandardFunctions* functions_ = nullptr;
    LazyFoldMap fold_;
};

}  // namespace plugin
}  // namespace tarnwick
