// Every test process gets a home of its own: the settings store (recent files), the profile
// files and the configuration directory all live in a fresh directory that goes with the
// process. Tests can then run in parallel without one's set-up removing another's settings.
#pragma once

namespace tolvane {

// Points HOME, XDG_CONFIG_HOME and TOLVANE_CONFIG_DIR at a new temporary directory, removed when
// the process ends. Call it first thing in main, before anything reads them.
void UsePrivateEnvironment();

} // namespace tolvane
