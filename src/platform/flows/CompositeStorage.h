#pragma once
// The credential store of an onboarding: a byte store (in memory, or the
// encrypted store on disk) and a coder. A Data value put under a key is coded
// as a property list and kept in the byte store; get decodes it again and
// refuses bytes that do not hold a Data value (a CodingError).
//
// An Object, so that the application configuration can hold it. Main thread.

#include <memory>

#include "platform/core/ClassInfo.h"
#include "platform/core/Object.h"
#include "platform/flows/CodableStoring.h"
#include "platform/flows/DataStoring.h"
#include "platform/flows/PlistCoder.h"

namespace trc::flows {

class CompositeStorage : public core::Object, public CodableStoring {
    TRC_OBJECT(CompositeStorage)
public:
    CompositeStorage(std::shared_ptr<DataStoring> storage, std::shared_ptr<PlistCoder> coder);
    // A store in memory with a property-list coder.
    static std::shared_ptr<CompositeStorage> makeInMemory();

    std::optional<core::Data> get(const std::string& key) const override;
    void put(const core::Data& data, const std::string& key) override;
    void remove(const std::string& key) override;

    const std::shared_ptr<DataStoring>& storage() const { return storage_; }

private:
    std::shared_ptr<DataStoring> storage_;
    std::shared_ptr<PlistCoder> coder_;
};

}  // namespace trc::flows
