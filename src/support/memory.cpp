#include "support/memory.h"

namespace tarnwick {

void CopyBytes(void* destination, const void* source, std::size_t count) {
    unsigned char* to = static_cast<unsigned char*>(destination);
    const unsigned char* from = static_cast<const unsigned char*>(source);
    for (std::size_t i = 0; i < count; ++i) to[i] = from[i];
}

void FillBytes(void* destination, unsigned char value, std::size_t count) {
    unsigned char* to = static_cast<unsigned char*>(destination);
    for (std::size_t i = 0; i < count; ++i) to[i] = value;
}

}  // namespace tarnwick
