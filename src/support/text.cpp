#include "support/text.h"

#include <cstring>

namespace tarnwick {

namespace {

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

int FormatUnsigned(std::uint32_t value, char* buffer) {
    char digits[10];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    int n = 0;
    while (count > 0) buffer[n++] = digits[--count];
    buffer[n] = '\0';
    return n;
}

int FormatInt(int value, char* buffer) {
    // Work in unsigned arithmetic so that INT_MIN needs no special case.
    const std::uint32_t magnitude = value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
    if (value >= 0) return FormatUnsigned(magnitude, buffer);
    buffer[0] = '-';
    return 1 + FormatUnsigned(magnitude, buffer + 1);
}

}  // namespace tarnwick
