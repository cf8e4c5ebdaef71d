#include "kit/code_pages.h"

#include <cstdio>

#include "kit/standard_functions.h"

namespace hostkit {
namespace {

struct KnownPage {
    unsigned Number;
    const char* Name;
    bool MultiByte;
};

const KnownPage kKnownPages[] = {
    {437, "OEM United States", false},  {850, "OEM Multilingual Latin 1", false},
    {866, "OEM Russian", false},        {1250, "ANSI Central European", false},
    {1251, "ANSI Cyrillic", false},     {1252, "ANSI Latin 1", false},
    {20866, "KOI8-R", false},           {21866, "KOI8-U", false},
    {28591, "ISO-8859-1", false},       {28595, "ISO-8859-5", false},
    {932, "ANSI/OEM Japanese Shift-JIS", true}, {936, "ANSI/OEM Simplified Chinese GBK", true},
    {1200, "UTF-16 (Little endian)", true},     {1201, "UTF-16 (Big endian)", true},
    {65001, "UTF-8", true},
};

const KnownPage* Find(unsigned codePage) {
    for (const KnownPage& page : kKnownPages) {
        if (page.Number == codePage) return &page;
    }
    return nullptr;
}

}  // namespace

const char* CodePageName(unsigned codePage) {
    const KnownPage* page = Find(codePage);
    return page == nullptr ? nullptr : page->Name;
}

unsigned CodePageNamed(const std::string& name) {
    for (const KnownPage& page : kKnownPages) {
        if (CompareIgnoringCase(page.Name, name.c_str(), -1) == 0) return page.Number;
    }
    return 0;
}

bool IsMultiByteCodePage(unsigned codePage) {
    const KnownPage* page = Find(codePage);
    return page != nullptr && page->MultiByte;
}

int TableNumOfCodePage(const CodePageSetup& setup, unsigned codePage) {
    if (codePage == setup.Oem) return 0;
    if (codePage == setup.Ansi || IsMultiByteCodePage(codePage)) return 1;
    for (std::size_t i = 0; i < setup.Favourites.size(); ++i) {
        if (setup.Favourites[i] == codePage) return static_cast<int>(i) + 2;
    }
    return -static_cast<int>(codePage) - 2;
}

bool CodePageOfTableNum(const CodePageSetup& setup, int tableNum, unsigned* codePage) {
    if (tableNum == 0) {
        *codePage = setup.Oem;
    } else if (tableNum == 1) {
        *codePage = setup.Ansi;
    } else if (tableNum >= 2) {
        if (static_cast<std::size_t>(tableNum - 2) >= setup.Favourites.size()) return false;
        *codePage = setup.Favourites[static_cast<std::size_t>(tableNum - 2)];
    } else if (tableNum <= -2) {
        *codePage = static_cast<unsigned>(-(static_cast<long long>(tableNum) + 2));
    } else {
        return false;
    }
    return true;
}

bool CodePageOfTableParam(const CodePageSetup& setup, int param, unsigned* codePage) {
    if (param == 0) return false;
    if (param == 1) return CodePageOfTableNum(setup, 0, codePage);
    if (param == 2) return CodePageOfTableNum(setup, 1, codePage);
    if (param >= 3) return CodePageOfTableNum(setup, param - 3, codePage);
    return CodePageOfTableNum(setup, param, codePage);
}

std::string CodePageTableName(unsigned codePage) {
    char number[16];
    std::snprintf(number, sizeof number, "%5u", codePage);
    const char* name = CodePageName(codePage);
    return std::string(number) + '\xB3' + (name != nullptr ? name : "");
}

}  // namespace hostkit
