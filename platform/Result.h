#pragma once
// Errors as values: a call of the platform layer that can fail answers a
// Result, which holds either its value or the Error that stopped it (the
// errno, the operation and the path), so the caller can log why a file was
// not handled and tests can check the reason, not just that something failed.

#include <cassert>
#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace paradrex::platform {

struct Error {
    int code = 0;       // the errno value
    std::string op;     // the failed call: "open", "rename", "write", ...
    std::string path;   // the path it was made for
    std::string target; // the second path of a two-path call (rename, link), else empty

    // The error of the call that just failed, from errno (read before
    // anything else can change it).
    static Error FromErrno(const char* op, const std::string& path, const std::string& target = {});

    // "rename /a/x -> /b/x: File exists"
    std::string Message() const;
    bool operator==(const Error&) const = default;
};

// Either a value or an Error, like the std::expected of later standards.
template <class T> class [[nodiscard]] Result {
public:
    Result(T value) : v_(std::in_place_index<0>, std::move(value)) {}
    Result(Error error) : v_(std::in_place_index<1>, std::move(error)) {}

    bool has_value() const { return v_.index() == 0; }
    explicit operator bool() const { return has_value(); }

    T& value() & {
        assert(has_value());
        return std::get<0>(v_);
    }
    const T& value() const& {
        assert(has_value());
        return std::get<0>(v_);
    }
    T&& value() && {
        assert(has_value());
        return std::get<0>(std::move(v_));
    }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }
    T&& operator*() && { return std::move(*this).value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }

    template <class U> T value_or(U&& fallback) const& {
        return has_value() ? std::get<0>(v_) : static_cast<T>(std::forward<U>(fallback));
    }

    const Error& error() const {
        assert(!has_value());
        return std::get<1>(v_);
    }
    // The errno of a failed call, 0 on success.
    int code() const { return has_value() ? 0 : error().code; }

    // A successful result equals a value when its value does.
    friend bool operator==(const Result& r, const T& value) {
        return r.has_value() && r.value() == value;
    }

private:
    std::variant<T, Error> v_;
};

template <> class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Error error) : error_(std::move(error)) {}

    bool has_value() const { return !error_; }
    explicit operator bool() const { return has_value(); }

    const Error& error() const {
        assert(error_);
        return *error_;
    }
    int code() const { return error_ ? error_->code : 0; }

private:
    std::optional<Error> error_;
};

} // namespace paradrex::platform
