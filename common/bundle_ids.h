#pragma once

// The bundle identifiers of the two programs, kept here only: the build
// reads them from this file to fill in the Info.plist files and the agent's
// property list (cmake/bundle.cmake).
namespace quillon {

inline constexpr char kAppBundleId[] = "com.quillon.app";
inline constexpr char kHelperBundleId[] = "com.quillon.helper";

}  // namespace quillon
