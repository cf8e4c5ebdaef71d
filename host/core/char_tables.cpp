#include "core/char_tables.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "core/host_state.h"
#include "core/trace.h"

using namespace tarnwick;

namespace twhost {
namespace {

#define Trace(line) TWHOST_TRACE("    [tables] ", line)

// The upper halves of the decode tables (the lower half is ASCII): the
// Cyrillic letters of each code page moved to their places in code page 866.
const unsigned char kKoi8rHigh[128] = {
    0xc4, 0xb3, 0xda, 0xbf, 0xc0, 0xd9, 0xc3, 0xb4, 0xc2, 0xc1, 0xc5, 0xdf, 0xdc, 0xdb, 0xdd, 0xde,
    0xb0, 0xb1, 0xb2, 0x3f, 0xfe, 0xf9, 0xfb, 0x3f, 0x3f, 0x3f, 0xff, 0x3f, 0xf8, 0x3f, 0xfa, 0x3f,
    0xcd, 0xba, 0xd5, 0xf1, 0xd6, 0xc9, 0xb8, 0xb7, 0xbb, 0xd4, 0xd3, 0xc8, 0xbe, 0xbd, 0xbc, 0xc6,
    0xc7, 0xcc, 0xb5, 0xf0, 0xb6, 0xb9, 0xd1, 0xd2, 0xcb, 0xcf, 0xd0, 0xca, 0xd8, 0xd7, 0xce, 0x3f,
    0xee, 0xa0, 0xa1, 0xe6, 0xa4, 0xa5, 0xe4, 0xa3, 0xe5, 0xa8, 0xa9, 0xaa, 0xab, 0xac, 0xad, 0xae,
    0xaf, 0xef, 0xe0, 0xe1, 0xe2, 0xe3, 0xa6, 0xa2, 0xec, 0xeb, 0xa7, 0xe8, 0xed, 0xe9, 0xe7, 0xea,
    0x9e, 0x80, 0x81, 0x96, 0x84, 0x85, 0x94, 0x83, 0x95, 0x88, 0x89, 0x8a, 0x8b, 0x8c, 0x8d, 0x8e,
    0x8f, 0x9f, 0x90, 0x91, 0x92, 0x93, 0x86, 0x82, 0x9c, 0x9b, 0x87, 0x98, 0x9d, 0x99, 0x97, 0x9a,
};
const unsigned char kIso88595High[128] = {
    0x3f, 0x3f, 0x3f, 0x3f, 0x3f, 0x3f, 0x3f, 0x3f, 0x3f, 0x3f, 0x3f, 0x3f, 0x3f, 0x3f, 0x3f, 0x3f,
    0x3f, 0x3f, 0x3f, 0x3f, 0x3f, 0x3f, 0x3f, 0x3f, 0x3f, 0x3f, 0x3f, 0x3f, 0x3f, 0x3f, 0x3f, 0x3f,
    0xff, 0xf0, 0x3f, 0x3f, 0xf2, 0x3f, 0x3f, 0xf4, 0x3f, 0x3f, 0x3f, 0x3f, 0x3f, 0x3f, 0xf6, 0x3f,
    0x80, 0x81, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8a, 0x8b, 0x8c, 0x8d, 0x8e, 0x8f,
    0x90, 0x91, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99, 0x9a, 0x9b, 0x9c, 0x9d, 0x9e, 0x9f,
    0xa0, 0xa1, 0xa2, 0xa3, 0xa4, 0xa5, 0xa6, 0xa7, 0xa8, 0xa9, 0xaa, 0xab, 0xac, 0xad, 0xae, 0xaf,
    0xe0, 0xe1, 0xe2, 0xe3, 0xe4, 0xe5, 0xe6, 0xe7, 0xe8, 0xe9, 0xea, 0xeb, 0xec, 0xed, 0xee, 0xef,
    0xfc, 0xf1, 0x3f, 0x3f, 0xf3, 0x3f, 0x3f, 0xf5, 0x3f, 0x3f, 0x3f, 0x3f, 0x3f, 0x3f, 0xf7, 0x3f,
};

CodeTable MakeTable(const char* name, const unsigned char* high) {
    CodeTable table;
    table.Name = name;
    for (int i = 0; i < 128; ++i) table.Decode[i] = static_cast<unsigned char>(i);
    std::memcpy(table.Decode + 128, high, 128);
    return table;
}

unsigned char AsciiUpper(unsigned char c) { return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 32) : c; }
unsigned char AsciiLower(unsigned char c) { return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c; }

void FillSet(const unsigned char* decode, const std::string& name, CharTableSet* set) {
    std::memset(set, 0, sizeof *set);
    for (int i = 0; i < 256; ++i) set->EncodeTable[i] = static_cast<unsigned char>(i);
    for (int i = 255; i >= 0; --i) {
        set->DecodeTable[i] = decode[i];
        set->EncodeTable[decode[i]] = static_cast<unsigned char>(i);  // the lowest byte wins
        set->UpperTable[i] = AsciiUpper(static_cast<unsigned char>(i));
        set->LowerTable[i] = AsciiLower(static_cast<unsigned char>(i));
    }
    std::memcpy(set->TableName, name.c_str(), std::min(name.size(), sizeof set->TableName - 1));
}

// The decode table of a single-byte code page into the OEM page: the
// identity for the OEM page itself, the host's code table of the same name
// when the OEM page is 866 (the tables above decode into 866), else ASCII
// with '?' above it (this model knows no other mapping).
void DecodeCodePage(unsigned codePage, unsigned char* decode) {
    for (int i = 0; i < 256; ++i) decode[i] = static_cast<unsigned char>(i < 128 || codePage == Host().CodePages.Oem ? i : '?');
    const char* name = hostkit::CodePageName(codePage);
    if (codePage == Host().CodePages.Oem || Host().CodePages.Oem != 866 || name == nullptr) return;
    for (const CodeTable& table : DefaultCodeTables()) {
        if (table.Name == name) std::memcpy(decode, table.Decode, 256);
    }
}

// CharTable as the 3.x layer performs it.
int CodePageCharTable(int command, char* buffer, int bufferSize) {
    unsigned codePage = 0;
    if (command == FCT_DETECT || buffer == nullptr || bufferSize != kCharTableSetSize ||
        !hostkit::CodePageOfTableNum(Host().CodePages, command, &codePage) || hostkit::IsMultiByteCodePage(codePage) ||
        hostkit::CodePageName(codePage) == nullptr) {
        Trace("CharTable(" + std::to_string(command) + ", size " + std::to_string(bufferSize) + ") = -1");
        return -1;
    }
    unsigned char decode[256];
    DecodeCodePage(codePage, decode);
    CharTableSet set;
    FillSet(decode, hostkit::CodePageTableName(codePage), &set);
    std::memcpy(buffer, &set, sizeof set);
    Trace("CharTable(" + std::to_string(command) + ") = " + std::to_string(command) + ", code page " + std::to_string(codePage));
    return command;
}

}  // namespace

hostkit::CodePageSetup DefaultCodePages() {
    hostkit::CodePageSetup setup;
    setup.Favourites = {20866, 28595, 65001};
    return setup;
}

TableChoice ChoiceOfCodePage(unsigned codePage) {
    if (codePage == Host().CodePages.Oem) return TableChoice{TableMode::Oem, -1};
    if (codePage == Host().CodePages.Ansi) return TableChoice{TableMode::Ansi, -1};
    return TableChoice{TableMode::Page, static_cast<int>(codePage)};
}

unsigned CodePageOfChoice(const TableChoice& table) {
    switch (table.Mode) {
        case TableMode::Ansi: return Host().CodePages.Ansi;
        case TableMode::Page: return static_cast<unsigned>(table.Number);
        case TableMode::Code:
            // A 1.75 code table: the code page of the same name, if any.
            if (table.Number >= 0 && table.Number < static_cast<int>(CodeTables().size())) {
                unsigned named = hostkit::CodePageNamed(CodeTables()[static_cast<std::size_t>(table.Number)].Name);
                if (named != 0) return named;
            }
            return Host().CodePages.Oem;
        case TableMode::Oem: break;
    }
    return Host().CodePages.Oem;
}

const char kNormalTextName[] = "Normal text";

std::vector<CodeTable> DefaultCodeTables() { return {MakeTable("KOI8-R", kKoi8rHigh), MakeTable("ISO-8859-5", kIso88595High)}; }

const std::vector<CodeTable>& CodeTables() { return Host().Tables; }

int FindCodeTable(const std::string& name) {
    const std::vector<CodeTable>& tables = CodeTables();
    for (std::size_t i = 0; i < tables.size(); ++i) {
        if (tables[i].Name == name) return static_cast<int>(i);
    }
    return -1;
}

bool RemoveCodeTable(const std::string& name) {
    int at = FindCodeTable(name);
    if (at < 0) return false;
    Host().Tables.erase(Host().Tables.begin() + at);
    return true;
}

bool ReorderCodeTables(const std::vector<std::string>& names, std::string* error) {
    std::vector<CodeTable> ordered;
    for (const std::string& name : names) {
        int at = FindCodeTable(name);
        if (at < 0 || std::any_of(ordered.begin(), ordered.end(), [&](const CodeTable& t) { return t.Name == name; })) {
            *error = "the host has no table '" + name + "' (or it is named twice)";
            return false;
        }
        ordered.push_back(CodeTables()[static_cast<std::size_t>(at)]);
    }
    if (ordered.size() != CodeTables().size()) {
        *error = "name every one of the host's " + std::to_string(CodeTables().size()) + " tables";
        return false;
    }
    Host().Tables = ordered;
    return true;
}

int TW_STDCALL HostCharTable(int command, char* buffer, int bufferSize) {
    if (Plays3x()) return CodePageCharTable(command, buffer, bufferSize);
    if (command == FCT_DETECT) {
        Trace("FCT_DETECT = -1");
        return -1;
    }
    if (command < 0 || buffer == nullptr || bufferSize < 0 || bufferSize > kCharTableSetSize) {
        Trace("CharTable(" + std::to_string(command) + ", size " + std::to_string(bufferSize) + ") = -1");
        return -1;
    }
    CharTableSet set;
    int result = command;
    if (command < static_cast<int>(CodeTables().size())) {
        const CodeTable& table = CodeTables()[static_cast<std::size_t>(command)];
        FillSet(table.Decode, table.Name, &set);
    } else {
        unsigned char identity[256];
        for (int i = 0; i < 256; ++i) identity[i] = static_cast<unsigned char>(i);
        FillSet(identity, kNormalTextName, &set);
        result = -1;
    }
    std::memcpy(buffer, &set, static_cast<std::size_t>(bufferSize));
    Trace("CharTable(" + std::to_string(command) + ") = " + std::to_string(result) + " \"" + set.TableName + "\"");
    return result;
}

std::string DescribeTable(const TableChoice& table) {
    if (table.Mode == TableMode::Oem) return "oem";
    if (table.Mode == TableMode::Ansi) return "ansi";
    if (table.Mode == TableMode::Page) {
        const char* name = hostkit::CodePageName(static_cast<unsigned>(table.Number));
        return std::to_string(table.Number) + " " + (name != nullptr ? name : "(unknown)");
    }
    std::string name = table.Number >= 0 && table.Number < static_cast<int>(CodeTables().size())
                           ? CodeTables()[static_cast<std::size_t>(table.Number)].Name
                           : std::string("(gone)");
    return std::to_string(table.Number) + " " + name;
}

bool ParseTable(const std::string& text, TableChoice* table, std::string* error) {
    if (text == "oem" || text == "ansi") {
        *table = TableChoice{text == "oem" ? TableMode::Oem : TableMode::Ansi, -1};
        return true;
    }
    if (Plays3x()) {
        bool digits = !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
        unsigned codePage = digits ? static_cast<unsigned>(std::strtoul(text.c_str(), nullptr, 10)) : hostkit::CodePageNamed(text);
        if (hostkit::CodePageName(codePage) == nullptr) {
            *error = "'" + text + "' is not oem, ansi or a code page this host knows (by number or name)";
            return false;
        }
        *table = ChoiceOfCodePage(codePage);
        return true;
    }
    int number = FindCodeTable(text);
    if (number < 0 && !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        number = std::atoi(text.c_str());
        if (number >= static_cast<int>(CodeTables().size())) number = -1;
    }
    if (number < 0) {
        *error = "'" + text + "' is not oem, ansi or one of the host's code tables";
        return false;
    }
    *table = TableChoice{TableMode::Code, number};
    return true;
}

}  // namespace twhost
