// Where things are in the memory module image. Every offset is from the start of the system area
// unless it says page.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tolvane::layout {

inline constexpr std::size_t kSystemAreaSize = 2048;
inline constexpr std::size_t kPageSize = 1024;
inline constexpr std::size_t kPageHeaderSize = 8;
inline constexpr int kBlocksPerBank = 32;
inline constexpr int kSystemBlocks = 2; // blocks 0 and 1 hold the system area

// System area fields.
inline constexpr std::size_t kSignature = 0;
inline constexpr std::size_t kSizeCode = 2;
inline constexpr std::size_t kAccOutButtonOffset = 6;
inline constexpr std::size_t kAccOutFormat = 7;
inline constexpr std::size_t kAccOutFacilityCode = 8;
inline constexpr std::size_t kAccOutMode = 9;
inline constexpr std::size_t kTransmitterFacilityCode = 10;
inline constexpr std::size_t kSystemSiteCode = 11;
inline constexpr std::size_t kFirmwareVersion = 14;
inline constexpr std::size_t kDefaultButton = 18;
inline constexpr std::size_t kAlarmCutoffTime = 22;
inline constexpr std::size_t kMaximumTransactionEntries = 25;
inline constexpr std::size_t kCardFacilityCode = 28;
inline constexpr std::size_t kBankTable = 32;
inline constexpr std::size_t kBankEntrySize = 8;
inline constexpr int kMaxBanks = 8;
inline constexpr std::size_t kChainTable = 160;
inline constexpr std::size_t kChainEntrySize = 4;
inline constexpr int kChainCount = 16;
inline constexpr std::size_t kDirectoryCapacity = 224;
inline constexpr std::size_t kDirectoryEntriesWritten = 226;
inline constexpr std::size_t kDirectoryFirstRecord = 228;
inline constexpr std::size_t kDirectoryMiddleRecord = 231;
inline constexpr std::size_t kLocalPassword = 352;
inline constexpr std::size_t kRemotePassword = 360;
inline constexpr std::size_t kPasswordSize = 8;
inline constexpr std::size_t kRelay = 385;
inline constexpr std::size_t kRelayActivationTime = 386;
inline constexpr std::size_t kRelayTimeZones = 390;
inline constexpr std::size_t kRelayStride = 8;
inline constexpr std::size_t kValidationGroups = 1008; // group g (1 to 15) at 1008 + 8g
inline constexpr std::size_t kValidationGroupSize = 8;
inline constexpr std::size_t kDoorSchedules = 1136; // schedule d (1 to 15) at 1136 + d
inline constexpr std::size_t kHolidays = 1160;      // slot h at 1160 + 2h
inline constexpr std::size_t kTimeZones = 1208;     // zone t (1 to 15) at 1208 + 20t
inline constexpr std::size_t kTimeZoneSize = 20;
inline constexpr std::size_t kInstallationName = 1656;
inline constexpr std::size_t kUnitName = 1680;
inline constexpr std::size_t kChannelNames = 1752; // channel c at 1752 + 24c
inline constexpr std::size_t kNameSize = 24;
inline constexpr std::size_t kExpiringHolidays = 1920; // slot h at 1920 + 3h

static_assert(kBankTable + kMaxBanks * kBankEntrySize <= kChainTable);
static_assert(kChainTable + kChainCount * kChainEntrySize == kDirectoryCapacity);
static_assert(kValidationGroups + 16 * kValidationGroupSize == kDoorSchedules);
static_assert(kTimeZones + 16 * kTimeZoneSize <= kInstallationName);
static_assert(kChannelNames + 4 * kNameSize <= kExpiringHolidays);
static_assert(kExpiringHolidays + 24 * 3 <= kSystemAreaSize);

// Page header.
inline constexpr std::size_t kPageForwardLink = 0;
inline constexpr std::size_t kPageHeaderByte2 = 2;
inline constexpr std::size_t kPageHeaderByte3 = 3;
inline constexpr std::size_t kPageBackLink = 4;

// Entry code pages.
inline constexpr int kEntryCodeSlots = 127;
inline constexpr std::size_t kEntryCodeRecordSize = 8;
inline constexpr uint8_t kEntryCodePageLeftForNext = 3;
static_assert(kPageHeaderSize + kEntryCodeSlots * kEntryCodeRecordSize == kPageSize);

// Block code pages.
inline constexpr int kBlockCodesPerPage = 8064;
inline constexpr std::size_t kBlockMarker = 8;
inline constexpr std::size_t kBlockFirstCode = 9;
inline constexpr std::size_t kBlockLastCode = 11;
inline constexpr std::size_t kBlockValidationGroup = 13;
inline constexpr std::size_t kBlockByte15 = 15;
inline constexpr std::size_t kBlockSuspensionMap = 16;
static_assert(kBlockSuspensionMap + kBlockCodesPerPage / 8 == kPageSize);

// Directory pages.
inline constexpr int kDirectorySlotsPerPage = 21;
inline constexpr std::size_t kDirectorySlots = 16;
inline constexpr std::size_t kDirectoryRecordSize = 48;
inline constexpr std::size_t kDirectoryPhoneSize = 12;
static_assert(kDirectorySlots + kDirectorySlotsPerPage * kDirectoryRecordSize <= kPageSize);
inline constexpr int kNamePageSlots = 40;
inline constexpr std::size_t kNamePageRecords = 16;
inline constexpr std::size_t kNamePageRecordSize = 25;
static_assert(kNamePageRecords + kNamePageSlots * kNamePageRecordSize <= kPageSize);

// Event log pages.
inline constexpr int kEventSlotsPerPage = 84;
inline constexpr std::size_t kEventRecordSize = 12;
static_assert(kPageHeaderSize + kEventSlotsPerPage * kEventRecordSize <= kPageSize);

} // namespace tolvane::layout
