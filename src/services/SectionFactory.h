#pragma once
// Makes a section of a sectioned page from the host's section dictionary,
// by its "type". The kinds of section live in layers above this one, so
// each registers its type here once at start-up (the form cell section
// registers "Section.Type.FormCell"); the registrations last for the process.
// A type nobody registered, or a dictionary without a text "type", makes no
// section and is logged. Main thread only.

#include <functional>
#include <memory>
#include <string>

#include "platform/core/Object.h"
#include "services/BaseSection.h"

namespace trc::services {

class SectionFactory {
public:
    static constexpr const char* kType = "type";

    using Maker = std::function<std::shared_ptr<BaseSection>(const core::Dictionary& params,
                                                             std::shared_ptr<core::Object> callback)>;

    // Registering a type again replaces its maker.
    static void registerSectionType(const std::string& type, Maker maker);
    static bool isRegistered(const std::string& type);

    static std::shared_ptr<BaseSection> createSection(const core::Dictionary& params,
                                                      std::shared_ptr<core::Object> callback);
};

}  // namespace trc::services
