#include "core/oem_names.h"

#include "core/host_state.h"

namespace twhost {
namespace {

// Code page 437's upper half: the character of each byte 0x80 to 0xFF.
constexpr char32_t kUpperHalf[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, 0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192,
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4, 0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229,
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248, 0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,
};

// The base letter of each character U+00C0 to U+017F ('?' where there is
// none), for the characters the code page lacks.
constexpr char kBaseLetters[] =
    "AAAAAA?CEEEEIIIIDNOOOOO?OUUUUY??"
    "aaaaaa?ceeeeiiiidnooooo?ouuuuy?y"
    "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIi??JjKk?LlLlLlLlLlNnNnNn?"
    "??OoOoOo??RrRrRrSsSsSsSsTtTtTtUuUuUuUuUuUuWwYyYZzZzZz?";
constexpr char32_t kFirstWithBase = 0x00C0;
static_assert(sizeof kBaseLetters - 1 == 0x180 - kFirstWithBase, "one base letter per character U+00C0 to U+017F");

char OemByteOf(char32_t character) {
    if (character < 0x80) return static_cast<char>(character);
    for (int i = 0; i < 128; ++i) {
        if (kUpperHalf[i] == character) return static_cast<char>(0x80 + i);
    }
    if (character >= kFirstWithBase && character < 0x180) return kBaseLetters[character - kFirstWithBase];
    return '?';
}

// The length of the UTF-8 sequence at `text` (at most `left` bytes) and its
// character, or 0 when the bytes there are not one.
int DecodeOne(const unsigned char* text, std::size_t left, char32_t* character) {
    unsigned char lead = text[0];
    int length = lead >= 0xF0 && lead < 0xF5 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 && lead < 0xE0 ? 2 : 0;
    if (length == 0 || static_cast<std::size_t>(length) > left) return 0;
    char32_t value = lead & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        if ((text[i] & 0xC0) != 0x80) return 0;
        value = (value << 6) | (text[i] & 0x3F);
    }
    // Overlong forms and surrogates are not characters.
    if ((length == 3 && value < 0x800) || (length == 4 && (value < 0x10000 || value > 0x10FFFF)) ||
        (value >= 0xD800 && value <= 0xDFFF)) {
        return 0;
    }
    *character = value;
    return length;
}

}  // namespace

std::string OemNameOf(const std::string& name) {
    std::string converted;
    const unsigned char* text = reinterpret_cast<const unsigned char*>(name.data());
    std::size_t at = 0;
    while (at < name.size()) {
        char32_t character = text[at];
        int length = character < 0x80 ? 1 : DecodeOne(text + at, name.size() - at, &character);
        if (length == 0) {
            converted += name[at];
            ++at;
            continue;
        }
        converted += OemByteOf(character);
        at += static_cast<std::size_t>(length);
    }
    return converted;
}

std::u16string WideNameOf(const std::string& name) {
    std::u16string wide;
    const unsigned char* text = reinterpret_cast<const unsigned char*>(name.data());
    std::size_t at = 0;
    while (at < name.size()) {
        char32_t character = text[at];
        int length = character < 0x80 ? 1 : DecodeOne(text + at, name.size() - at, &character);
        if (length == 0) length = 1;
        if (character >= 0x10000) {
            character -= 0x10000;
            wide += static_cast<char16_t>(0xD800 + (character >> 10));
            wide += static_cast<char16_t>(0xDC00 + (character & 0x3FF));
        } else {
            wide += static_cast<char16_t>(character);
        }
        at += static_cast<std::size_t>(length);
    }
    return wide;
}

std::string NameForPlugin(const std::string& name) { return Plays3x() ? OemNameOf(name) : name; }

}  // namespace twhost
