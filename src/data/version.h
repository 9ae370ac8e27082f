// The programs' version, set once in the top CMakeLists.txt.
#pragma once

#include <string_view>

inline constexpr std::string_view kProgramVersion = VELTRANE_VERSION;
