// Case folding as the host performs it on Windows: ASCII letters and the
// Cyrillic capitals of code page 866, the host's OEM code page.
#include "kit/standard_functions.h"

namespace hostkit {

char FoldCase(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    if (u >= 'A' && u <= 'Z') return static_cast<char>(u + ('a' - 'A'));
    if (u >= 0x80 && u <= 0x8F) return static_cast<char>(u + 0x20);
    if (u >= 0x90 && u <= 0x9F) return static_cast<char>(u + 0x50);
    if (u >= 0xF0 && u <= 0xF7 && (u & 1) == 0) return static_cast<char>(u + 1);
    return c;
}

}  // namespace hostkit
