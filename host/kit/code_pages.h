// The code pages of the 3.x host's layer for 1.x plug-ins, which stand in
// for the 1.x character tables there: the numbers that layer gives them in
// EditorInfo.TableNum, ESPT_CHARTABLE and CharTable, and the name CharTable
// reports. Plain rules on plain values; the substitute host keeps the
// actual pages (core/char_tables.h).
#pragma once

#include <string>
#include <vector>

namespace hostkit {

// The host's code pages as that layer sees them.
struct CodePageSetup {
    unsigned Oem = 866;    // the system's OEM code page
    unsigned Ansi = 1251;  // the system's ANSI code page
    std::vector<unsigned> Favourites;  // the host's favourites list, in order
};

// The name of a code page this model knows (OEM and ANSI pages, KOI8,
// ISO-8859, UTF-8, UTF-16 and a few multi-byte pages), or null.
const char* CodePageName(unsigned codePage);
// The known code page named `name` (ignoring case), or 0.
unsigned CodePageNamed(const std::string& name);
// True for code pages whose characters take more than one byte.
bool IsMultiByteCodePage(unsigned codePage);

// TableNum for an editor showing `codePage`: 0 for the OEM page, 1 for the
// ANSI page and for every multi-byte page, 2 + i for favourite i, and
// -(codePage + 2) for any other.
int TableNumOfCodePage(const CodePageSetup& setup, unsigned codePage);
// The code page a TableNum stands for (0 OEM, 1 ANSI, 2 + i favourite i,
// -(page + 2) that page); false for -1 and a favourite the list lacks.
bool CodePageOfTableNum(const CodePageSetup& setup, int tableNum, unsigned* codePage);
// The code page ESPT_CHARTABLE's iParam asks for: 1 OEM, 2 ANSI, k + 3 the
// page of TableNum k, a negative value the page -(iParam + 2). False for 0
// and for a table that does not exist; the editor may still refuse the page.
bool CodePageOfTableParam(const CodePageSetup& setup, int param, unsigned* codePage);
// CharTableSet.TableName for a code page: the number right-aligned in 5
// characters, the OEM box-drawing bar (0xB3) and the page's name.
std::string CodePageTableName(unsigned codePage);

}  // namespace hostkit
