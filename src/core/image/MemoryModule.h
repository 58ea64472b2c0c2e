// The image of a unit's memory module: a 2048-byte system area followed by 1024-byte pages, with
// the file it lives in, the page and chain primitives, the system area fields and tables, and the
// packing of codes and the telephone directory into their page chains.
#pragma once

#include "config/UnitConfiguration.h"
#include "image/SystemAreaLayout.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace tolvane {

class UserServices;

// Chains of the chain table that the program knows.
enum Chain : int {
    kSingleTransmitterChain = 0,
    kBlockTransmitterChain = 2,
    kEntryCodeChain = 4,
    kBlockCardChain = 6,
    kDirectoryChain = 14,
    kEventLogChain = 15,
};

// Kinds of block codes, as the document and the editors name them.
enum BlockKind : int { kBlockCards = 1, kBlockTransmitters = 2 };

// Results of Load.
inline constexpr int kLoadOk = 0;
inline constexpr int kLoadCannotOpen = 1;
inline constexpr int kLoadInvalid = 2;

// Results of Save. A failed write is its own result: a half-written file must never pass for a
// saved one.
inline constexpr int kSaveOk = 0;
inline constexpr int kSaveCannotOpen = 1;
inline constexpr int kSaveWriteFailed = 2;

inline constexpr int kNoPage = -1;

// How a walk along a chain ended.
enum class WalkEnd {
    ChainEnd,    // a zero link: the chain ends where it should
    PageLimit,   // the walk took as many pages as it was asked to
    BeyondImage, // a link names a page that the image does not hold
    Loop,        // a link comes back to a page already walked
};

struct ChainWalk {
    std::vector<int> pages;
    WalkEnd end = WalkEnd::ChainEnd;
};

// A byte as the unit addresses it: bank, then a 16-bit address within the bank's window.
struct UnitAddress {
    uint8_t bank = 0;
    uint16_t address = 0;

    bool operator==(const UnitAddress&) const = default;
};

class MemoryModule {
public:
    using Page = std::array<uint8_t, layout::kPageSize>;

    static constexpr const char* kOldestSupportedFirmware = "5.00";

    explicit MemoryModule(UserServices& ui);
    ~MemoryModule();
    MemoryModule(const MemoryModule&) = delete;
    MemoryModule& operator=(const MemoryModule&) = delete;

    // --- the image and its file -------------------------------------------------------------

    void Clear();
    // Only a regular file loads; anything else (a FIFO, a device, a directory) cannot be opened.
    // openFailure, when given, receives why the file could not be opened.
    int Load(const std::string& path, std::string* openFailure = nullptr);
    // The same checks and messages as Load, on bytes already in memory.
    int LoadBytes(std::span<const uint8_t> bytes);
    int Save(const std::string& path) const;
    // What Save writes: the system area and the pages held, never more than the size code gives.
    std::vector<uint8_t> GetBytes() const;

    // Geometry of a size code; every code outside the table means no module at all.
    static int PageCountOf(uint8_t sizeCode);
    static int BankCountOf(uint8_t sizeCode);

    uint8_t GetSizeCode() const { return system_[layout::kSizeCode]; }
    int GetPageCount() const;
    int GetBankCount() const;
    int GetLoadedPageCount() const { return static_cast<int>(pages_.size()); }
    // True for a page that the size code covers and the image holds.
    bool IsPage(int page) const;

    std::span<uint8_t, layout::kSystemAreaSize> GetSystemArea() { return system_; }
    std::span<const uint8_t, layout::kSystemAreaSize> GetSystemArea() const { return system_; }
    // The page's bytes, or an empty span for a page that IsPage refuses.
    std::span<uint8_t> GetPage(int page);
    std::span<const uint8_t> GetPage(int page) const;

    std::string GetFirmwareVersion() const;
    bool IsFirmwareSupported() const;

    // --- links, chains and banks ------------------------------------------------------------

    // Block number named by a two-byte block link.
    static int LinkedBlock(uint8_t byte0, uint8_t byte1) { return (byte0 & 7) * 32 + byte1; }

    int GetNextPage(int page) const;
    int GetChainStart(int chain) const;
    // The page that chain's entry names, whether or not the image holds it (kNoPage for none).
    int GetChainStartRaw(int chain) const;
    void SetChainStart(int chain, int page);
    uint8_t GetChainPageCount(int chain) const;
    void SetChainPageCount(int chain, uint8_t count);
    void ClearChainEntry(int chain);
    // The pages of a chain in order, at most maxPages of them. Every walk ends: at a zero link, at
    // a link beyond the image and at a page it has already taken.
    ChainWalk WalkChain(int chain, int maxPages) const;
    ChainWalk WalkFrom(int firstPage, int maxPages) const;

    int AllocatePage();
    void ReleasePage(int page);
    void LinkPages(int from, int to);
    void ClearBackLink(int page);
    void EndChain(int page);
    void ClearPage(int page);
    void ClearPageData(int page);

    // True when the free map of a present bank calls the page free: AllocatePage may hand it out.
    bool IsMarkedFree(int page) const;
    bool IsBankPresent(int bank) const;
    uint8_t GetBankFreeCount(int bank) const;
    // Free pages over the present banks that the size code covers.
    int GetFreePageCount() const;

    static UnitAddress GetUnitAddress(int page, std::size_t pageOffset);

    // --- system area fields -----------------------------------------------------------------

    bool GetAccOutButtonOffset() const;
    uint8_t GetAccOutFormat() const;
    uint8_t GetAccOutFacilityCode() const;
    uint8_t GetAccOutMode() const;
    uint8_t GetTransmitterFacilityCode() const;
    uint16_t GetSystemSiteCode() const;
    uint8_t GetDefaultButton(int channel) const;
    uint8_t GetAlarmCutoffTime() const;
    uint16_t GetMaximumTransactionEntries() const;
    uint8_t GetCardFacilityCode(int index) const; // index 0 to 3
    uint16_t GetMaximumDirectoryCodes() const;
    uint16_t GetDirectoryEntriesWritten() const;
    UnitAddress GetDirectoryFirstRecord() const;
    UnitAddress GetDirectoryMiddleRecord() const;
    std::string GetLocalPassword() const;
    std::string GetRemotePassword() const;
    uint8_t GetRelayOperation(int channel) const;
    uint8_t GetRelayTelephoneDigit(int channel) const;
    uint16_t GetRelayActivationTime(int channel) const;
    uint8_t GetRelayTimeZone(int channel, int slot) const; // slot 0 to 3
    std::string GetInstallationName() const;
    std::string GetUnitName() const;
    std::string GetChannelName(int channel) const;

    // --- fixed tables -----------------------------------------------------------------------

    void GetValidationGroups(ValidationGroupTable& table) const;
    void SetValidationGroups(const ValidationGroupTable& table);
    void GetDoorSchedules(DoorScheduleTable& table) const;
    void SetDoorSchedules(const DoorScheduleTable& table);
    void GetTimeZones(TimeZoneTable& table) const;
    void SetTimeZones(const TimeZoneTable& table);
    void GetHolidays(HolidayTable& table) const;
    void SetHolidays(const HolidayTable& table);
    void GetExpiringHolidays(ExpiringHolidayTable& table) const;
    void SetExpiringHolidays(const ExpiringHolidayTable& table);

    // --- code pages -------------------------------------------------------------------------

    void ReadEntryCodes(EntryCodeArray& codes) const;
    void WriteEntryCodes(const EntryCodeArray& codes);
    void ReadBlockCodes(BlockCodeList& list, int kind) const;
    void WriteBlockCodes(const BlockCodeList& list, int kind);
    // Pages the lists take when written, and how many the chain can have: its own pages and the
    // free ones, within what a chain's page count can say.
    static int EntryCodePagesNeeded(std::size_t codes);
    static int BlockCodePagesNeeded(const BlockCodeList& list);
    int PagesAvailableTo(int chain) const;

    // --- telephone directory pages ----------------------------------------------------------

    void ReadDirectory(DirectoryList& list);
    void WriteDirectory(const DirectoryList& list);
    uint16_t GetDirectoryCapacity() const { return directoryCapacity_; }
    // The record slots the directory really has: the capacity, cut to what its pages hold. Slot 0
    // is the header, so one entry fewer fits.
    uint16_t GetDirectorySlots() const;

    // --- the whole configuration ------------------------------------------------------------

    // Fills every list and table of the unit from the image.
    void Unpack(UnitConfiguration& unit);
    // Writes every list and table into the image. Packing may show the out-of-pages messages.
    void Pack(const UnitConfiguration& unit);

private:
    // Reads up to size bytes into the buffer and returns how many came.
    using ByteSource = std::function<std::size_t(uint8_t* buffer, std::size_t size)>;

    int LoadFrom(const ByteSource& source);
    // Where the bank table keeps a block: its bank's entry, the free map byte that covers it and
    // its bit in that byte.
    struct FreeMapBit {
        std::size_t bankEntry;
        std::size_t mapByte;
        uint8_t mask;
    };
    static FreeMapBit FreeMapBitOf(int block);
    int PageOfLink(std::size_t linkOffset, std::span<const uint8_t> bytes) const;
    std::size_t ChainEntry(int chain) const;
    std::string ReadName(std::size_t offset) const;
    std::string ReadPassword(std::size_t offset) const;
    // Writing a code chain. taken marks the pages that the chain being written must leave alone:
    // those of every other chain, and those it has written so far.
    std::vector<bool> PagesOfOtherChains(int chain) const;
    int AllocatePageAvoiding(const std::vector<bool>& taken);
    // Releases the pages from page on along the forward links, up to the first taken one.
    void ReleaseFrom(int page, std::vector<bool>& taken);
    // The chain's first page, ready to be written over: the existing one, or a new one when the
    // chain has none. kNoPage when there is nothing to write or no page is free (said to the user).
    int StartChainForWriting(int chain, bool nothingToWrite, const char* what,
                             std::vector<bool>& taken);
    // The page after current: the one its forward link names when that is not taken, else a new
    // one linked in. kNoPage when none is free.
    int NextPageForWriting(int current, std::vector<bool>& taken);
    // Ends the chain at its last written page, releases what followed and sets the page count.
    void FinishChain(int chain, int last, int pagesUsed, std::vector<bool>& taken);
    void ShowOutOfPages(const char* what) const;
    // The directory chain's pages that hold records: all but its last, the name page.
    std::vector<int> DirectoryRecordPages() const;

    UserServices& ui_;
    std::vector<std::unique_ptr<Page>> pages_;
    std::array<uint8_t, layout::kSystemAreaSize> system_{};
    uint16_t directoryCapacity_ = 0;
};

} // namespace tolvane
