// The macros' persistent form: the values "MacroName%d" and "MacroData%d" (0 to 19) of the
// settings key, and the parsing of what they hold, which is untrusted: another program may
// have written any type and any number of bytes there.
#pragma once

#include <windows.h>

#include <string>

#include "panel/Macros.h"

// Fills the whole table from the registry. Of each value at most kMacroTextBytes bytes are
// kept (with a text's terminator, 512 bytes); a longer one is cut there rather than lost. A
// missing settings key leaves the table as it is; a missing name or data value gives an
// empty name or no data (kind String).
void LoadMacros();
// Writes the whole table: names as REG_SZ without a terminator, data as REG_BINARY for key
// sequences and REG_SZ for every other kind; a macro without data as an empty value.
void SaveMacros();

// A name value's bytes as the name: its characters up to the first terminator, at most
// kMacroTextBytes bytes of them.
std::u16string parseMacroName(const BYTE* bytes, DWORD size);
// A data value of registry type `type` as the entry's content: REG_SZ gives a text kind (the
// placeholder kinds by an exact match of the whole text), any other type a key sequence. At
// most kMacroTextBytes bytes are taken.
void parseMacroData(DWORD type, const BYTE* bytes, DWORD size, MacroEntry& entry);
