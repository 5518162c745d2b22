#pragma once
// The type of a cell's change handlers (onChangeHandler and its kin): a
// callable held by shared reference, assigned and called like a
// std::function. Copying one takes no allocation, so a cell can call its
// handler through a copy (the handler may replace itself while it runs)
// without paying for the copy on every change a person makes. Assigning a
// callable allocates once. Main thread only, like the cells that hold it.

#include <cstddef>
#include <memory>
#include <type_traits>
#include <utility>

namespace trc::vessa {

template <class Signature>
class VUIChangeHandler;

template <class R, class... Args>
class VUIChangeHandler<R(Args...)> {
public:
    VUIChangeHandler() = default;
    VUIChangeHandler(std::nullptr_t) {}  // NOLINT: as a std::function is
    template <class F>
        requires(!std::is_same_v<std::remove_cvref_t<F>, VUIChangeHandler> &&
                 std::is_invocable_r_v<R, std::remove_cvref_t<F>&, Args...>)
    VUIChangeHandler(F&& f) {  // NOLINT: as a std::function is
        if constexpr (std::is_constructible_v<bool, const std::remove_cvref_t<F>&>) {
            if (!static_cast<bool>(f)) return;  // an empty std::function or a null pointer
        }
        callable_ = std::make_shared<Holder<std::remove_cvref_t<F>>>(std::forward<F>(f));
    }

    explicit operator bool() const { return callable_ != nullptr; }
    R operator()(Args... args) const { return callable_->call(std::forward<Args>(args)...); }

private:
    struct Callable {
        virtual ~Callable() = default;
        virtual R call(Args... args) = 0;
    };
    template <class F>
    struct Holder final : Callable {
        explicit Holder(F fn) : f(std::move(fn)) {}
        R call(Args... args) override { return f(std::forward<Args>(args)...); }
        F f;
    };

    std::shared_ptr<Callable> callable_;
};

}  // namespace trc::vessa
