// Pages with more than one owner: a page that two chains walk, or one that a chain walks while
// the bank table calls it free. Both are damage. Reading then decodes one list's bytes as
// another's, and packing writes over a page that something else holds, or hands it out again.
// Nothing here repairs: it only names the pages, for the command-line check and the window.
#pragma once

#include <string>
#include <vector>

namespace tolvane {

class MemoryModule;

struct SharedPage {
    int page = -1;
    // Every chain whose walk takes the page, in chain order.
    std::vector<int> chains;
    // The free map of the page's bank says it is free.
    bool markedFree = false;

    bool operator==(const SharedPage&) const = default;
};

// Every page that two or more chains walk, or that a chain walks and the free map calls free,
// in page order. A chain is walked along its links to its end (a loop or a link beyond the
// image ends it), whatever its page count says: every page a link reaches is one that some
// reader follows and that packing must leave alone.
std::vector<SharedPage> FindSharedPages(const MemoryModule& image);

// The same as lines for the user, with no line end: pages claimed by the same chains share a
// line ("page 17 is claimed by chains 4 and 6", "pages 3 and 4 are claimed by chains 2, 4 and
// 6"), then those marked free ("page 20 of chain 2 is marked free").
std::vector<std::string> DescribeSharedPages(const std::vector<SharedPage>& pages);

} // namespace tolvane
