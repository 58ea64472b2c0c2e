// The image itself: its file, its pages, the chain table and the bank table.
#include "image/MemoryModule.h"

#include "support/UserServices.h"
#include "image/ByteOrder.h"
#include "support/PosixFile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace tolvane {

using namespace layout;

namespace {

constexpr char kSignatureBytes[2] = {0x20, 0x55}; // " U"

// Pages and bank table entries for a size code; every other code means no module at all.
struct Geometry {
    int pages;
    int banks;
};

Geometry GeometryOf(uint8_t sizeCode) {
    switch (sizeCode) {
    case 0x40:
        return {254, 8};
    case 0x50:
        return {126, 4};
    case 0x60:
        return {62, 2};
    case 0x70:
        return {14, 1};
    default:
        return {0, 0};
    }
}

} // namespace

MemoryModule::MemoryModule(UserServices& ui) : ui_(ui) {}

MemoryModule::~MemoryModule() {
    Clear();
}

void MemoryModule::Clear() {
    system_.fill(0);
    pages_.clear();
}

int MemoryModule::Load(const std::string& path, std::string* openFailure) {
    Clear();
    const int fd = OpenRegularFile(path, openFailure);
    if (fd < 0) {
        return kLoadCannotOpen;
    }
    const int result =
        LoadFrom([fd](uint8_t* buffer, std::size_t size) { return ReadFully(fd, buffer, size); });
    ::close(fd);
    return result;
}

int MemoryModule::LoadBytes(std::span<const uint8_t> bytes) {
    Clear();
    std::size_t position = 0;
    return LoadFrom([&](uint8_t* buffer, std::size_t size) {
        const std::size_t count = std::min(size, bytes.size() - position);
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(position), count, buffer);
        position += count;
        return count;
    });
}

int MemoryModule::LoadFrom(const ByteSource& source) {
    bool failed = source(system_.data(), kSystemAreaSize) < kSystemAreaSize;

    if (system_[0] != kSignatureBytes[0] || system_[1] != kSignatureBytes[1]) {
        ui_.ShowMessage("Not a valid memory module file", MessageIcon::Exclamation,
                        MessageButtons::Ok);
        system_.fill(0);
        failed = true;
    }

    const int pageCount = GetPageCount();
    while (!failed && static_cast<int>(pages_.size()) < pageCount) {
        auto page = std::make_unique<Page>();
        page->fill(0);
        const std::size_t got = source(page->data(), kPageSize);
        pages_.push_back(std::move(page));
        if (got < kPageSize) {
            failed = true;
        }
    }

    if (!IsFirmwareSupported()) {
        char text[256];
        std::snprintf(text, sizeof text,
                      "The firmware version %s is not supported by this version of Tolvane.\n"
                      "No Varko older than version %s are supported.",
                      GetFirmwareVersion().c_str(), kOldestSupportedFirmware);
        ui_.ShowMessage(text, MessageIcon::None, MessageButtons::Ok);
        failed = true;
    }
    return failed ? kLoadInvalid : kLoadOk;
}

int MemoryModule::Save(const std::string& path) const {
    // The file must exist already: it is neither created nor truncated, so a longer file keeps
    // its tail, as the unit's own tools expect.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        return kSaveCannotOpen;
    }
    const std::vector<uint8_t> bytes = GetBytes();
    const bool written = WriteFully(fd, bytes.data(), bytes.size());
    const bool closed = ::close(fd) == 0;
    return written && closed ? kSaveOk : kSaveWriteFailed;
}

std::vector<uint8_t> MemoryModule::GetBytes() const {
    const std::size_t pages = std::min<std::size_t>(pages_.size(), GetPageCount());
    std::vector<uint8_t> bytes(system_.begin(), system_.end());
    bytes.reserve(kSystemAreaSize + pages * kPageSize);
    for (std::size_t i = 0; i < pages; ++i) {
        bytes.insert(bytes.end(), pages_[i]->begin(), pages_[i]->end());
    }
    return bytes;
}

int MemoryModule::PageCountOf(uint8_t sizeCode) {
    return GeometryOf(sizeCode).pages;
}

int MemoryModule::BankCountOf(uint8_t sizeCode) {
    return GeometryOf(sizeCode).banks;
}

int MemoryModule::GetPageCount() const {
    return PageCountOf(GetSizeCode());
}

int MemoryModule::GetBankCount() const {
    return BankCountOf(GetSizeCode());
}

bool MemoryModule::IsPage(int page) const {
    return page >= 0 && page < GetPageCount() && page < GetLoadedPageCount();
}

std::span<uint8_t> MemoryModule::GetPage(int page) {
    if (!IsPage(page)) {
        return {};
    }
    return *pages_[static_cast<std::size_t>(page)];
}

std::span<const uint8_t> MemoryModule::GetPage(int page) const {
    if (!IsPage(page)) {
        return {};
    }
    return *pages_[static_cast<std::size_t>(page)];
}

std::string MemoryModule::GetFirmwareVersion() const {
    std::string text;
    for (const std::size_t offset :
         {kFirmwareVersion, kFirmwareVersion + 1, kFirmwareVersion + 2}) {
        if (system_[offset] == 0) {
            break;
        }
        text += static_cast<char>(system_[offset]);
        if (offset == kFirmwareVersion) {
            text += '.';
        }
    }
    return text;
}

bool MemoryModule::IsFirmwareSupported() const {
    return std::strcmp(GetFirmwareVersion().c_str(), kOldestSupportedFirmware) >= 0;
}

// --- links and chains -----------------------------------------------------------------------

int MemoryModule::PageOfLink(std::size_t linkOffset, std::span<const uint8_t> bytes) const {
    const int block = LinkedBlock(bytes[linkOffset], bytes[linkOffset + 1]);
    return block < kSystemBlocks ? kNoPage : block - kSystemBlocks;
}

int MemoryModule::GetNextPage(int page) const {
    const auto bytes = GetPage(page);
    if (bytes.empty()) {
        return kNoPage;
    }
    const int next = PageOfLink(kPageForwardLink, bytes);
    return IsPage(next) ? next : kNoPage;
}

std::size_t MemoryModule::ChainEntry(int chain) const {
    return kChainTable + kChainEntrySize * static_cast<std::size_t>(chain & (kChainCount - 1));
}

int MemoryModule::GetChainStartRaw(int chain) const {
    const std::size_t entry = ChainEntry(chain);
    // The unit keeps stray bits in the second byte of a chain table link; only five count.
    const int block = LinkedBlock(system_[entry], system_[entry + 1] & 31);
    return block < kSystemBlocks ? kNoPage : block - kSystemBlocks;
}

int MemoryModule::GetChainStart(int chain) const {
    const int page = GetChainStartRaw(chain);
    return IsPage(page) ? page : kNoPage;
}

void MemoryModule::SetChainStart(int chain, int page) {
    const std::size_t entry = ChainEntry(chain);
    const int block = page + kSystemBlocks;
    system_[entry] = static_cast<uint8_t>(0x80 | ((block / 32) & 7));
    system_[entry + 1] = static_cast<uint8_t>(block % 32);
    system_[entry + 2] = 1;
}

uint8_t MemoryModule::GetChainPageCount(int chain) const {
    return system_[ChainEntry(chain) + 2];
}

void MemoryModule::SetChainPageCount(int chain, uint8_t count) {
    system_[ChainEntry(chain) + 2] = count;
}

void MemoryModule::ClearChainEntry(int chain) {
    const std::size_t entry = ChainEntry(chain);
    std::fill_n(system_.begin() + static_cast<std::ptrdiff_t>(entry), 3, 0);
}

ChainWalk MemoryModule::WalkChain(int chain, int maxPages) const {
    const int raw = GetChainStartRaw(chain);
    if (raw != kNoPage && !IsPage(raw)) {
        return {{}, WalkEnd::BeyondImage};
    }
    return WalkFrom(raw, maxPages);
}

ChainWalk MemoryModule::WalkFrom(int firstPage, int maxPages) const {
    ChainWalk walk;
    std::vector<bool> seen(pages_.size(), false);
    int page = firstPage;
    while (page != kNoPage) {
        if (!IsPage(page)) {
            walk.end = WalkEnd::BeyondImage;
            return walk;
        }
        if (seen[static_cast<std::size_t>(page)]) {
            walk.end = WalkEnd::Loop;
            return walk;
        }
        if (static_cast<int>(walk.pages.size()) >= maxPages) {
            walk.end = WalkEnd::PageLimit;
            return walk;
        }
        seen[static_cast<std::size_t>(page)] = true;
        walk.pages.push_back(page);
        page = PageOfLink(kPageForwardLink, GetPage(page));
    }
    walk.end = WalkEnd::ChainEnd;
    return walk;
}

// --- pages and banks ------------------------------------------------------------------------

int MemoryModule::AllocatePage() {
    return AllocatePageAvoiding({});
}

int MemoryModule::AllocatePageAvoiding(const std::vector<bool>& taken) {
    for (int bank = 0; bank < GetBankCount(); ++bank) {
        const std::size_t entry = kBankTable + kBankEntrySize * static_cast<std::size_t>(bank);
        if ((system_[entry] & 0x80) == 0 || system_[entry + 1] == 0) {
            continue;
        }
        for (int j = 0; j < 4; ++j) {
            uint8_t& map = system_[entry + 4 + static_cast<std::size_t>(j)];
            for (int bit = 0; bit < 8; ++bit) {
                if ((map & (1 << bit)) == 0) {
                    continue;
                }
                const int page = bank * kBlocksPerBank + j * 8 + bit - kSystemBlocks;
                // A free bit for the system area or for a block the image does not hold is a
                // fault of the map; handing it out would corrupt the image, so it is passed over.
                if (!IsPage(page)) {
                    continue;
                }
                // A page that a chain holds is in use whatever the map says; it is passed over.
                if (static_cast<std::size_t>(page) < taken.size() &&
                    taken[static_cast<std::size_t>(page)]) {
                    continue;
                }
                map = static_cast<uint8_t>(map & ~(1 << bit));
                --system_[entry + 1];
                ClearPage(page);
                return page;
            }
        }
    }
    return kNoPage;
}

MemoryModule::FreeMapBit MemoryModule::FreeMapBitOf(int block) {
    const std::size_t entry = kBankTable + kBankEntrySize * static_cast<std::size_t>(block / 32);
    return {entry, entry + 4 + static_cast<std::size_t>((block % 32) / 8),
            static_cast<uint8_t>(1 << (block % 8))};
}

void MemoryModule::ReleasePage(int page) {
    if (!IsPage(page)) {
        return;
    }
    ClearPage(page);
    const FreeMapBit spot = FreeMapBitOf(page + kSystemBlocks);
    if ((system_[spot.bankEntry] & 0x80) == 0) {
        return;
    }
    // A page already marked free is not counted twice, or the free count would drift above
    // what the map holds.
    if ((system_[spot.mapByte] & spot.mask) == 0) {
        system_[spot.mapByte] |= spot.mask;
        ++system_[spot.bankEntry + 1];
    }
}

bool MemoryModule::IsMarkedFree(int page) const {
    if (!IsPage(page)) {
        return false;
    }
    const FreeMapBit spot = FreeMapBitOf(page + kSystemBlocks);
    return (system_[spot.bankEntry] & 0x80) != 0 && (system_[spot.mapByte] & spot.mask) != 0;
}

void MemoryModule::LinkPages(int from, int to) {
    if (!IsPage(from) || !IsPage(to)) {
        return;
    }
    auto fromBytes = GetPage(from);
    auto toBytes = GetPage(to);
    const int toBlock = to + kSystemBlocks;
    const int fromBlock = from + kSystemBlocks;
    fromBytes[kPageForwardLink] = static_cast<uint8_t>(0x80 | ((toBlock / 32) & 7));
    fromBytes[kPageForwardLink + 1] = static_cast<uint8_t>(toBlock % 32);
    toBytes[kPageBackLink] = static_cast<uint8_t>((fromBlock / 32) & 7);
    toBytes[kPageBackLink + 1] = static_cast<uint8_t>(fromBlock % 32);
}

void MemoryModule::ClearBackLink(int page) {
    if (auto bytes = GetPage(page); !bytes.empty()) {
        bytes[kPageBackLink] = 0;
        bytes[kPageBackLink + 1] = 0;
    }
}

void MemoryModule::EndChain(int page) {
    if (auto bytes = GetPage(page); !bytes.empty()) {
        bytes[kPageForwardLink] = 0;
        bytes[kPageForwardLink + 1] = 0;
    }
}

void MemoryModule::ClearPage(int page) {
    if (auto bytes = GetPage(page); !bytes.empty()) {
        std::fill(bytes.begin(), bytes.end(), 0);
    }
}

void MemoryModule::ClearPageData(int page) {
    if (auto bytes = GetPage(page); !bytes.empty()) {
        std::fill(bytes.begin() + kPageHeaderSize, bytes.end(), 0);
    }
}

bool MemoryModule::IsBankPresent(int bank) const {
    if (bank < 0 || bank >= kMaxBanks) {
        return false;
    }
    return (system_[kBankTable + kBankEntrySize * static_cast<std::size_t>(bank)] & 0x80) != 0;
}

uint8_t MemoryModule::GetBankFreeCount(int bank) const {
    if (bank < 0 || bank >= kMaxBanks) {
        return 0;
    }
    return system_[kBankTable + kBankEntrySize * static_cast<std::size_t>(bank) + 1];
}

int MemoryModule::GetFreePageCount() const {
    int free = 0;
    for (int bank = 0; bank < GetBankCount(); ++bank) {
        if (IsBankPresent(bank)) {
            free += GetBankFreeCount(bank);
        }
    }
    return free;
}

UnitAddress MemoryModule::GetUnitAddress(int page, std::size_t pageOffset) {
    const int block = page + kSystemBlocks;
    return {static_cast<uint8_t>(block / kBlocksPerBank),
            static_cast<uint16_t>(0x8000 + (block % kBlocksPerBank) * kPageSize + pageOffset)};
}

void MemoryModule::ReleaseFrom(int page, std::vector<bool>& taken) {
    while (IsPage(page) && !taken[static_cast<std::size_t>(page)]) {
        const int next = PageOfLink(kPageForwardLink, GetPage(page));
        taken[static_cast<std::size_t>(page)] = true; // never visit it twice on a looping tail
        ReleasePage(page);
        page = next;
    }
}

std::vector<bool> MemoryModule::PagesOfOtherChains(int chain) const {
    std::vector<bool> taken(pages_.size(), false);
    for (int other = 0; other < kChainCount; ++other) {
        if (other == chain) {
            continue;
        }
        // The pages the chain holds by its count; a page count of 0 still holds the first page
        // (an emptied block code chain keeps one).
        const int count = std::max<int>(GetChainPageCount(other), 1);
        for (const int page : WalkChain(other, count).pages) {
            taken[static_cast<std::size_t>(page)] = true;
        }
    }
    return taken;
}

int MemoryModule::StartChainForWriting(int chain, bool nothingToWrite, const char* what,
                                       std::vector<bool>& taken) {
    int first = GetChainStart(chain);
    const int count = GetChainPageCount(chain);
    if (first != kNoPage && taken[static_cast<std::size_t>(first)]) {
        // The entry names another chain's page: it is not ours to write or release, and the entry
        // must stop naming it, or the next read takes the other chain's bytes for this one's.
        ClearChainEntry(chain);
        first = kNoPage;
    }
    if (nothingToWrite && (first == kNoPage || count == 0)) {
        return kNoPage;
    }
    if (nothingToWrite) {
        // The chain keeps its first page, emptied as a fresh one, and gives up the rest. Giving
        // up the first page too and taking the lowest free one would move the chain whenever a
        // page below it came free, so that saving the same lists twice would not give the same
        // file.
        taken[static_cast<std::size_t>(first)] = true;
        ReleaseFrom(PageOfLink(kPageForwardLink, GetPage(first)), taken);
        ClearPage(first);
        SetChainStart(chain, first);
    } else if (first == kNoPage || count == 0) {
        if (first != kNoPage) {
            ReleasePage(first);
        }
        first = AllocatePageAvoiding(taken);
        if (first == kNoPage) {
            ShowOutOfPages(what);
            return kNoPage;
        }
        SetChainStart(chain, first);
    }
    taken[static_cast<std::size_t>(first)] = true;
    ClearBackLink(first);
    return first;
}

int MemoryModule::NextPageForWriting(int current, std::vector<bool>& taken) {
    int next = GetNextPage(current);
    if (next == kNoPage || taken[static_cast<std::size_t>(next)]) {
        next = AllocatePageAvoiding(taken);
        if (next == kNoPage) {
            return kNoPage;
        }
        LinkPages(current, next);
        EndChain(next);
    }
    taken[static_cast<std::size_t>(next)] = true;
    return next;
}

void MemoryModule::FinishChain(int chain, int last, int pagesUsed, std::vector<bool>& taken) {
    const int rest = PageOfLink(kPageForwardLink, GetPage(last));
    EndChain(last);
    ReleaseFrom(rest, taken);
    SetChainPageCount(chain, static_cast<uint8_t>(pagesUsed));
}

void MemoryModule::ShowOutOfPages(const char* what) const {
    ui_.ShowMessage(std::string("No more memory module pages available for ") + what,
                    MessageIcon::Exclamation, MessageButtons::Ok);
}

} // namespace tolvane
