// The character references of the engine's XML: the five named entities ("&amp;", "&lt;",
// "&gt;", "&quot;", "&apos;") and decimal "&#N;", which stands for the byte N (mod 256).
// Shared by the XML reader, the XML writer and the string table.
#pragma once

#include <string>
#include <string_view>

// Decodes every reference in `text`; anything else, including unknown or unterminated
// references, is kept as written. `firstFromEntity` (optional) tells whether the result's
// first byte came from a reference.
std::string DecodeXmlEntities(std::string_view text, bool* firstFromEntity = nullptr);

// Appends `text` escaped for the writer: the five special characters as named entities,
// bytes below 32 and from 128 as "&#N;".
void AppendEscapedXml(std::string* out, std::string_view text);
