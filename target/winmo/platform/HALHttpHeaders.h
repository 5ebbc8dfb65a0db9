#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The header of an HTTP reply as a list of records: record 0 is the status
// line (no key, the whole line as its value), records 1... are the header
// lines in the order received.
//
// Each line of the raw text ends with LF or CR LF (a last line without an
// end is kept too); parsing stops at the first empty line. A line with a
// ':' gives the key before its first ':' and the value after it, without
// the blanks and tabs around it; a line without ':', and the first line
// (the status line) whatever it holds, give no key and the whole line as
// value. Bytes become characters one for one (Latin-1), so
// nothing is lost and no byte sequence is malformed.
struct HALHttpHeader {
  std::optional<std::u16string> key;
  std::optional<std::u16string> value;
};

std::vector<HALHttpHeader> HAL_parseHTTPHeaders(std::string_view raw);

// The index of the first record whose key equals `name` with ASCII letter
// case ignored, or -1.
int32_t HAL_findHTTPHeader(const std::vector<HALHttpHeader>& headers, std::u16string_view name);
