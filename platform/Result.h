#pragma once

#include <string>
#include <type_traits>
#include <utility>
#include <variant>

// What an operation that can fail gives back: its value, or why it failed in a
// few words that a message can show after a colon ("it is a folder",
// "Permission denied"). Every layer reports its failures this way, except the
// operations whose integer results the design fixes (the canvas, the image and
// its readers, the mapped file).
//
// The interface is the part of std::expected<T, std::string> the clock uses:
// has_value or a test as a bool, * and -> for the value, error() for the
// reason, value_or; failure(reason) stands where std::unexpected(reason) would.
// It is written here because the fuzzing build's compiler (clang before 19) does
// not see std::expected in the GNU standard library; once every compiler the
// project builds with does, Result becomes an alias of std::expected and
// failure returns std::unexpected, and no caller changes.
class Failure {
public:
    explicit Failure(std::string reason) : text(std::move(reason)) {}
    const std::string& error() const& { return text; }
    std::string&& error() && { return std::move(text); }

private:
    std::string text;
};

inline Failure failure(std::string reason) { return Failure(std::move(reason)); }

template <typename T = void>
class [[nodiscard]] Result {
public:
    // A value, or anything a value can be made from.
    template <typename U = T>
        requires std::is_constructible_v<T, U&&> && (!std::is_same_v<std::remove_cvref_t<U>, Result>) &&
                 (!std::is_same_v<std::remove_cvref_t<U>, Failure>)
    Result(U&& value) : state(std::in_place_index<0>, std::forward<U>(value)) {}
    Result(Failure reason) : state(std::in_place_index<1>, std::move(reason).error()) {}

    bool has_value() const { return state.index() == 0; }
    explicit operator bool() const { return has_value(); }

    // The value; has_value() must hold.
    T& operator*() & { return *std::get_if<0>(&state); }
    const T& operator*() const& { return *std::get_if<0>(&state); }
    T&& operator*() && { return std::move(*std::get_if<0>(&state)); }
    T* operator->() { return std::get_if<0>(&state); }
    const T* operator->() const { return std::get_if<0>(&state); }
    template <typename U>
    T value_or(U&& fallback) const& {
        return has_value() ? **this : static_cast<T>(std::forward<U>(fallback));
    }

    // The reason; has_value() must not hold.
    const std::string& error() const { return *std::get_if<1>(&state); }

private:
    std::variant<T, std::string> state;  // the value (index 0) or the reason (index 1), T may be a string too
};

// An operation that gives nothing back but whether it worked.
template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Failure reason) : text(std::move(reason).error()), failed(true) {}

    bool has_value() const { return !failed; }
    explicit operator bool() const { return !failed; }

    // The reason; has_value() must not hold.
    const std::string& error() const { return text; }

private:
    std::string text;
    bool failed = false;
};
