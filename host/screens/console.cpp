#include "console.h"

#include <cstdio>
#include <cstdlib>

namespace twhost {
namespace {

bool g_codePage866 = false;
void (*g_cleanup)(bool) = nullptr;

#if !defined(_WIN32)
// Unicode code points of the code page 866 bytes 0x80 to 0xFF.
const unsigned short kCp866[128] = {
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B,
    0x041C, 0x041D, 0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F, 0x0430, 0x0431, 0x0432, 0x0433,
    0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557,
    0x255D, 0x255C, 0x255B, 0x2510, 0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559,
    0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447, 0x0448, 0x0449, 0x044A, 0x044B,
    0x044C, 0x044D, 0x044E, 0x044F, 0x0401, 0x0451, 0x0404, 0x0454, 0x0407, 0x0457, 0x040E, 0x045E,
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x2116, 0x00A4, 0x25A0, 0x00A0,
};

void AppendUtf8(std::string& out, unsigned code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}
#endif

}  // namespace

void Say(const std::string& line) {
    std::fputs(line.c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void Complain(const std::string& line) {
    std::fflush(stdout);
    std::fputs(line.c_str(), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

std::string ForConsole(const char* text) {
    if (text == nullptr) return "(null)";
    std::string out;
#if defined(_WIN32)
    out = text;
#else
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != 0; ++p) {
        if (*p >= 0x80 && g_codePage866) {
            AppendUtf8(out, kCp866[*p - 0x80]);
        } else {
            out += static_cast<char>(*p);
        }
    }
#endif
    return out;
}

void SetConsoleCodePage866(bool on) {
    g_codePage866 = on;
}

std::size_t DisplayWidth(const std::string& text) {
#if defined(_WIN32)
    return text.size();
#else
    std::size_t width = 0;
    for (char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++width;
    }
    return width;
#endif
}

std::string Hex(unsigned long value) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "0x%lx", value);
    return buffer;
}

void SetExitCleanup(void (*cleanup)(bool)) { g_cleanup = cleanup; }

void Fatal(int code, const std::string& message, bool insidePlugin) {
    Complain(message);
    void (*cleanup)(bool) = g_cleanup;
    g_cleanup = nullptr;
    if (cleanup != nullptr) cleanup(insidePlugin);
    std::fflush(nullptr);
    std::_Exit(code);
}

}  // namespace twhost
