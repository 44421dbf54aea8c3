// The URL history store over COM, and date and time texts.
#include "platform/win32/history_time_win32.h"

#include <oleauto.h>
#include <urlhist.h>

namespace purgeon::win32 {

namespace {

// The store's class and the interface the program holds it by.
const CLSID kUrlHistoryClass = {
    0x3C374A40, 0xBAE4, 0x11CF, {0xBF, 0x7D, 0x00, 0xAA, 0x00, 0x69, 0x46, 0xEE}};
const IID kUrlHistoryStg2 = {
    0xAFA0DC11, 0xC313, 0x11D0, {0x83, 0x1A, 0x00, 0xC0, 0x4F, 0xD5, 0xAE, 0x38}};

std::int64_t ticks(const FILETIME& time) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) |
                                     time.dwLowDateTime);
}

class ComEnumerator : public HistoryEnumerator {
public:
    explicit ComEnumerator(IEnumSTATURL* enumerator) : m_enumerator(enumerator) {}
    HResult setFilter(const wchar_t* filter, std::uint32_t flags) override {
        return m_enumerator.get()->SetFilter(filter, flags);
    }
    HResult next(StatUrlRecord& record, unsigned long& fetched) override {
        STATURL stat{};
        stat.cbSize = sizeof(stat);
        ULONG got = 0;
        const HRESULT hr = m_enumerator.get()->Next(1, &stat, &got);
        fetched = got;
        if (FAILED(hr) || got == 0) {
            if (got == 0) fetched = 0;
            return FAILED(hr) ? hr : S_OK;
        }
        record.url = stat.pwcsUrl;
        record.title = stat.pwcsTitle;
        record.lastVisited = ticks(stat.ftLastVisited);
        record.lastUpdated = ticks(stat.ftLastUpdated);
        record.expires = ticks(stat.ftExpires);
        record.flags = stat.dwFlags;
        return S_OK;
    }

private:
    ComPtr<IEnumSTATURL> m_enumerator;
};

class ComHistoryStore : public HistoryStore {
public:
    explicit ComHistoryStore(IUrlHistoryStg2* store) : m_store(store) {}
    HResult enumUrls(std::unique_ptr<HistoryEnumerator>& enumerator) override {
        IEnumSTATURL* raw = nullptr;
        const HRESULT hr = m_store.get()->EnumUrls(&raw);
        if (FAILED(hr)) return hr;
        if (!raw) return E_POINTER;
        enumerator = std::make_unique<ComEnumerator>(raw);
        return hr;
    }
    HResult addUrl(const wchar_t* url, const wchar_t* title, std::uint32_t flags) override {
        return m_store.get()->AddUrl(url, title, flags);
    }
    HResult deleteUrl(const wchar_t* url, std::uint32_t flags) override {
        return m_store.get()->DeleteUrl(url, flags);
    }
    HResult clearHistory() override { return m_store.get()->ClearHistory(); }
    void freeText(wchar_t* text) override { ::CoTaskMemFree(text); }
    bool localDate(std::int64_t fileTime, double& date) override {
        return localDateFromFileTime(fileTime, date);
    }

private:
    ComPtr<IUrlHistoryStg2> m_store;
};

SYSTEMTIME systemTime(double value, bool& ok) {
    SYSTEMTIME time{};
    ok = ::VariantTimeToSystemTime(value, &time) != FALSE;
    return time;
}

}  // namespace

std::unique_ptr<HistoryStore> Win32HistoryStoreFactory::create(HResult& hr) {
    void* raw = nullptr;
    hr = ::CoCreateInstance(kUrlHistoryClass, nullptr, CLSCTX_INPROC_SERVER, kUrlHistoryStg2, &raw);
    if (FAILED(hr) || !raw) return nullptr;
    return std::make_unique<ComHistoryStore>(static_cast<IUrlHistoryStg2*>(raw));
}

bool localDateFromFileTime(std::int64_t fileTime, double& date) {
    FILETIME utc{static_cast<DWORD>(fileTime & 0xFFFFFFFF), static_cast<DWORD>(fileTime >> 32)};
    FILETIME local{};
    SYSTEMTIME fields{};
    return ::FileTimeToLocalFileTime(&utc, &local) && ::FileTimeToSystemTime(&local, &fields) &&
           ::SystemTimeToVariantTime(&fields, &date);
}

std::wstring Win32DateText::shortDate(double value) {
    bool ok = false;
    const SYSTEMTIME time = systemTime(value, ok);
    wchar_t buffer[128] = {};
    if (!ok || !::GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, buffer,
                                  128, nullptr))
        return {};
    return buffer;
}

std::wstring Win32DateText::longTime(double value) {
    bool ok = false;
    const SYSTEMTIME time = systemTime(value, ok);
    wchar_t buffer[128] = {};
    if (!ok || !::GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &time, nullptr, buffer, 128))
        return {};
    return buffer;
}

}  // namespace purgeon::win32
