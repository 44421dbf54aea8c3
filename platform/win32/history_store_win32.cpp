// The URL history store: IUrlHistoryStg2 and its IEnumSTATURL behind the history interfaces.
#include "platform/win32/history_store_win32.h"

#include "platform/win32/handles.h"
#include "platform/win32/win32_status.h"

#include <oleauto.h>
#include <urlhist.h>

namespace purgeon::win32 {

namespace {

// The store's class and the interface the program holds it by.
const CLSID kUrlHistoryClass = {
    0x3C374A40, 0xBAE4, 0x11CF, {0xBF, 0x7D, 0x00, 0xAA, 0x00, 0x69, 0x46, 0xEE}};
const IID kUrlHistoryStg2 = {
    0xAFA0DC11, 0xC313, 0x11D0, {0x83, 0x1A, 0x00, 0xC0, 0x4F, 0xD5, 0xAE, 0x38}};

// A COM result as a Status: success codes (S_FALSE among them) are success.
Status comStatus(HRESULT hr) { return FAILED(hr) ? Status::error(hr) : Status::success(); }

std::int64_t ticks(const FILETIME& time) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) |
                                     time.dwLowDateTime);
}

// A text the store allocated, copied and freed.
std::wstring takeText(wchar_t* text) {
    const UniqueCoTaskMem owner(text);
    return text ? std::wstring(text) : std::wstring();
}

class ComEnumerator : public HistoryEnumerator {
public:
    explicit ComEnumerator(IEnumSTATURL* enumerator) : m_enumerator(enumerator) {}
    Status setFilter(const std::wstring& filter, std::uint32_t flags) override {
        return comStatus(
            m_enumerator.get()->SetFilter(filter.empty() ? nullptr : filter.c_str(), flags));
    }
    Status next(StatUrlRecord& record, bool& fetched) override {
        STATURL stat{};
        stat.cbSize = sizeof(stat);
        ULONG got = 0;
        const HRESULT hr = m_enumerator.get()->Next(1, &stat, &got);
        // The texts belong to the caller whatever the answer: freed here once copied.
        std::wstring url = takeText(stat.pwcsUrl);
        std::wstring title = takeText(stat.pwcsTitle);
        fetched = SUCCEEDED(hr) && got == 1;
        if (!fetched) return comStatus(hr);
        record.url = std::move(url);
        record.title = std::move(title);
        record.lastVisited = ticks(stat.ftLastVisited);
        record.lastUpdated = ticks(stat.ftLastUpdated);
        record.expires = ticks(stat.ftExpires);
        record.flags = stat.dwFlags;
        return Status::success();
    }

private:
    ComPtr<IEnumSTATURL> m_enumerator;
};

class ComHistoryStore : public HistoryStore {
public:
    // The store is made in, and used from, the thread that creates this object: a worker thread
    // gets COM of its own here, for as long as the store lives.
    HRESULT open() {
        void* raw = nullptr;
        const HRESULT hr = ::CoCreateInstance(kUrlHistoryClass, nullptr, CLSCTX_INPROC_SERVER,
                                              kUrlHistoryStg2, &raw);
        if (FAILED(hr)) return hr;
        if (!raw) return E_POINTER;
        m_store.reset(static_cast<IUrlHistoryStg2*>(raw));
        return S_OK;
    }
    Status enumUrls(std::unique_ptr<HistoryEnumerator>& enumerator) override {
        IEnumSTATURL* raw = nullptr;
        const HRESULT hr = m_store.get()->EnumUrls(&raw);
        if (FAILED(hr)) return comStatus(hr);
        if (!raw) return comStatus(E_POINTER);
        enumerator = std::make_unique<ComEnumerator>(raw);
        return Status::success();
    }
    Status addUrl(const std::wstring& url, const std::wstring& title,
                  std::uint32_t flags) override {
        return comStatus(m_store.get()->AddUrl(url.c_str(), title.c_str(), flags));
    }
    Status deleteUrl(const std::wstring& url, std::uint32_t flags) override {
        return comStatus(m_store.get()->DeleteUrl(url.c_str(), flags));
    }
    Status clearHistory() override { return comStatus(m_store.get()->ClearHistory()); }
    Status localDate(std::int64_t fileTime, double& date) override {
        return localDateFromFileTime(fileTime, date);
    }

private:
    const ComApartment m_apartment;  // first in, last out: it outlives the store
    ComPtr<IUrlHistoryStg2> m_store;
};

}  // namespace

Status Win32HistoryStoreFactory::create(std::unique_ptr<HistoryStore>& store) {
    auto made = std::make_unique<ComHistoryStore>();
    const HRESULT hr = made->open();
    if (FAILED(hr)) return comStatus(hr);
    store = std::move(made);
    return Status::success();
}

Status localDateFromFileTime(std::int64_t fileTime, double& date) {
    FILETIME utc{static_cast<DWORD>(fileTime & 0xFFFFFFFF), static_cast<DWORD>(fileTime >> 32)};
    FILETIME local{};
    SYSTEMTIME fields{};
    if (!::FileTimeToLocalFileTime(&utc, &local) || !::FileTimeToSystemTime(&local, &fields))
        return lastError();
    // SystemTimeToVariantTime sets no error of its own: a date it cannot hold is out of range.
    return ::SystemTimeToVariantTime(&fields, &date) ? Status::success()
                                                     : Status::error(ERROR_INVALID_PARAMETER);
}

}  // namespace purgeon::win32
