#include "support/text.h"

namespace tarnwick {

namespace {

TextServices g_services = {nullptr, nullptr};

// The byte each byte folds to for CaseHash; built by SetTextServices.
struct FoldTable {
    unsigned char Map[256];

    // The ASCII fallback's folding: letters to lower case, every other
    // byte to itself.
    constexpr FoldTable() : Map() {
        for (int c = 0; c < 256; ++c) Map[c] = static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
};

FoldTable g_fold;

unsigned char FoldRoot(unsigned char* parent, unsigned char c) {
    while (parent[c] != c) c = parent[c];
    return c;
}

// Folds every byte to the smallest byte of its class under the installed
// comparison: the bytes linked by pairs that compare equal as one-character
// strings. Classes are joined as a union-find forest, so a comparison that
// is not transitive still gives one class to every pair it calls equal.
void BuildFoldTable() {
    unsigned char parent[256];
    for (int c = 0; c < 256; ++c) parent[c] = static_cast<unsigned char>(c);
    for (int c = 1; c < 256; ++c) {
        char one[2] = {static_cast<char>(c), '\0'};
        for (int d = 1; d < c; ++d) {
            unsigned char rootC = FoldRoot(parent, static_cast<unsigned char>(c));
            unsigned char rootD = FoldRoot(parent, static_cast<unsigned char>(d));
            if (rootC == rootD) continue;
            char other[2] = {static_cast<char>(d), '\0'};
            if (CompareNoCase(one, other) != 0) continue;
            // The smaller root stays the root, so a class folds to its smallest byte.
            if (rootC < rootD) parent[rootD] = rootC; else parent[rootC] = rootD;
        }
    }
    for (int c = 0; c < 256; ++c) g_fold.Map[c] = FoldRoot(parent, static_cast<unsigned char>(c));
}

unsigned char FoldAscii(unsigned char c) { return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c; }

}  // namespace

std::size_t StrLength(const char* text) {
    if (text == nullptr) return 0;
    std::size_t n = 0;
    while (text[n] != '\0') ++n;
    return n;
}

bool CopyBounded(char* destination, const char* source, std::size_t size) {
    if (size == 0) return source == nullptr || source[0] == '\0';
    std::size_t i = 0;
    if (source != nullptr) {
        for (; i + 1 < size && source[i] != '\0'; ++i) destination[i] = source[i];
    }
    destination[i] = '\0';
    return source == nullptr || source[i] == '\0';
}

bool AppendBounded(char* destination, const char* source, std::size_t size) {
    std::size_t used = 0;
    while (used < size && destination[used] != '\0') ++used;
    if (used == size) {
        // No terminator inside the buffer: terminate it at its last byte.
        if (size > 0) destination[size - 1] = '\0';
        return source == nullptr || source[0] == '\0';
    }
    return CopyBounded(destination + used, source, size - used);
}

void SetTextServices(const TextServices* services) {
    if (services == nullptr) {
        g_services = TextServices{nullptr, nullptr};
    } else {
        g_services = *services;
    }
    if (g_services.CompareNoCase == nullptr) {
        g_fold = FoldTable();
    } else {
        BuildFoldTable();
    }
}

int AsciiCompareNoCase(const char* a, const char* b) {
    const unsigned char* x = reinterpret_cast<const unsigned char*>(a ? a : "");
    const unsigned char* y = reinterpret_cast<const unsigned char*>(b ? b : "");
    for (;; ++x, ++y) {
        unsigned char cx = FoldAscii(*x), cy = FoldAscii(*y);
        if (cx != cy) return cx < cy ? -1 : 1;
        if (cx == 0) return 0;
    }
}

int AsciiCompareNoCaseN(const char* a, const char* b, int count) {
    const unsigned char* x = reinterpret_cast<const unsigned char*>(a ? a : "");
    const unsigned char* y = reinterpret_cast<const unsigned char*>(b ? b : "");
    for (int i = 0; i < count; ++i, ++x, ++y) {
        unsigned char cx = FoldAscii(*x), cy = FoldAscii(*y);
        if (cx != cy) return cx < cy ? -1 : 1;
        if (cx == 0) return 0;
    }
    return 0;
}

int CompareNoCase(const char* a, const char* b) {
    if (g_services.CompareNoCase != nullptr) return g_services.CompareNoCase(a ? a : "", b ? b : "");
    return AsciiCompareNoCase(a, b);
}

int CompareNoCaseN(const char* a, const char* b, int count) {
    if (g_services.CompareNoCaseN != nullptr) return g_services.CompareNoCaseN(a ? a : "", b ? b : "", count);
    return AsciiCompareNoCaseN(a, b, count);
}

std::uint32_t FoldedHash(const char* text) {
    // FNV-1a over the folded bytes.
    std::uint32_t hash = 2166136261u;
    if (text == nullptr) return hash;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != 0; ++p) {
        unsigned char c = *p >= 0x80 ? 0x80 : FoldAscii(*p);
        hash = (hash ^ c) * 16777619u;
    }
    return hash;
}

std::uint32_t CaseHash(const char* text) {
    // FNV-1a over the folded bytes.
    std::uint32_t hash = 2166136261u;
    if (text == nullptr) return hash;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != 0; ++p) {
        hash = (hash ^ g_fold.Map[*p]) * 16777619u;
    }
    return hash;
}

int FormatInt(int value, char* buffer) {
    // Work in unsigned arithmetic so that INT_MIN needs no special case.
    unsigned int magnitude = value < 0 ? 0u - static_cast<unsigned int>(value) : static_cast<unsigned int>(value);
    char digits[10];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    int n = 0;
    if (value < 0) buffer[n++] = '-';
    while (count > 0) buffer[n++] = digits[--count];
    buffer[n] = '\0';
    return n;
}

}  // namespace tarnwick
