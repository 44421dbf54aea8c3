// The URL history store over COM.
#pragma once

#include "platform/history_store.h"

namespace purgeon::win32 {

class Win32HistoryStoreFactory : public HistoryStoreFactory {
public:
    Status create(std::unique_ptr<HistoryStore>& store) override;
};

// A stored UTC time as a local date-time value (days since 1899-12-30, time as fraction).
Status localDateFromFileTime(std::int64_t fileTime, double& date);

}  // namespace purgeon::win32
