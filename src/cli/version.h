// The program's version, as the build gives it (the project's version in CMake).
#pragma once

#include <string_view>

namespace tezlo {

#ifndef TEZLO_VERSION
#define TEZLO_VERSION "0"
#endif
inline constexpr std::string_view kVersion = TEZLO_VERSION;

}  // namespace tezlo
