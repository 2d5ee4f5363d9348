#pragma once
// A small database for the engine tests, written with the engine's writer.
//
// Five documents "Doc 1" .. "Doc 5", with items Subject (text), Rank (number:
// 3 1 5 2 4), When (date-time), Tags (two texts) and Body (rich text with a
// tab). Doc 1 has the attachments a.txt and b.txt; Doc 2's Body embeds one
// object, Doc 3's three (one.txt two.txt three.txt). Views, in design order:
//   "Main" (alias "Primary")   every document, columns Subject and Rank
//   "By Rank"                  every document, sorted by Rank descending
//   "($Hidden)", "Lookup$Keys" hidden views
//   "Empty"                    selects nothing
#include <string>

namespace velloran::testing {

inline constexpr const char* kDocBody = "Subject\tvalue";

void writeSampleDatabase(const std::string& path);

// Bytes of the embedded object or attachment named `name` in the sample.
std::string sampleObjectBytes(const std::string& name);

}  // namespace velloran::testing
