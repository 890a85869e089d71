// The names the office knows the extension's parts by; the package's configuration files
// (package/*.xcu, tezlo.components) spell the same names.
#pragma once

namespace tezlo::extension {

// The command the "&Z" toolbar button and the shortcut send: opens the command box.
inline constexpr const char* kShowCommandBoxUrl = "vnd.tezlo:ShowCommandBox";
inline constexpr const char* kCommandBoxHandlerName = "org.tezlo.calc.CommandBoxHandler";
inline constexpr const char* kAutomationName = "org.tezlo.calc.Automation";

}  // namespace tezlo::extension
