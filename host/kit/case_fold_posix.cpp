// Case folding natively: ASCII letters only. Native file names are UTF-8,
// whose bytes the code page 866 rules of Windows would corrupt.
#include "kit/standard_functions.h"

namespace hostkit {

char FoldCase(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    if (u >= 'A' && u <= 'Z') return static_cast<char>(u + ('a' - 'A'));
    return c;
}

}  // namespace hostkit
