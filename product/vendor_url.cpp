// The vendor's address as this executable was built with it (PURGEON_VENDOR_URL).
#include "product/product.h"

#ifndef PURGEON_VENDOR_URL
#define PURGEON_VENDOR_URL "https://www.purgeon.example/"
#endif
#define PURGEON_WIDEN_(text) L##text
#define PURGEON_WIDEN(text) PURGEON_WIDEN_(text)

namespace purgeon {

std::wstring vendorUrl() { return PURGEON_WIDEN(PURGEON_VENDOR_URL); }

}  // namespace purgeon
