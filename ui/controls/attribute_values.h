// The number formats of skin attribute values, shared by the controls and the
// skin builder. Every reader stops at the end of the text: numbers a value
// does not hold read as 0.
#pragma once

#include <cstdint>
#include <functional>

#include "ui/core/ui_string.h"

namespace SkinUI {

// A decimal integer: leading white space skipped, an optional sign, digits up
// to the first character that does not fit. *end (optional) gets the
// character after the number, or text itself when no digits were read.
// Values beyond the 32-bit range are clamped.
int32_t ParseDecimal(const UiChar* text, const UiChar** end = nullptr);

// Reads count decimal numbers, skipping exactly one character (any kind)
// after each. Numbers past the end of the text are 0. Returns how many were
// actually read.
int ParseNumberList(const UiChar* text, int32_t* out, int count);

// A decimal fraction (sign, digits, ".", digits, exponent), as strtod reads
// it but independent of the locale.
double ParseFraction(const UiChar* text, const UiChar** end = nullptr);

// Four fractions with one separator character after each (the "float"
// shares). Missing ones are 0.
void ParseFractionList(const UiChar* text, double out[4]);

// Exactly "true".
bool ParseTrue(const UiChar* text);

// A colour: with skipBlanks, characters 1..0x20 are skipped first; then an
// optional "#", then a hexadecimal number (white space and an optional "0x"
// prefix allowed, as strtoul reads it) up to the first non-hex character.
// Malformed values read as 0; values beyond 32 bits as 0xFFFFFFFF.
uint32_t ParseHexColor(const UiChar* text, bool skipBlanks = false);

// Splits an attribute string of name="value" pairs separated by one blank and
// calls apply for each complete pair. Parsing stops at a name without "=",
// an "=" not followed by a double quote, a value without its closing quote,
// or a closing quote not followed by a blank.
void ForEachAttributePair(const UiChar* text,
                          const std::function<void(const UiString& name, const UiString& value)>& apply);

}  // namespace SkinUI
