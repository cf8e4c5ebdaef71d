// The host's character tables: OEM (the console's code page, the identity),
// ANSI (the Windows code page) and the code tables it knows, in the order
// the real host finds them in its registry. A code table has a name and a
// 256-byte decode table (file byte -> OEM). Scripts may remove or reorder
// the code tables, as a user who edits the host's settings would.
#pragma once

#include <string>
#include <vector>

#include "kit/code_pages.h"
#include "plugin/host_abi.h"

namespace twhost {

struct CodeTable {
    std::string Name;
    unsigned char Decode[256];
};

// The table a file is shown in, as an editor or viewer of this host keeps
// it: OEM, ANSI, or code table Number (its place in the host's list when it
// was chosen). Playing the 3.x host's layer, where tables are code pages:
// OEM and ANSI for the system's two pages, or code page Number (Page).
enum class TableMode { Oem, Ansi, Code, Page };
struct TableChoice {
    TableMode Mode = TableMode::Oem;
    int Number = -1;  // code table k when Mode is Code, the code page when Page
};

// The host's code tables, in order (a member of the host's state): at start
// "KOI8-R" and "ISO-8859-5".
std::vector<CodeTable> DefaultCodeTables();
const std::vector<CodeTable>& CodeTables();
// Removes the table named `name`; false when there is none.
bool RemoveCodeTable(const std::string& name);
// Puts the tables in the order of `names` (every table named once); false,
// with the reason, otherwise.
bool ReorderCodeTables(const std::vector<std::string>& names, std::string* error);
// The number of the table named `name`, or -1.
int FindCodeTable(const std::string& name);

// The 3.x layer's code pages at start: OEM 866, ANSI 1251 and the
// favourites KOI8-R (20866), ISO-8859-5 (28595) and UTF-8 (65001).
hostkit::CodePageSetup DefaultCodePages();
// The choice for a code page (OEM or ANSI when it is one of those) and the
// code page of a choice, with the host's current setup.
TableChoice ChoiceOfCodePage(unsigned codePage);
unsigned CodePageOfChoice(const TableChoice& table);

// The CharTable service as the real host performs it: command k >= 0 fills
// up to `bufferSize` (<= 1152) bytes of a CharTableSet with code table k and
// returns k, or the identity table named "normal text" and -1 when there is
// no table k; FCT_DETECT finds nothing (-1). Playing the 3.x layer: the
// size must be exactly 1152, k follows that layer's TableNum numbering
// (kit/code_pages.h), a multi-byte or unknown code page gives -1, and the
// name is the code page's.
int TW_STDCALL HostCharTable(int command, char* buffer, int bufferSize);
// The name the identity table is given.
extern const char kNormalTextName[];

// "oem", "ansi" or "<k> <name>" (playing the 3.x layer: "<code page>
// <name>"), as scripts and descriptions show a table.
std::string DescribeTable(const TableChoice& table);
// Reads "oem", "ansi", a table's number or its name (playing the 3.x
// layer: a known code page's number or name); false otherwise.
bool ParseTable(const std::string& text, TableChoice* table, std::string* error);

}  // namespace twhost
