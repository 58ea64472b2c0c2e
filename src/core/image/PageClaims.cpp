#include "image/PageClaims.h"

#include "image/MemoryModule.h"

#include <climits>
#include <map>

namespace tolvane {

namespace {

// "17", "17 and 18", "17, 18 and 19".
std::string JoinNumbers(const std::vector<int>& numbers) {
    std::string text;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (i > 0) {
            text += i + 1 == numbers.size() ? " and " : ", ";
        }
        text += std::to_string(numbers[i]);
    }
    return text;
}

std::string Counted(const char* one, const char* many, const std::vector<int>& numbers) {
    // Appended, not added to a literal: GCC 12 warns falsely at -O3 on "literal" + string.
    return std::string(numbers.size() == 1 ? one : many).append(" ").append(JoinNumbers(numbers));
}

} // namespace

std::vector<SharedPage> FindSharedPages(const MemoryModule& image) {
    std::vector<std::vector<int>> claims(static_cast<std::size_t>(image.GetLoadedPageCount()));
    for (int chain = 0; chain < layout::kChainCount; ++chain) {
        for (const int page : image.WalkChain(chain, INT_MAX).pages) {
            claims[static_cast<std::size_t>(page)].push_back(chain);
        }
    }
    std::vector<SharedPage> shared;
    for (int page = 0; page < static_cast<int>(claims.size()); ++page) {
        std::vector<int>& chains = claims[static_cast<std::size_t>(page)];
        const bool markedFree = !chains.empty() && image.IsMarkedFree(page);
        if (chains.size() > 1 || markedFree) {
            shared.push_back({page, std::move(chains), markedFree});
        }
    }
    return shared;
}

std::vector<std::string> DescribeSharedPages(const std::vector<SharedPage>& pages) {
    // Chains -> their pages, so that a chain whose link leads into another's tail gives one line
    // and not one for every page of the tail.
    std::map<std::vector<int>, std::vector<int>> claimed;
    std::map<std::vector<int>, std::vector<int>> free;
    for (const SharedPage& shared : pages) {
        if (shared.chains.size() > 1) {
            claimed[shared.chains].push_back(shared.page);
        }
        if (shared.markedFree) {
            free[shared.chains].push_back(shared.page);
        }
    }
    std::vector<std::string> lines;
    for (const auto& [chains, numbers] : claimed) {
        lines.push_back(Counted("page", "pages", numbers) + (numbers.size() == 1 ? " is" : " are") +
                        " claimed by chains " + JoinNumbers(chains));
    }
    for (const auto& [chains, numbers] : free) {
        lines.push_back(Counted("page", "pages", numbers) + " of " +
                        Counted("chain", "chains", chains) +
                        (numbers.size() == 1 ? " is" : " are") + " marked free");
    }
    return lines;
}

} // namespace tolvane
