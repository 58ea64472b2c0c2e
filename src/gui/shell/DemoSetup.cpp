#include "shell/DemoSetup.h"

#include "DemoImage.h"
#include "SimulatedModem.h"
#include "SimulatedUnit.h"
#include "sites/InstallationList.h"
#include "sites/ProfileFile.h"

#include <fstream>
#include <iterator>
#include <sys/stat.h>

namespace tolvane {

DemoEnvironment::DemoEnvironment() = default;

DemoEnvironment::~DemoEnvironment() {
    stop_ = true;
    for (std::thread& thread : threads_) {
        thread.join();
    }
}

std::string DemoEnvironment::Start(UserServices& ui) {
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

    // The unit behind COM1, and behind the demo modem, holds the demo image as it is on disk
    // now. The modem takes a few seconds to answer, as a real call would.
    SimulatedUnitOptions options;
    std::ifstream file(image, std::ios::binary);
    options.image.assign(std::istreambuf_iterator<char>(file), {});
    ProfileFile settings(directory + "/zemrix.ini");
    std::string error;
    if (line_.Open(error)) {
        unit_ = std::make_unique<SimulatedUnit>(line_.MasterFd(), options);
        threads_.emplace_back([this] { unit_->Run(stop_); });
        settings.WriteString("ports", "COM1", line_.SlavePath());
    }
    if (modemLine_.Open(error)) {
        SimulatedModemOptions modemOptions;
        modemOptions.unit = std::move(options);
        modemOptions.answerDelayMs = 3000;
        modem_ = std::make_unique<SimulatedModem>(modemLine_.MasterFd(), std::move(modemOptions));
        threads_.emplace_back([this] { modem_->Run(stop_); });
        settings.WriteString("modems", "Demo Modem", modemLine_.SlavePath());
    }
    return directory;
}

} // namespace tolvane
