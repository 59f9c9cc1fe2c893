#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace addressbook {

// One property (content line) of a vCard, decoded: its value is UTF-8 with the vCard escapes
// (\n, \, \; \\) still in, so a structured value can still be split at its unescaped ';'.
struct VCardProperty {
  std::string Group;  // "item1" of "item1.ADR", as written; empty without one
  std::string Name;   // upper case: "ADR", "TEL", "X-ABLABEL"
  // Every parameter value under its upper-case name, one entry per value: TYPE=cell,voice gives
  // two; a bare 2.1 parameter (TEL;CELL) is a TYPE, or an ENCODING when it names one.
  std::vector<std::pair<std::string, std::string>> Params;
  std::string Value;
  bool Skipped = false;  // binary content (a photo, a sound, a key) that was read past, not kept
  int Line = 0;          // where the property starts

  // The first value of a parameter (name in any case), or empty.
  std::string Param(std::string_view name) const;
  // Whether a TYPE value is `type` (any case): TEL;TYPE=CELL, TEL;CELL, TYPE="cell,voice".
  bool HasType(std::string_view type) const;
  // How strongly the card prefers this property over its siblings; lower is stronger: the PREF
  // parameter's number (4.0), 1 for TYPE=pref or a bare PREF, 101 (none) otherwise.
  int Preference() const;

  // The value with its escapes resolved.
  std::string Text() const;
  // The value split at its unescaped ';', each part with its escapes resolved.
  std::vector<std::string> Components() const;
};

// One card of a vCard file.
struct VCard {
  int Number = 0;                         // 1 for the first card of the file
  int Line = 0;                           // the line of its BEGIN:VCARD
  std::string Version;                    // as the VERSION line says; empty when the card has none
  std::vector<VCardProperty> Properties;  // in the card's order; BEGIN, END and VERSION left out
  // What was read with a fallback or left out, each naming its line: a value whose bytes were
  // not valid in its character set, an unknown character set, a line without ':', a card
  // without END:VCARD.
  std::vector<std::string> Warnings;

  // Every property of that name (any case), in the card's order.
  std::vector<const VCardProperty*> All(std::string_view name) const;
  // The first of them, or null.
  const VCardProperty* First(std::string_view name) const;
};

}  // namespace addressbook
