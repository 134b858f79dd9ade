// QEL's version, which the build takes from the project (CMakeLists.txt): the one place it is
// written.
#pragma once

#ifndef QEL_VERSION
#error "QEL_VERSION comes from the build"
#endif

namespace qel {

inline constexpr char kVersion[] = QEL_VERSION;

}  // namespace qel
