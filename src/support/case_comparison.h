// The comparison of texts ignoring case that paths, element names and
// everything else the plug-in matches by name follow.
//
// A CaseComparison is an object handed to whatever compares: the position
// file gets one when it is opened, the markup parser and writer with each
// call. The base class compares ASCII letters only (AsciiComparison(), for
// programs without a host); the plug-in derives one from the host's
// LStricmp family, so that letters of the host's code page (Cyrillic in
// 866, say) compare the way the host compares them.
#pragma once

#include <cstdint>

namespace tarnwick {

class CaseComparison {
public:
    constexpr CaseComparison() = default;
    CaseComparison(const CaseComparison&) = default;
    CaseComparison& operator=(const CaseComparison&) = default;

    // The sign of strcmp, ignoring case; null counts as "". The base folds
    // ASCII letters only.
    virtual int Compare(const char* a, const char* b) const;
    // The same over at most `count` characters.
    virtual int CompareN(const char* a, const char* b, int count) const;

    // True when Compare(a, b) is 0. Answered without Compare when the texts
    // hold the same bytes, or when they differ in length, in an ASCII
    // letter beyond case, or in a byte below 0x80 against one above: texts
    // that compare equal ignoring case under any single-byte code page
    // never do (the rule FoldedHash rests on). Only texts that may be equal
    // are passed to Compare.
    bool Equal(const char* a, const char* b) const;

    // A hash that is equal for any two texts that compare equal: every byte
    // is folded through Fold(). Texts that compare unequal, bytes above 0x7F
    // included, rarely collide.
    std::uint32_t Hash(const char* text) const;

protected:
    ~CaseComparison() = default;

    // The byte each byte folds to for Hash: bytes that compare equal as
    // one-character texts fold alike. The base folds ASCII letters to lower
    // case and leaves every other byte; a derived comparison that compares
    // more bytes alike returns its own map (BuildFoldMap).
    virtual const unsigned char* FoldMap() const;
};

// The comparison of ASCII letters only: one constant object.
const CaseComparison& AsciiComparison();

// Fills `map` for `comparison`: every byte folds to the smallest byte of its
// class, the bytes that compare equal to it as one-character texts. About
// 2,000 calls of Compare.
void BuildFoldMap(const CaseComparison& comparison, unsigned char map[256]);

// The fold map of a derived comparison, built when a hash first needs it,
// so that making or switching the comparison calls no Compare.
class LazyFoldMap {
public:
    const unsigned char* Of(const CaseComparison& comparison) const;
    // The comparison changed: the next Of builds the map anew.
    void Forget() { built_ = false; }

private:
    mutable bool built_ = false;
    mutable unsigned char map_[256] = {};
};

}  // namespace tarnwick
