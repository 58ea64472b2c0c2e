#include "ListCommands.h"

#include "CliApp.h"
#include "CsvText.h"
#include "ImageCommands.h"
#include "Latin1Text.h"
#include "ListKind.h"
#include "SystemTableLists.h"
#include "config/BlockCodeEditor.h"
#include "config/DirectoryEditor.h"
#include "config/EntryCodeEditor.h"
#include "config/PhoneNumberText.h"
#include "config/UnitConfiguration.h"
#include "document/EditedLists.h"
#include "image/MemoryModule.h"
#include "image/PageClaims.h"
#include "support/PosixFile.h"
#include "support/UserServices.h"

#include <array>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace tolvane {

namespace {

using Failure = CsvText::Failure;
using Fields = ListKind::Fields;

// --- fields the dialogs do not have as text ---------------------------------------------------

// A zero byte would end the name in the record, so the unit cannot hold U+0000 either.
std::optional<std::string> Utf8ToLatin1(std::string_view text, std::string& bytes) {
    static constexpr uint32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    const std::string notUtf8 = "The tenant name is not valid UTF-8";
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80                    ? 1
                                   : lead >= 0xC2 && lead <= 0xDF ? 2
                                   : lead >= 0xE0 && lead <= 0xEF ? 3
                                   : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                                  : 0;
        if (length == 0 || i + length > text.size()) {
            return notUtf8;
        }
        uint32_t point = length == 1 ? lead : lead & (0x7Fu >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                return notUtf8;
            }
            point = point << 6 | (next & 0x3Fu);
        }
        if (point < kLeast[length] || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) {
            return notUtf8;
        }
        if (point == 0 || point > 0xFF) {
            char why[100];
            std::snprintf(why, sizeof why,
                          "The tenant name holds U+%04X, which the unit's character set "
                          "(Latin-1) does not have",
                          static_cast<unsigned>(point));
            return why;
        }
        bytes += static_cast<char>(point);
        i += length;
    }
    return std::nullopt;
}

// --- pages of the code lists ------------------------------------------------------------------

// The pages that a row adds to what the list needs.
struct RowPages {
    int line;
    int pages;
};

// A code list must fit into the pages its chain can have; the refusal names the first row that
// does not fit, and the pages the whole list needs.
std::optional<Failure> CheckFit(const MemoryModule& image, int chain, const char* pagesFor,
                                const std::vector<RowPages>& rows) {
    const int available = image.PagesAvailableTo(chain);
    int needed = 0;
    std::optional<int> firstOver;
    for (const RowPages& row : rows) {
        needed += row.pages;
        if (needed > available && !firstOver) {
            firstOver = row.line;
        }
    }
    if (!firstOver) {
        return std::nullopt;
    }
    return Failure{*firstOver, std::string("No more memory module pages available for ") +
                                   pagesFor + ": the list needs " + std::to_string(needed) +
                                   " pages, " + std::to_string(available) + " are available"};
}

// --- the kinds --------------------------------------------------------------------------------

void WriteEntryCodes(const ListKind& /*kind*/, const UnitConfiguration& unit, std::ostream& out) {
    for (const EntryCode& code : unit.entryCodes) {
        out << CsvText::Row({EntryCodeEditor::CodeText(code), std::to_string(code.validationGroup),
                             ListKind::YesNo(code.active != 0)});
    }
}

std::optional<Failure> ImportEntryCodes(const ListKind& kind, std::string_view csv,
                                        MemoryModule& image, UnitConfiguration& unit) {
    EntryCodeEditor editor;
    std::vector<RowPages> pages;
    auto failure =
        kind.ReadRows(csv, [&](const Fields& fields, int line) -> std::optional<std::string> {
            bool active = false;
            if (auto refusal = kind.ReadYesNo(fields, 2, active)) {
                return refusal;
            }
            EntryCode code;
            if (auto refusal = EntryCodeEditor::ReadFields(fields[0], fields[1], active, code)) {
                return refusal;
            }
            if (auto refusal = editor.Add(code)) {
                return refusal;
            }
            const std::size_t count = editor.Codes().size();
            pages.push_back({line, MemoryModule::EntryCodePagesNeeded(count) -
                                       MemoryModule::EntryCodePagesNeeded(count - 1)});
            return std::nullopt;
        });
    if (!failure) {
        failure = CheckFit(image, kEntryCodeChain, "entry codes", pages);
    }
    if (!failure) {
        TakeEntryCodes(editor, unit);
    }
    return failure;
}

const BlockCodeList& BlockCodesOf(const ListKind& kind, const UnitConfiguration& unit) {
    return kind.blockKind == kBlockTransmitters ? unit.blockTransmitters : unit.blockCards;
}

// Each suspended code goes with the first range that covers it, as the editor finds it; one that no
// range covers has no row, and the image drops it anyway.
void WriteBlockCodes(const ListKind& kind, const UnitConfiguration& unit, std::ostream& out) {
    BlockCodeEditor editor;
    editor.Load(BlockCodesOf(kind, unit));
    const std::vector<BlockRange>& ranges = editor.List().ranges;
    std::vector<std::string> suspended(ranges.size());
    for (const uint16_t code : editor.SuspendedSorted()) {
        if (const auto range = editor.RangeOf(code)) {
            std::string& text = suspended[*range];
            if (!text.empty()) {
                text += ' ';
            }
            text += std::to_string(code);
        }
    }
    for (std::size_t i = 0; i < ranges.size(); ++i) {
        out << CsvText::Row({std::to_string(ranges[i].First()), std::to_string(ranges[i].Last()),
                             std::to_string(ranges[i].ValidationGroup()), suspended[i]});
    }
}

std::optional<Failure> ImportBlockCodes(const ListKind& kind, std::string_view csv,
                                        MemoryModule& image, UnitConfiguration& unit) {
    BlockCodeEditor editor;
    std::vector<RowPages> pages;
    auto failure =
        kind.ReadRows(csv, [&](const Fields& fields, int line) -> std::optional<std::string> {
            BlockRange range;
            if (auto refusal = BlockCodeEditor::ReadRange(fields[0], fields[1], fields[2], range)) {
                return refusal;
            }
            editor.AddRange(range);
            const std::string& codes = fields[3];
            for (std::size_t at = 0; at < codes.size();) {
                const std::size_t end = std::min(codes.find(' ', at), codes.size());
                const std::string text = codes.substr(at, end - at);
                at = end + 1;
                if (text.empty()) {
                    continue;
                }
                uint16_t code = 0;
                if (auto refusal = BlockCodeEditor::ReadSuspendCode(text, code)) {
                    return refusal;
                }
                // The editor would take a code that an earlier range covers; a row must hold its
                // own codes, or the list would not read back as it was written.
                if (code < range.First() || code > range.Last()) {
                    return "The suspended code " + text + " lies outside this row's range " +
                           std::to_string(range.First()) + " to " + std::to_string(range.Last());
                }
                if (auto refusal = editor.AddSuspended(code)) {
                    return refusal;
                }
            }
            pages.push_back({line, MemoryModule::BlockCodePagesNeeded({{range}, {}})});
            return std::nullopt;
        });
    if (!failure) {
        const bool transmitters = kind.blockKind == kBlockTransmitters;
        failure = CheckFit(image, transmitters ? kBlockTransmitterChain : kBlockCardChain,
                           "block codes", pages);
    }
    if (!failure) {
        TakeBlockCodes(editor, kind.blockKind, unit, image);
    }
    return failure;
}

void WriteDirectory(const ListKind& /*kind*/, const UnitConfiguration& unit, std::ostream& out) {
    for (std::size_t i = 0; i < unit.directory.Count(); ++i) {
        const DirectoryEntry& entry = unit.directory.At(i);
        out << CsvText::Row({std::to_string(entry.code), Latin1ToUtf8(entry.name),
                             FormatPhoneNumber(entry), ListKind::YesNo(entry.extendedTalk != 0)});
    }
}

std::optional<Failure> ImportDirectory(const ListKind& kind, std::string_view csv,
                                       MemoryModule& image, UnitConfiguration& unit) {
    DirectoryEditor editor(image.GetDirectorySlots());
    auto failure =
        kind.ReadRows(csv, [&](const Fields& fields, int /*line*/) -> std::optional<std::string> {
            if (auto refusal = editor.CheckRoom()) {
                return refusal;
            }
            bool extendedTalk = false;
            if (auto refusal = kind.ReadYesNo(fields, 3, extendedTalk)) {
                return refusal;
            }
            std::string name;
            if (auto refusal = Utf8ToLatin1(fields[1], name)) {
                return refusal;
            }
            auto entry = std::make_unique<DirectoryEntry>();
            if (auto refusal =
                    DirectoryEditor::ReadFields(fields[0], name, fields[2], extendedTalk, *entry)) {
                return refusal;
            }
            return editor.Add(std::move(entry));
        });
    if (!failure) {
        TakeDirectory(editor, unit, image);
    }
    return failure;
}

int UnknownKind(const std::string& command, const std::string& kindName, std::ostream& err) {
    err << "tolvane-cli " << command << ": no such list: " << kindName << '\n'
        << CommandUsage(command);
    return kExitUsage;
}

// The whole file, or nullopt with why in failure. Only a regular file opens, as for images.
std::optional<std::string> ReadTextFile(const std::string& path, std::string& failure) {
    const int fd = OpenRegularFile(path, &failure);
    if (fd < 0) {
        return std::nullopt;
    }
    struct stat info {};
    std::string text;
    bool whole = ::fstat(fd, &info) == 0;
    if (whole) {
        text.resize(static_cast<std::size_t>(info.st_size));
        whole = ReadFully(fd, reinterpret_cast<uint8_t*>(text.data()), text.size()) == text.size();
    }
    ::close(fd);
    if (!whole) {
        failure = "reading failed";
        return std::nullopt;
    }
    return text;
}

// Both commands begin alike: the kind, then the file loaded and unpacked. The exit status of
// what failed, else kLoadOk.
int OpenList(const std::string& command, const std::string& kindName, const std::string& path,
             std::ostream& err, const ListKind*& kind, MemoryModule& image,
             UnitConfiguration& unit) {
    kind = FindListKind(kindName);
    if (kind == nullptr) {
        return UnknownKind(command, kindName, err);
    }
    const int result = LoadForCommand(image, path, err);
    if (result == kLoadOk) {
        image.Unpack(unit);
    }
    return result;
}

} // namespace

const ListKind* FindListKind(std::string_view name) {
    static const std::array<ListKind, 8> kinds{{
        {"entry-codes", {"code", "group", "active"}, WriteEntryCodes, ImportEntryCodes},
        {"block-transmitters",
         {"first", "last", "group", "suspended"},
         WriteBlockCodes,
         ImportBlockCodes,
         kBlockTransmitters},
        {"block-cards",
         {"first", "last", "group", "suspended"},
         WriteBlockCodes,
         ImportBlockCodes,
         kBlockCards},
        {"directory", {"code", "name", "phone", "extended_talk"}, WriteDirectory, ImportDirectory},
        {"validation-groups",
         {"group", "door_schedule", "tz1", "tz2", "tz3", "tz4", "anti_passback"},
         WriteValidationGroups,
         ImportValidationGroups},
        {"door-schedules",
         {"schedule", "door_a", "door_b", "door_c", "door_d"},
         WriteDoorSchedules,
         ImportDoorSchedules},
        {"time-zones",
         {"zone", "days", "period1", "period2", "period3", "period4"},
         WriteTimeZones,
         ImportTimeZones},
        {"holidays", {"kind", "year", "month", "day"}, WriteHolidays, ImportHolidays},
    }};
    for (const ListKind& kind : kinds) {
        if (kind.name == name) {
            return &kind;
        }
    }
    return nullptr;
}

void WriteList(const ListKind& kind, const UnitConfiguration& unit, std::ostream& out) {
    out << CsvText::Row(kind.columns);
    kind.write(kind, unit, out);
}

int RunList(const std::string& kindName, const std::string& path, UserServices& ui,
            std::ostream& out, std::ostream& err) {
    const ListKind* kind = nullptr;
    MemoryModule image(ui);
    UnitConfiguration unit;
    if (const int result = OpenList("list", kindName, path, err, kind, image, unit);
        result != kLoadOk) {
        return result;
    }
    WriteList(*kind, unit, out);
    return 0;
}

int RunImport(const std::string& kindName, const std::string& path, const std::string& csvPath,
              UserServices& ui, std::ostream& err) {
    const ListKind* kind = nullptr;
    MemoryModule image(ui);
    UnitConfiguration unit;
    if (const int result = OpenList("import", kindName, path, err, kind, image, unit);
        result != kLoadOk) {
        return result;
    }
    // Writing a list back into a module whose lists share pages keeps the damage; the window asks
    // first, and here nobody is there to say yes.
    if (const auto damage = DescribeSharedPages(FindSharedPages(image)); !damage.empty()) {
        err << "tolvane-cli: " << path
            << " is damaged: some of its pages belong to more than one list; nothing imported\n";
        for (const std::string& text : damage) {
            err << "tolvane-cli: " << text << '\n';
        }
        return kExitSharedPages;
    }
    std::string why;
    const std::optional<std::string> csv = ReadTextFile(csvPath, why);
    if (!csv) {
        err << "tolvane-cli: cannot open " << csvPath << ": " << why << '\n';
        return kLoadCannotOpen;
    }
    if (const auto failure = kind->import(*kind, *csv, image, unit)) {
        err << csvPath << ':' << failure->line << ": " << failure->message << '\n';
        return kExitDataRefused;
    }
    if (PackAndSave(image, unit, path) != kSaveOk) {
        ui.ShowMessage("Error Saving the file", MessageIcon::None, MessageButtons::Ok);
        return kExitSaveFailed;
    }
    return 0;
}

} // namespace tolvane
