#pragma once

#include <QString>

#include <utility>
#include <variant>

// The one shape of "this may fail" for readers and writers: a value, or an error that says why.
// True only on success, so `if (auto r = read(...))` reads as it means. The error type is a
// message by default; readers whose callers tell failures apart give a struct with a kind.
template<typename E> struct Failure {
    E error;
};
template<typename E> Failure<std::decay_t<E>> failure(E &&error)
{
    return {std::forward<E>(error)};
}
inline Failure<QString> failure(const char *error)
{
    return {QString::fromUtf8(error)};
}

template<typename T, typename E = QString> class [[nodiscard]] Result {
public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(Failure<E> failed) : state_(std::in_place_index<1>, std::move(failed.error)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    // Only on success.
    T &value() { return std::get<0>(state_); }
    const T &value() const { return std::get<0>(state_); }
    T *operator->() { return &value(); }
    const T *operator->() const { return &value(); }
    T &operator*() { return value(); }
    const T &operator*() const { return value(); }
    // Only on failure.
    const E &error() const { return std::get<1>(state_); }

private:
    std::variant<T, E> state_;
};

template<typename E> class [[nodiscard]] Result<void, E> {
public:
    Result() = default;
    Result(Failure<E> failed) : error_(std::move(failed.error)), ok_(false) {}

    bool ok() const { return ok_; }
    explicit operator bool() const { return ok_; }
    const E &error() const { return error_; }

private:
    E error_{};
    bool ok_ = true;
};

// Success without a value.
using Status = Result<void>;
