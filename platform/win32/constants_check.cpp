// The platform interfaces copy a few Windows numbers; here each is held to the real one.
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/history_store.h"
#include "platform/pickers.h"
#include "platform/registry.h"
#include "platform/status.h"
#include "platform/url_cache.h"
#include "platform/volumes.h"
#include "platform/win32/handles.h"

#include <shlobj.h>

namespace purgeon::win32 {

namespace {

// The copy equals the Windows number, compared in the copy's own type.
template <typename Copy, typename Real>
constexpr bool same(Copy copy, Real real) {
    return copy == static_cast<Copy>(real);
}

}  // namespace

static_assert(same(kAttrReadOnly, FILE_ATTRIBUTE_READONLY));
static_assert(same(kAttrHidden, FILE_ATTRIBUTE_HIDDEN));
static_assert(same(kAttrSystem, FILE_ATTRIBUTE_SYSTEM));
static_assert(same(kAttrDirectory, FILE_ATTRIBUTE_DIRECTORY));
static_assert(same(kAttrArchive, FILE_ATTRIBUTE_ARCHIVE));
static_assert(same(kAttrReparsePoint, FILE_ATTRIBUTE_REPARSE_POINT));

static_assert(same(kMbOk, MB_OK));
static_assert(same(kMbOkCancel, MB_OKCANCEL));
static_assert(same(kMbYesNo, MB_YESNO));
static_assert(same(kMbIconQuestion, MB_ICONQUESTION));
static_assert(same(kMbIconExclamation, MB_ICONEXCLAMATION));
static_assert(same(kMbIconInformation, MB_ICONINFORMATION));
static_assert(same(kIdOk, IDOK));
static_assert(same(kIdCancel, IDCANCEL));
static_assert(same(kIdYes, IDYES));
static_assert(same(kIdNo, IDNO));

static_assert(same(kRegSz, REG_SZ));
static_assert(same(kRegExpandSz, REG_EXPAND_SZ));
static_assert(same(kRegBinary, REG_BINARY));
static_assert(same(kRegDword, REG_DWORD));

static_assert(same(kErrorSuccess, ERROR_SUCCESS));
static_assert(same(kErrorFileNotFound, ERROR_FILE_NOT_FOUND));
static_assert(same(kErrorPathNotFound, ERROR_PATH_NOT_FOUND));
static_assert(same(kErrorAccessDenied, ERROR_ACCESS_DENIED));
static_assert(same(kErrorInvalidHandle, ERROR_INVALID_HANDLE));
static_assert(same(kErrorNotSupported, ERROR_NOT_SUPPORTED));
static_assert(same(kErrorSharingViolation, ERROR_SHARING_VIOLATION));
static_assert(same(kErrorLockViolation, ERROR_LOCK_VIOLATION));
static_assert(same(kErrorInvalidParameter, ERROR_INVALID_PARAMETER));
static_assert(same(kErrorDirNotEmpty, ERROR_DIR_NOT_EMPTY));
static_assert(same(kErrorFileTooLarge, ERROR_FILE_TOO_LARGE));
static_assert(same(kErrorTimeout, ERROR_TIMEOUT));
static_assert(same(kErrorBusy, ERROR_BUSY));
static_assert(same(kErrorAlreadyExists, ERROR_ALREADY_EXISTS));
static_assert(same(kErrorFileExists, ERROR_FILE_EXISTS));
static_assert(same(kErrorDiskFull, ERROR_DISK_FULL));
static_assert(same(kErrorHandleDiskFull, ERROR_HANDLE_DISK_FULL));

static_assert(same(kNormalCacheEntry, NORMAL_CACHE_ENTRY));

static_assert(same(kNotImplemented, E_NOTIMPL));
static_assert(same(kFail, E_FAIL));

static_assert(same(kBffmInitialized, BFFM_INITIALIZED));

}  // namespace purgeon::win32
