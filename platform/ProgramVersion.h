#pragma once

#include <string>
#include <string_view>

/// What `--version` prints for one of Korvel's programs: its name and the
/// project's version, then the copyright and the licence notice.
std::string VersionText(std::string_view program);
