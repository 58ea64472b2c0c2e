#include "ImageCommands.h"

#include "JsonExport.h"
#include "config/UnitConfiguration.h"
#include "support/UserServices.h"
#include "image/MemoryModule.h"
#include "image/PageClaims.h"
#include "DemoImage.h"

#include <climits>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace tolvane {

namespace {

const char* WalkEndText(WalkEnd end) {
    switch (end) {
    case WalkEnd::ChainEnd:
    case WalkEnd::PageLimit:
        return "ended soundly";
    case WalkEnd::BeyondImage:
        return "ended at a link beyond the image";
    case WalkEnd::Loop:
        return "ended at a link back to a page already walked";
    }
    return "";
}

} // namespace

int LoadForCommand(MemoryModule& image, const std::string& path, std::ostream& err) {
    std::string openFailure;
    const int result = image.Load(path, &openFailure);
    if (result == kLoadCannotOpen) {
        err << "tolvane-cli: cannot open " << path << ": " << openFailure << '\n';
    }
    return result;
}

int RunCheck(const std::string& path, bool strict, UserServices& ui, std::ostream& out,
             std::ostream& err) {
    MemoryModule image(ui);
    const int result = LoadForCommand(image, path, err);
    if (result != kLoadOk) {
        return result;
    }
    char line[200];
    std::snprintf(line, sizeof line, "size code: 0x%02X\n", image.GetSizeCode());
    out << line;
    out << "pages: " << image.GetPageCount() << '\n';
    out << "firmware: " << image.GetFirmwareVersion() << '\n';
    out << "free pages: " << image.GetFreePageCount() << '\n';
    for (int chain = 0; chain < layout::kChainCount; ++chain) {
        const int first = image.GetChainStartRaw(chain);
        const int count = image.GetChainPageCount(chain);
        if (first == kNoPage && count == 0) {
            continue;
        }
        const ChainWalk walk = image.WalkChain(chain, INT_MAX);
        std::snprintf(line, sizeof line,
                      "chain %2d: first page %d, page count %d, pages walked %zu, walk %s\n", chain,
                      first, count, walk.pages.size(), WalkEndText(walk.end));
        out << line;
    }
    const std::vector<std::string> damage = DescribeSharedPages(FindSharedPages(image));
    for (const std::string& text : damage) {
        err << "tolvane-cli: " << text << '\n';
    }
    return strict && !damage.empty() ? kExitSharedPages : kLoadOk;
}

int RunExport(const std::string& path, UserServices& ui, std::ostream& out, std::ostream& err) {
    MemoryModule image(ui);
    const int result = LoadForCommand(image, path, err);
    if (result != kLoadOk) {
        return result;
    }
    UnitConfiguration unit;
    image.Unpack(unit);
    // Names come from the unit byte for byte; anything that is not UTF-8 is replaced rather than
    // refused.
    out << ExportJson(unit, image.GetDirectoryCapacity())
               .dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace)
        << '\n';
    return kLoadOk;
}

int RunRewrite(const std::string& in, const std::string& outPath, UserServices& ui,
               std::ostream& err) {
    std::error_code error;
    std::filesystem::copy_file(in, outPath, std::filesystem::copy_options::overwrite_existing,
                               error);
    if (error) {
        err << "Cannot copy " << in << " to " << outPath << ": " << error.message() << '\n';
        return kLoadCannotOpen;
    }
    MemoryModule image(ui);
    const int result = image.Load(outPath);
    if (result != kLoadOk) {
        return result;
    }
    UnitConfiguration unit;
    image.Unpack(unit);
    image.Pack(unit);
    if (image.Save(outPath) != kSaveOk) {
        ui.ShowMessage("Error Saving the file", MessageIcon::None, MessageButtons::Ok);
        return kExitSaveFailed;
    }
    return kLoadOk;
}

int RunDemo(const std::string& outPath, UserServices& ui, std::ostream& err) {
    const std::vector<uint8_t> bytes = BuildDemoImage(ui);
    std::ofstream file(outPath, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) {
        err << "Cannot write the demo image to " << outPath << '\n';
        return kExitSaveFailed;
    }
    return 0;
}

} // namespace tolvane
