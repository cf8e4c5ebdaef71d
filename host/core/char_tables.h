// The host's character tables: OEM (the console's code page, the identity),
// ANSI (the Windows code page) and the code tables it knows, in the order
// the real host finds them in its registry. A code table has a name and a
// 256-byte decode table (file byte -> OEM). Scripts may remove or reorder
// the code tables, as a user who edits the host's settings would.
#pragma once

#include <string>
#include <vector>

#include "plugin/host_abi.h"

namespace twhost {

struct CodeTable {
    std::string Name;
    unsigned char Decode[256];
};

// The table a file is shown in, as an editor or viewer of this host keeps
// it: OEM, ANSI, or code table Number (its place in the host's list when it
// was chosen).
enum class TableMode { Oem, Ansi, Code };
struct TableChoice {
    TableMode Mode = TableMode::Oem;
    int Number = -1;  // code table k when Mode is Code
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

// The CharTable service as the real host performs it: command k >= 0 fills
// up to `bufferSize` (<= 1152) bytes of a CharTableSet with code table k and
// returns k, or the identity table named "normal text" and -1 when there is
// no table k; FCT_DETECT finds nothing (-1).
int TW_STDCALL HostCharTable(int command, char* buffer, int bufferSize);
// The name the identity table is given.
extern const char kNormalTextName[];

// "oem", "ansi" or "<k> <name>", as scripts and descriptions show a table.
std::string DescribeTable(const TableChoice& table);
// Reads "oem", "ansi", a table's number or its name; false otherwise.
bool ParseTable(const std::string& text, TableChoice* table, std::string* error);

}  // namespace twhost
