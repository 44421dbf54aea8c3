// Downloading into memory over WinINet, with a size limit and a deadline.
#include "platform/win32/downloader_win32.h"

#include "platform/win32/handles.h"

namespace purgeon::win32 {

namespace {

// The last call's failure; one that ends past the deadline is a timeout, whatever it is called
// (Wine reports a receive timeout as an aborted connection).
Status lastFailure(ULONGLONG deadline) {
    const DWORD error = ::GetLastError();
    if (error == ERROR_INTERNET_TIMEOUT || ::GetTickCount64() >= deadline)
        return Status::error(kErrorTimeout);
    return Status::error(static_cast<long>(error));
}

bool queryNumber(HINTERNET request, DWORD query, DWORD& value) {
    DWORD size = sizeof(value);
    return ::HttpQueryInfoW(request, query | HTTP_QUERY_FLAG_NUMBER, &value, &size, nullptr) !=
           FALSE;
}

}  // namespace

Status Win32Downloader::download(const std::wstring& url, std::size_t maxBytes,
                                 unsigned timeoutSeconds, std::string& bytes) {
    bytes.clear();
    const ULONGLONG timeout = static_cast<ULONGLONG>(timeoutSeconds) * 1000;
    const ULONGLONG deadline = ::GetTickCount64() + timeout;

    URL_COMPONENTSW parts{};
    parts.dwStructSize = sizeof(parts);
    // Nonzero lengths with no buffers: the parts are pointed out within the address itself.
    parts.dwHostNameLength = 1;
    parts.dwUrlPathLength = 1;
    parts.dwExtraInfoLength = 1;
    if (!::InternetCrackUrlW(url.c_str(), 0, 0, &parts)) return lastFailure(deadline);
    if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS)
        return Status::error(ERROR_INTERNET_UNRECOGNIZED_SCHEME);
    const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
    std::wstring object(parts.lpszUrlPath, parts.dwUrlPathLength);
    object.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    if (object.empty()) object = L"/";

    UniqueInternet session(
        ::InternetOpenW(L"Purgeon", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session) return lastFailure(deadline);
    UniqueInternet connection(::InternetConnectW(session.get(), host.c_str(), parts.nPort, nullptr,
                                                 nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) return lastFailure(deadline);
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                  INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES;
    if (parts.nScheme == INTERNET_SCHEME_HTTPS) flags |= INTERNET_FLAG_SECURE;
    UniqueInternet request(::HttpOpenRequestW(connection.get(), L"GET", object.c_str(), nullptr,
                                              nullptr, nullptr, flags, 0));
    if (!request) return lastFailure(deadline);
    // Set on the request itself: Wine ignores them on the session and passes none down.
    // Each step may take the whole allowance; the read loop keeps the total within it.
    DWORD stepTimeout = static_cast<DWORD>(timeout > 0xFFFFFFFFull ? 0xFFFFFFFFull : timeout);
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                         INTERNET_OPTION_RECEIVE_TIMEOUT}) {
        ::InternetSetOptionW(request.get(), option, &stepTimeout, sizeof(stepTimeout));
    }
    if (!::HttpSendRequestW(request.get(), nullptr, 0, nullptr, 0)) return lastFailure(deadline);

    DWORD statusCode = 0;
    if (queryNumber(request.get(), HTTP_QUERY_STATUS_CODE, statusCode) && statusCode >= 400)
        return Status::error(kErrorFileNotFound);
    DWORD announced = 0;
    if (queryNumber(request.get(), HTTP_QUERY_CONTENT_LENGTH, announced) && announced > maxBytes)
        return Status::error(ERROR_FILE_TOO_LARGE);

    std::string received;
    char buffer[8192];
    for (;;) {
        if (::GetTickCount64() > deadline) return Status::error(kErrorTimeout);
        DWORD read = 0;
        if (!::InternetReadFile(request.get(), buffer, sizeof(buffer), &read))
            return lastFailure(deadline);
        if (read == 0) break;
        if (read > maxBytes - received.size()) return Status::error(ERROR_FILE_TOO_LARGE);
        received.append(buffer, read);
    }
    bytes = std::move(received);
    return Status::success();
}

}  // namespace purgeon::win32
