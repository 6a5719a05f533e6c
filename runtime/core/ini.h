// Vexel runtime: the current INI document.
//
// The game keeps its options, hiscores and language texts in INI files and
// works on one document at a time: opening a file reads it whole into
// memory, gets and puts work on that copy, and the copy is written back, only
// if a put changed it, when another file is opened, when it is closed and
// when the process ends. A document that was only read is never rewritten,
// so hand-written comments and layout survive.
//
// Reading is deliberately lenient and matches the files the game has always
// read: leading blanks, tabs and line ends are skipped; ";" starts a comment;
// "[name]" starts a section whose name ends at the first blank, tab or "="
// ("[My Section]" is section "My"), and a header without entries is dropped;
// "key = value" gives key "key" and value "value" with trailing blanks kept
// and trailing control characters removed; "key=" (no value) is ignored;
// entries before the first header belong to the section named "". Lines may
// be of any length. Section names and keys compare ignoring ASCII case;
// duplicates can exist after reading, and the first one wins.
//
// Writing produces "[name]" and "key=value" lines ending in CR LF, sections in
// order, no blank lines or comments. Entries of the section named "" go first,
// without a header, which is the only place they read back from; sections
// without entries are left out. (A value's leading blanks do not survive a
// write and a read.) The file is replaced safely (temporary file and rename),
// never left half-written; a file that cannot be written prints a line and
// the document is discarded as usual.
#pragma once

#include "runtime/core/string_value.h"

namespace vxl {

// ---- the document ------------------------------------------------------------------
// Writes the current document back if it changed, then opens `name`: the name
// is looked up like every media file (case fallback, then the media archive)
// and read; a missing or unreadable file gives an empty document that keeps
// the name, so puts create it at write-back. The empty name just closes.
void OpenIni(const StringValue& name);
// The same as OpenIni(""): writes back if changed and empties the document.
void CloseIni();

// The path the document will be written to ("" when none is open): the
// resolved file, or the name as given when it was not found on disk.
StringValue IniFileName();
// 1 when a put changed the document since it was opened.
int IniChanged();

// ---- values --------------------------------------------------------------------------
// The value of the first matching key in the first matching section, or
// `defaultValue`. Never changes the document.
StringValue GetIni(const StringValue& section, const StringValue& key,
                   const StringValue& defaultValue);

// Changes the document:
//  - an empty key removes the first section of that name (if any);
//  - a non-empty value replaces the key's value, or appends the key (and the
//    section, when it is new);
//  - an empty value removes the key.
// Returns 1 when applied, 0 when refused. A put is refused, with a line on
// standard output, when what it would store cannot be read back as written:
// a new section name containing a blank, tab, "=", CR, LF or NUL; a new key
// that contains one of those or starts with "[" or ";"; a value containing
// CR, LF or NUL (which would split the line and could forge entries).
int PutIni(const StringValue& section, const StringValue& key, const StringValue& value);

}  // namespace vxl
