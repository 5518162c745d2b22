#pragma once
// An end-user licence agreement as the EULA step shows it: its title, its
// text and its version (an accepted version is remembered).

#include <string>

namespace trc::flows {

class EULAContent {
public:
    std::string title;
    std::string content;
    std::string version;
};

}  // namespace trc::flows
