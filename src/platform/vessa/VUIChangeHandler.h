#pragma once
// The type of the handlers the UI framework's cells and buttons call back
// (onChangeHandler and its kin, didSelectHandler): a callable held by shared
// reference, assigned and called like a std::function. Copying one takes no
// allocation, so a cell can call its handler through a copy (the handler may
// replace itself while it runs) without paying for the copy on every change
// a person makes.
//
// Assigning a callable allocates once. A handler nobody else shares keeps
// that room when it is given another callable of the same type, or nullptr
// (the callable, and what it captured, goes at once), so a reused cell
// given its new row's handler costs no allocation. Calling an empty handler
// throws std::bad_function_call. Main thread only, like the cells that
// hold it.

#include <cstddef>
#include <functional>
#include <memory>
#include <new>
#include <type_traits>
#include <typeinfo>
#include <utility>

namespace trc::vessa {

template <class Signature>
class VUIChangeHandler;

template <class R, class... Args>
class VUIChangeHandler<R(Args...)> {
    template <class F>
    static constexpr bool kCallable = !std::is_same_v<std::remove_cvref_t<F>, VUIChangeHandler> &&
                                      std::is_invocable_r_v<R, std::remove_cvref_t<F>&, Args...>;

public:
    VUIChangeHandler() = default;
    VUIChangeHandler(std::nullptr_t) {}  // NOLINT(google-explicit-constructor): as a std::function is
    template <class F>
    requires kCallable<F> VUIChangeHandler(F&& f) {  // NOLINT(google-explicit-constructor): as a std::function is
        if (isEmpty(f)) return;
        auto holder = std::make_shared<Holder<std::remove_cvref_t<F>>>();
        holder->emplace(std::forward<F>(f));
        callable_ = std::move(holder);
    }

    template <class F>
    requires kCallable<F> VUIChangeHandler& operator=(F&& f) {
        using Fn = std::remove_cvref_t<F>;
        if constexpr (std::is_nothrow_constructible_v<Fn, F&&>) {
            if (callable_ && callable_.use_count() == 1 && !isEmpty(f)) {
                if (auto* same = holderOf<Fn>()) {
                    same->clear();
                    same->emplace(std::forward<F>(f));
                    return *this;
                }
            }
        }
        return *this = VUIChangeHandler(std::forward<F>(f));
    }
    VUIChangeHandler& operator=(std::nullptr_t) {
        if (callable_ && callable_.use_count() == 1) {
            callable_->clear();  // keeps the room for the next callable
        } else {
            callable_.reset();  // shared, perhaps running: leave it to the others
        }
        return *this;
    }

    explicit operator bool() const { return callable_ && callable_->engaged(); }

    // The callable held, when it is an Fn and no copy of this handler shares
    // it (none is running it): the holder may then change it in place, say
    // to point it at a reused cell's new row. nullptr otherwise.
    template <class Fn>
    Fn* target() {
        if (!callable_ || callable_.use_count() != 1) return nullptr;
        auto* held = holderOf<Fn>();
        return held && held->engaged() ? &held->fn() : nullptr;
    }
    R operator()(Args... args) const {
        if (!*this) throw std::bad_function_call();
        return callable_->call(std::forward<Args>(args)...);
    }

private:
    struct Callable {
        virtual ~Callable() = default;
        virtual R call(Args... args) = 0;
        virtual bool engaged() const = 0;
        virtual void clear() noexcept = 0;
    };
    template <class Fn>
    struct Holder final : Callable {
        Holder() = default;
        Holder(const Holder&) = delete;
        Holder& operator=(const Holder&) = delete;
        ~Holder() override { clear(); }

        R call(Args... args) override { return fn()(std::forward<Args>(args)...); }
        bool engaged() const override { return engaged_; }
        void clear() noexcept override {
            if (!engaged_) return;
            engaged_ = false;
            fn().~Fn();
        }
        template <class F>
        void emplace(F&& f) {
            ::new (static_cast<void*>(storage_)) Fn(std::forward<F>(f));
            engaged_ = true;
        }
        Fn& fn() { return *std::launder(reinterpret_cast<Fn*>(storage_)); }

    private:
        alignas(Fn) unsigned char storage_[sizeof(Fn)];
        bool engaged_ = false;
    };

    // The held callable when it is an Fn: Holder is final, so its type alone says.
    template <class Fn>
    Holder<Fn>* holderOf() const {
        Callable* held = callable_.get();
        return held && typeid(*held) == typeid(Holder<Fn>) ? static_cast<Holder<Fn>*>(held) : nullptr;
    }

    // An empty std::function or a null function pointer is no handler.
    template <class F>
    static bool isEmpty(const F& f) {
        if constexpr (std::is_constructible_v<bool, const F&>) {
            return !static_cast<bool>(f);
        } else {
            return false;
        }
    }

    std::shared_ptr<Callable> callable_;
};

}  // namespace trc::vessa
