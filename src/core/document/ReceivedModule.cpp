#include "document/ReceivedModule.h"

#include "document/Backups.h"
#include "image/MemoryModule.h"

namespace tolvane {

int StoreReceivedModule(const PacketArray& packets, const std::string& path, UserServices& ui) {
    // A transfer can end well and still bring no module (a unit with a damaged memory, or one
    // that sent nothing): such bytes must not cost the user the file they have.
    MemoryModule received(ui);
    if (received.LoadBytes(PacketData(packets)) != kLoadOk) {
        return kReceivedNoModule;
    }
    const bool written = SavePacketsToFile(packets, path, ui, [&path] { MakeBackupCopies(path); });
    return written ? 0 : kReceivedNotWritten;
}

} // namespace tolvane
