// In-memory stand-ins for the platform services, recording what the logic asks of them.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cwctype>
#include <deque>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/app_info.h"
#include "platform/collation.h"
#include "platform/console.h"
#include "platform/dialogs.h"
#include "platform/date_text.h"
#include "platform/instance_guard.h"
#include "platform/pickers.h"
#include "platform/random_source.h"
#include "platform/shell.h"
#include "platform/url_cache.h"

namespace purgeon::fakes {

struct ShownBox {
    std::wstring text;
    std::wstring caption;
    unsigned style = 0;
    bool operator==(const ShownBox&) const = default;
    // Readable in a failed expectation: the text (ASCII only) and the style.
    friend void PrintTo(const ShownBox& box, std::ostream* out) {
        *out << '"';
        for (wchar_t c : box.text) *out << (c < 128 ? static_cast<char>(c) : '?');
        *out << "\" style " << box.style;
    }
};

class FakeDialogs : public Dialogs {
public:
    int messageBox(const std::wstring& text, const std::wstring& caption, unsigned style) override {
        shown.push_back({text, caption, style});
        if (answers.empty()) return kIdOk;
        int answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }
    std::vector<ShownBox> shown;
    std::vector<int> answers;  // given in order; OK once they run out
};

class FakeShell : public Shell {
public:
    Status open(const std::wstring& target) override {
        opened.push_back(target);
        return openError ? Status::error(openError) : Status{};
    }
    Status openText(const std::wstring& path) override {
        opened.push_back(path);
        return {};
    }
    Status emptyRecycleBin() override {
        ++recycleBinEmptied;
        if (log) log->push_back(L"recycle bin emptied");
        if (recycleBinError) return Status::error(recycleBinError);
        recycleBin = {};
        return {};
    }
    Status queryRecycleBin(RecycleBinContents& contents) override {
        if (recycleBinQueryError) return Status::error(recycleBinQueryError);
        contents = recycleBin;
        return {};
    }
    RecycleBinContents recycleBin;  // what the bins hold until they are emptied
    long recycleBinError = 0;
    long recycleBinQueryError = 0;
    long openError = 0;  // what open() answers
    std::vector<std::wstring> opened;
    int recycleBinEmptied = 0;
    std::vector<std::wstring>* log = nullptr;  // where to note the emptying among other events
};

// Pickers that answer what the test chose, noting each opening among the other events.
class FakePickers : public Pickers {
public:
    bool openFile(const std::wstring& filter, std::wstring& fileName) override {
        if (log) log->push_back(L"open dialog " + filter + L" from '" + fileName + L"'");
        if (!openChoice) return false;
        fileName = *openChoice;
        return true;
    }
    std::wstring browseForFolder(const std::wstring& startFolder,
                                 const std::wstring& title) override {
        if (log) log->push_back(L"folder dialog " + title + L" at " + startFolder);
        return folderChoice;
    }
    std::optional<std::wstring> openChoice;  // empty: the user cancels
    std::wstring folderChoice;               // empty: the user cancels
    std::vector<std::wstring>* log = nullptr;
};

// Case folded letter by letter: enough of a language's order for the tests' ASCII texts.
class FakeCollation : public Collation {
public:
    int compareIgnoringCase(const std::wstring& a, const std::wstring& b) const override {
        return folded(a).compare(folded(b));
    }
    bool equalIgnoringCase(std::wstring_view a, std::wstring_view b) const override {
        return folded(std::wstring(a)) == folded(std::wstring(b));
    }
    std::string sortKey(std::wstring_view text) const override {
        std::string key;
        for (wchar_t c : folded(std::wstring(text))) {
            const auto code = static_cast<std::uint32_t>(c);
            for (int shift = 24; shift >= 0; shift -= 8)
                key.push_back(static_cast<char>((code >> shift) & 0xFF));
        }
        return key;
    }

private:
    static std::wstring folded(std::wstring text) {
        for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
        return text;
    }
};

class FakeAppInfo : public AppInfo {
public:
    AppVersion version() const override { return versionNumbers; }
    std::wstring folder() const override { return programFolder; }
    std::wstring exePath() const override { return programFolder + L"\\purgeon.exe"; }
    AppVersion versionNumbers{1, 0};
    std::wstring programFolder = L"C:\\Program Files\\Purgeon";
};

class FakeInstanceGuard : public InstanceGuard {
public:
    bool previousInstanceRunning() override { return otherRunning; }
    bool otherRunning = false;
};

// A URL cache held as a list; deletions may be refused by name, and a walk can break off.
class FakeUrlCache : public UrlCache {
public:
    Status enumerate(const std::function<void(const UrlCacheEntry&)>& visit) override {
        ++walks;
        size_t visited = 0;
        for (const UrlCacheEntry& entry : entries) {
            if (failAfter >= 0 && visited == static_cast<size_t>(failAfter))
                return Status::error(kErrorInvalidHandle);
            visit(entry);
            ++visited;
        }
        return {};
    }
    Status remove(const std::wstring& name) override {
        removed.push_back(name);
        if (std::find(refused.begin(), refused.end(), name) != refused.end())
            return Status::error(kErrorAccessDenied);
        auto it = std::find_if(entries.begin(), entries.end(),
                               [&](const UrlCacheEntry& e) { return e.sourceUrlName == name; });
        if (it == entries.end()) return Status::error(kErrorFileNotFound);
        entries.erase(it);
        return {};
    }
    std::deque<UrlCacheEntry> entries;  // a deque, so deleting first to last stays cheap
    std::vector<std::wstring> refused;
    std::vector<std::wstring> removed;  // every deletion asked for, in order
    int failAfter = -1;                 // the walk breaks off (invalid handle) after this many
    int walks = 0;
};

// The console the command line writes to, kept as one text; it can refuse every write.
class FakeConsole : public ConsoleOutput {
public:
    Status write(const std::wstring& written) override {
        if (error) return Status::error(error);
        text += written;
        return {};
    }
    std::vector<std::wstring> lines() const {
        std::vector<std::wstring> result;
        size_t start = 0;
        for (size_t end; (end = text.find(L'\n', start)) != std::wstring::npos; start = end + 1)
            result.push_back(text.substr(start, end - start));
        return result;
    }
    std::wstring text;
    long error = 0;
};

// Bytes that change from call to call, so that every key differs; it can be made to fail.
class FakeRandomSource : public RandomSource {
public:
    Status fill(void* data, std::size_t bytes) override {
        ++calls;
        if (error) return Status::error(error);
        auto* out = static_cast<unsigned char*>(data);
        for (std::size_t i = 0; i < bytes; ++i) out[i] = static_cast<unsigned char>(next++ * 0x9D);
        return {};
    }
    long error = 0;
    int calls = 0;
    std::uint64_t next = 1;
};

class FakeDateText : public DateText {
public:
    std::wstring shortDate(double value) override {
        return L"D" + std::to_wstring(static_cast<long>(value));
    }
    std::wstring longTime(double value) override {
        const long seconds = std::lround((value - static_cast<long>(value)) * 86400.0);
        return L"T" + std::to_wstring(seconds);
    }
    // Days since 1899-12-30, UTC as local.
    Status localDate(std::int64_t fileTime, double& date) override {
        date = static_cast<double>(fileTime - 94353120000000000) / 864000000000.0;
        return {};
    }
};

}  // namespace purgeon::fakes
