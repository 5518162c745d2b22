#include "platform/flows/CompositeStorage.h"

#include "platform/flows/CodingError.h"
#include "platform/flows/MemoryDataStorage.h"

namespace trc::flows {

const core::ClassInfo& CompositeStorage::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<CompositeStorage>("CompositeStorage", core::Object::classInfo()).build();
    return info;
}

CompositeStorage::CompositeStorage(std::shared_ptr<DataStoring> storage, std::shared_ptr<PlistCoder> coder)
    : storage_(storage ? std::move(storage) : std::make_shared<MemoryDataStorage>()),
      coder_(coder ? std::move(coder) : std::make_shared<PlistCoder>()) {}

std::shared_ptr<CompositeStorage> CompositeStorage::makeInMemory() {
    return std::make_shared<CompositeStorage>(std::make_shared<MemoryDataStorage>(), std::make_shared<PlistCoder>());
}

std::optional<core::Data> CompositeStorage::get(const std::string& key) const {
    auto bytes = storage_->get(key);
    if (!bytes) return std::nullopt;
    core::Value value = coder_->decode(*bytes);
    if (const core::Data* data = value.ifData()) return *data;
    throw CodingError("the entry \"" + key + "\" holds no data");
}

void CompositeStorage::put(const core::Data& data, const std::string& key) {
    storage_->put(coder_->encode(core::Value(data)), key);
}

void CompositeStorage::remove(const std::string& key) { storage_->remove(key); }

}  // namespace trc::flows
