#pragma once

// Snippets to capture, each with the record that the tool must show for it. The table
// belongs to the bank that the build embeds.

#include <cstddef>
#include <string>
#include <vector>

namespace e2e {

struct SnippetCase {
    const char* name;
    std::string before;  // text around the selection in the driver's edit control
    std::string snippet; // the selection that the tool copies
    std::string after;
    std::size_t record; // the record shown in 编辑框2; 0: 编辑框2 keeps what it showed
};

// The first case shows a record other than record 2 and the second another snippet, so
// that tests can set up a visible state with them.
const std::vector<SnippetCase>& snippetTable();

// A snippet of about 20 bytes that the record at `position` holds and no earlier one;
// empty if there is none.
std::string snippetOnlyIn(std::size_t position);
// The same for the last record, and a long snippet that no record holds.
std::string snippetOfLastRecord();
std::string snippetFoundNowhere();

} // namespace e2e
