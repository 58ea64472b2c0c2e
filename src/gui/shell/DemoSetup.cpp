#include "shell/DemoSetup.h"

#include "DemoImage.h"
#include "comm/InstallationList.h"
#include "comm/ProfileFile.h"

#include <cstdlib>
#include <fstream>
#include <sys/stat.h>

namespace tolvane {

std::string PrepareDemo(UserServices& ui) {
    const std::string directory = ConfigDirectory() + "-demo";
    ::mkdir(directory.c_str(), 0700);
    const std::string image = directory + "/harbour-view.mem";
    if (struct stat info{}; ::stat(image.c_str(), &info) != 0) {
        const std::vector<uint8_t> bytes = BuildDemoImage(ui);
        std::ofstream(image, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    InstallationList list;
    list.records.push_back({"Harbour View Apartments", "246810", image, "1", "617", "5550100"});
    list.selected = 0;
    ProfileFile gateList(directory + "/gatelist.ini", 0600);
    list.SaveInstallationList(gateList, ui);
    return directory;
}

} // namespace tolvane
