// The log file on real files, and downloads from a small HTTP server on the loopback address.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/downloader_win32.h"
#include "platform/win32/log_file_win32.h"
#include "test_folder.h"

namespace purgeon {
namespace {

using wine::readFile;

TEST(RealLogFile, LinesGoInUtf8WithCrLfIntoAFolderMadeForThem) {
    wine::TestFolder folder(L"purgeon-log-tests");
    const std::wstring path = folder.path() + L"logs\\test.log";
    win32::Win32LogFile log(path);
    EXPECT_EQ(log.path(), path);
    EXPECT_TRUE(log.append(L"first: caf\u00e9 \u65e5\u672c"));
    EXPECT_TRUE(log.append(L"second"));
    EXPECT_EQ(readFile(path), "first: caf\xc3\xa9 \xe6\x97\xa5\xe6\x9c\xac\r\nsecond\r\n");
}

TEST(RealLogFile, PastItsLimitTheLogMovesToOneBackupAndStartsAfresh) {
    wine::TestFolder folder(L"purgeon-log-tests");
    const std::wstring path = folder.path() + L"test.log";
    const std::wstring backup = folder.path() + L"test.old.log";
    win32::Win32LogFile log(path);

    // Fills the log with lines of one letter until it is past the limit, then adds one more.
    auto overfill = [&](wchar_t letter, const std::wstring& last) {
        const std::wstring line(1000, letter);
        std::size_t written = 0;
        while (written <= win32::Win32LogFile::kLogLimit) {
            ASSERT_TRUE(log.append(line));
            written += line.size() + 2;
        }
        ASSERT_TRUE(log.append(last));
    };

    overfill(L'a', L"after the first move");
    EXPECT_EQ(readFile(path), "after the first move\r\n");
    const std::string first = readFile(backup);
    EXPECT_GT(first.size(), win32::Win32LogFile::kLogLimit);
    EXPECT_EQ(first.find_first_not_of("a\r\n"), std::string::npos);

    overfill(L'b', L"after the second move");
    EXPECT_EQ(readFile(path), "after the second move\r\n");
    const std::string second = readFile(backup);
    EXPECT_EQ(second.rfind("after the first move\r\n", 0), 0u);
    EXPECT_EQ(second.find('a', 1), std::string::npos);

    std::size_t files = 0;
    WIN32_FIND_DATAW data{};
    win32::UniqueFind find(::FindFirstFileW((folder.path() + L"*").c_str(), &data));
    ASSERT_TRUE(find);
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++files;
    } while (::FindNextFileW(find.get(), &data));
    EXPECT_EQ(files, 2u);
}

struct SocketTraits {
    using Handle = SOCKET;
    static Handle invalid() noexcept { return INVALID_SOCKET; }
    static void close(Handle s) noexcept { ::closesocket(s); }
};
using UniqueSocket = UniqueResource<SocketTraits>;

// Answers HTTP requests on 127.0.0.1 by path, on a thread of its own:
//   /ok           200 "fresh bytes" (and invites caching)
//   /counter      200 "visit N", N counting the requests (and invites caching)
//   /missing      404
//   /failing      500
//   /big          200 with 5000 bytes, length announced
//   /big-stream   200 with 5000 bytes, no length, ended by closing
//   /silent       reads the request and never answers
class LoopbackServer {
public:
    LoopbackServer() {
        WSADATA data{};
        m_started = ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
        m_listener.reset(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int size = sizeof(address);
        if (!m_listener ||
            ::bind(m_listener.get(), reinterpret_cast<sockaddr*>(&address), sizeof(address)) ||
            ::listen(m_listener.get(), 8) ||
            ::getsockname(m_listener.get(), reinterpret_cast<sockaddr*>(&address), &size)) {
            return;
        }
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] { serve(); });
    }
    ~LoopbackServer() {
        m_stop = true;
        if (m_thread.joinable()) m_thread.join();
        m_silent.clear();
        m_listener.reset();
        if (m_started) ::WSACleanup();
    }
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    bool running() const { return m_port != 0; }
    std::wstring url(const std::wstring& path) const {
        return L"http://127.0.0.1:" + std::to_wstring(m_port) + path;
    }

private:
    void serve() {
        while (!m_stop) {
            fd_set ready;
            FD_ZERO(&ready);
            FD_SET(m_listener.get(), &ready);
            timeval wait{0, 100 * 1000};
            if (::select(0, &ready, nullptr, nullptr, &wait) <= 0) continue;
            UniqueSocket client(::accept(m_listener.get(), nullptr, nullptr));
            if (client) answer(std::move(client));
        }
    }

    void answer(UniqueSocket client) {
        std::string request;
        char buffer[4096];
        while (request.find("\r\n\r\n") == std::string::npos) {
            const int got = ::recv(client.get(), buffer, sizeof(buffer), 0);
            if (got <= 0) return;
            request.append(buffer, static_cast<size_t>(got));
        }
        const size_t start = request.find(' ') + 1;
        const std::string path = request.substr(start, request.find(' ', start) - start);
        const std::string cacheable = "Cache-Control: max-age=3600\r\n";
        if (path == "/ok") {
            reply(client, "200 OK", cacheable, "fresh bytes", true);
        } else if (path == "/counter") {
            reply(client, "200 OK", cacheable, "visit " + std::to_string(++m_visits), true);
        } else if (path == "/failing") {
            reply(client, "500 Internal Server Error", "", "broken", true);
        } else if (path == "/big") {
            reply(client, "200 OK", "", std::string(5000, 'x'), true);
        } else if (path == "/big-stream") {
            reply(client, "200 OK", "", std::string(5000, 'x'), false);
        } else if (path == "/silent") {
            m_silent.push_back(std::move(client));
        } else {
            reply(client, "404 Not Found", "", "no such file", true);
        }
    }

    static void reply(const UniqueSocket& client, const std::string& status,
                      const std::string& headers, const std::string& body, bool announceLength) {
        std::string message = "HTTP/1.1 " + status + "\r\nConnection: close\r\n" + headers;
        if (announceLength) message += "Content-Length: " + std::to_string(body.size()) + "\r\n";
        message += "\r\n" + body;
        for (size_t sent = 0; sent < message.size();) {
            const int put = ::send(client.get(), message.data() + sent,
                                   static_cast<int>(message.size() - sent), 0);
            if (put <= 0) return;
            sent += static_cast<size_t>(put);
        }
        ::shutdown(client.get(), SD_SEND);
    }

    bool m_started = false;
    UniqueSocket m_listener;
    unsigned short m_port = 0;
    std::atomic<bool> m_stop{false};
    int m_visits = 0;
    std::vector<UniqueSocket> m_silent;
    std::thread m_thread;
};

TEST(RealDownloader, AnswersBecomeBytesOrTheRightFailure) {
    LoopbackServer server;
    ASSERT_TRUE(server.running());
    struct Case {
        const char* what;
        std::wstring path;
        std::size_t maxBytes;
        long expected;
        std::string bytes;
    };
    const Case cases[] = {
        {"a file", L"/ok", 1000, kErrorSuccess, "fresh bytes"},
        {"a file of exactly the limit", L"/ok", 11, kErrorSuccess, "fresh bytes"},
        {"a missing file", L"/missing", 1000, kErrorFileNotFound, ""},
        {"a server error", L"/failing", 1000, kErrorFileNotFound, ""},
        {"too big, announced", L"/big", 1000, ERROR_FILE_TOO_LARGE, ""},
        {"too big, streamed", L"/big-stream", 1000, ERROR_FILE_TOO_LARGE, ""},
        {"no answer", L"/silent", 1000, kErrorTimeout, ""},
    };
    win32::Win32Downloader downloader;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string bytes = "stale";
        EXPECT_EQ(downloader.download(server.url(c.path), c.maxBytes, 1, bytes).code, c.expected);
        EXPECT_EQ(bytes, c.bytes);
    }
}

TEST(RealDownloader, EachDownloadAsksTheServerAfresh) {
    LoopbackServer server;
    ASSERT_TRUE(server.running());
    win32::Win32Downloader downloader;
    std::string first;
    std::string second;
    ASSERT_TRUE(downloader.download(server.url(L"/counter"), 100, 5, first));
    ASSERT_TRUE(downloader.download(server.url(L"/counter"), 100, 5, second));
    EXPECT_EQ(first, "visit 1");
    EXPECT_EQ(second, "visit 2");
}

}  // namespace
}  // namespace purgeon
