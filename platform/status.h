// The outcome of a platform operation: the system's error code, 0 for success.
#pragma once

namespace purgeon {

// System error codes the logic tells apart.
inline constexpr long kErrorSuccess = 0;
inline constexpr long kErrorFileNotFound = 2;
inline constexpr long kErrorPathNotFound = 3;
inline constexpr long kErrorAccessDenied = 5;
inline constexpr long kErrorInvalidHandle = 6;
inline constexpr long kErrorNotSupported = 50;
inline constexpr long kErrorSharingViolation = 32;
inline constexpr long kErrorFileExists = 80;
inline constexpr long kErrorLockViolation = 33;
inline constexpr long kErrorInvalidParameter = 87;
inline constexpr long kErrorDirNotEmpty = 145;
inline constexpr long kErrorFileTooLarge = 223;
inline constexpr long kErrorTimeout = 1460;
inline constexpr long kErrorBusy = 170;
inline constexpr long kErrorAlreadyExists = 183;

// Carries the code of the call that failed; a default one is success. A result code of a COM
// component (negative on failure) travels in the same field. Ignoring one is a compile error:
// every failure is either handled, handed on or written down.
struct [[nodiscard]] Status {
    long code = kErrorSuccess;

    static Status success() { return {}; }
    static Status error(long code) { return {code == 0 ? -1 : code}; }
    bool ok() const { return code == kErrorSuccess; }
    explicit operator bool() const { return ok(); }
    // The file, or a folder on its path, is not there.
    bool notFound() const { return code == kErrorFileNotFound || code == kErrorPathNotFound; }
    bool operator==(const Status&) const = default;
};

}  // namespace purgeon
