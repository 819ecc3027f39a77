#pragma once

#include <utility>
#include <variant>

namespace soramine {

// The error side of an Expected, kept apart so that `return Unexpected{e};` reads plainly.
template <class E>
struct Unexpected {
    E error;
};
template <class E>
Unexpected(E) -> Unexpected<E>;

// A value or an error. The core returns these instead of throwing across module borders.
template <class T, class E>
class [[nodiscard]] Expected {
  public:
    Expected(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Expected(Unexpected<E> u) : state_(std::in_place_index<1>, std::move(u.error)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }
    T& value() & { return std::get<0>(state_); }
    const T& value() const& { return std::get<0>(state_); }
    T&& value() && { return std::get<0>(std::move(state_)); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    const E& error() const { return std::get<1>(state_); }

  private:
    std::variant<T, E> state_;
};

template <class E>
class [[nodiscard]] Expected<void, E> {
  public:
    Expected() = default;
    Expected(Unexpected<E> u) : error_(std::move(u.error)), failed_(true) {}

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    const E& error() const { return error_; }

  private:
    E error_{};
    bool failed_ = false;
};

}  // namespace soramine
