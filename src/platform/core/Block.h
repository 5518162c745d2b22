#pragma once
// A block handed across the host boundary: resolve and reject blocks, and
// completion closures a host passes. A block is an object like any other, so
// it travels inside a Value. Calling a block that has no body does nothing.

#include <functional>
#include <vector>

#include "platform/core/ClassInfo.h"
#include "platform/core/Object.h"

namespace trc::core {

class Block : public Object {
    TRC_OBJECT(Block)
public:
    using Body = std::function<Value(const std::vector<Value>&)>;

    Block() = default;
    explicit Block(Body body) : body_(std::move(body)) {}
    static std::shared_ptr<Block> make(Body body) { return std::make_shared<Block>(std::move(body)); }

    Value call(const std::vector<Value>& args = {}) const { return body_ ? body_(args) : Value(); }
    // Resolve blocks take one value; reject blocks take a code, a message and an error.
    void resolve(const Value& v) const { call({v}); }
    void reject(const Value& code, const Value& message, const Value& error = Value()) const {
        call({code, message, error});
    }

private:
    Body body_;
};

}  // namespace trc::core
