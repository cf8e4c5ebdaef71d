#include "support/text.h"

#include <cstring>

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

// FoldedHash's folding: ASCII letters to lower case, every byte of 0x80
// and above to 0x80.
struct AsciiFoldTable {
    unsigned char Map[256];

    constexpr AsciiFoldTable() : Map() {
        for (int c = 0; c < 256; ++c) {
            Map[c] = static_cast<unsigned char>(c >= 0x80 ? 0x80 : (c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c));
        }
    }
};

constexpr AsciiFoldTable kAsciiFold;

// True when the table must be built again from the installed comparison.
bool g_foldStale = false;

int CompareBytes(unsigned char a, unsigned char b) {
    char x[2] = {static_cast<char>(a), '\0'};
    char y[2] = {static_cast<char>(b), '\0'};
    return CompareNoCase(x, y);
}

// Folds every byte to the smallest byte of its class under the installed
// comparison. The 255 non-zero bytes are sorted with that comparison (a
// merge sort: about 2,000 calls, not the 32,000 of comparing every pair),
// so that bytes comparing equal stand side by side; each run of neighbours
// that compare equal is one class.
void BuildFoldTable() {
    unsigned char order[255];
    unsigned char spare[255];
    for (int i = 0; i < 255; ++i) order[i] = static_cast<unsigned char>(i + 1);
    for (int width = 1; width < 255; width *= 2) {
        for (int low = 0; low < 255; low += 2 * width) {
            int middle = low + width < 255 ? low + width : 255;
            int high = low + 2 * width < 255 ? low + 2 * width : 255;
            int i = low, j = middle, k = low;
            while (i < middle && j < high) spare[k++] = CompareBytes(order[j], order[i]) < 0 ? order[j++] : order[i++];
            while (i < middle) spare[k++] = order[i++];
            while (j < high) spare[k++] = order[j++];
        }
        for (int i = 0; i < 255; ++i) order[i] = spare[i];
    }
    g_fold.Map[0] = 0;
    int start = 0;
    while (start < 255) {
        int end = start + 1;
        unsigned char smallest = order[start];
        while (end < 255 && CompareBytes(order[end - 1], order[end]) == 0) {
            if (order[end] < smallest) smallest = order[end];
            ++end;
        }
        for (int i = start; i < end; ++i) g_fold.Map[order[i]] = smallest;
        start = end;
    }
    g_foldStale = false;
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
    // The table for an installed comparison is built when a hash first
    // needs it, so that setting the services calls no comparison.
    g_fold = FoldTable();
    g_foldStale = g_services.CompareNoCase != nullptr;
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

namespace {

// True when the two texts hold the same bytes, which every comparison
// ignoring case takes as equal: that answer needs no call into the host,
// and most comparisons of the store (attribute names, paths looked up)
// are of such texts.
bool SameBytes(const char* a, const char* b) {
    if (a == b) return true;
    for (;; ++a, ++b) {
        if (*a != *b) return false;
        if (*a == '\0') return true;
    }
}

}  // namespace

int CompareNoCase(const char* a, const char* b) {
    const char* x = a ? a : "";
    const char* y = b ? b : "";
    if (SameBytes(x, y)) return 0;
    if (g_services.CompareNoCase != nullptr) return g_services.CompareNoCase(x, y);
    return AsciiCompareNoCase(x, y);
}

bool EqualNoCase(const char* a, const char* b) {
    const unsigned char* x = reinterpret_cast<const unsigned char*>(a ? a : "");
    const unsigned char* y = reinterpret_cast<const unsigned char*>(b ? b : "");
    if (x == y || std::strcmp(reinterpret_cast<const char*>(x), reinterpret_cast<const char*>(y)) == 0) return true;
    bool sameBytes = true;
    for (;; ++x, ++y) {
        unsigned char cx = *x, cy = *y;
        if (cx == cy) {
            if (cx == 0) break;
            continue;
        }
        if (cx == 0 || cy == 0) return false;        // lengths differ
        if ((cx >= 0x80) != (cy >= 0x80)) return false;  // ASCII against a byte above it
        if (cx < 0x80 && FoldAscii(cx) != FoldAscii(cy)) return false;
        sameBytes = false;
    }
    return sameBytes || CompareNoCase(a, b) == 0;
}

int CompareNoCaseN(const char* a, const char* b, int count) {
    if (g_services.CompareNoCaseN != nullptr) return g_services.CompareNoCaseN(a ? a : "", b ? b : "", count);
    return AsciiCompareNoCaseN(a, b, count);
}

std::uint32_t FoldedHash(const char* text) {
    // FNV-1a over the folded bytes in four lanes (byte i goes to lane i % 4),
    // joined at the end: four short chains of multiplications instead of
    // one long one, so that hashing the paths of a large file runs at the
    // speed of reading them.
    const std::uint32_t prime = 16777619u;
    std::uint32_t lane[4] = {2166136261u, 2166136261u, 2166136261u, 2166136261u};
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text != nullptr ? text : "");
    std::uint32_t length = 0;
    for (;;) {
        int k = 0;
        while (k < 4 && p[k] != 0) {
            lane[k] = (lane[k] ^ kAsciiFold.Map[p[k]]) * prime;
            ++k;
        }
        length += static_cast<std::uint32_t>(k);
        if (k < 4) break;
        p += 4;
    }
    std::uint32_t hash = length;
    for (int i = 0; i < 4; ++i) hash = (hash ^ lane[i]) * prime;
    return hash;
}

std::uint32_t CaseHash(const char* text) {
    // FNV-1a over the folded bytes.
    if (g_foldStale) BuildFoldTable();
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
