// Which device each direct port stands for: COM1 to COM4 are /dev/ttyS0 to /dev/ttyS3 unless
// section "ports" of "zemrix.ini" names another device (a USB adapter, a simulated unit).
#pragma once

#include <string>

namespace tolvane {

// selector 2 to 5 for COM1 to COM4.
std::string DirectPortDevice(const std::string& configDirectory, int selector);

// The selector of a port name "COM1" to "COM4"; 0 for any other name.
int DirectPortSelector(const std::string& name);

} // namespace tolvane
