#include "document/EditedLists.h"

#include "config/BlockCodeEditor.h"
#include "config/DirectoryEditor.h"
#include "config/EntryCodeEditor.h"
#include "config/UnitConfiguration.h"
#include "document/Backups.h"
#include "image/MemoryModule.h"

namespace tolvane {

void TakeBlockCodes(const BlockCodeEditor& editor, int kind, UnitConfiguration& lists,
                    MemoryModule& image) {
    BlockCodeList& list = kind == kBlockTransmitters ? lists.blockTransmitters : lists.blockCards;
    editor.Store(list);
    image.WriteBlockCodes(list, kind);
}

void TakeDirectory(DirectoryEditor& editor, UnitConfiguration& lists, MemoryModule& image) {
    editor.Store(lists.directory);
    image.WriteDirectory(lists.directory);
}

void TakeEntryCodes(const EntryCodeEditor& editor, UnitConfiguration& lists) {
    editor.Store(lists.entryCodes);
}

int PackAndSave(MemoryModule& image, const UnitConfiguration& lists, const std::string& path) {
    image.Pack(lists);
    MakeBackupCopies(path);
    return image.Save(path);
}

} // namespace tolvane
