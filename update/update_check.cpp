// Reading the published version and comparing it with the running program's.
#include "update/update_check.h"

#include "product/product.h"

namespace purgeon {

std::wstring firstField(const std::string& content) {
    size_t i = 0;
    while (i < content.size() && (content[i] == ' ' || content[i] == '\t')) ++i;
    std::wstring field;
    if (i < content.size() && content[i] == '"') {
        for (++i; i < content.size() && content[i] != '"'; ++i)
            field.push_back(static_cast<unsigned char>(content[i]));
        return field;
    }
    for (; i < content.size(); ++i) {
        const char c = content[i];
        if (c == ',' || c == '\r' || c == '\n') break;
        field.push_back(static_cast<unsigned char>(c));
    }
    return field;
}

std::optional<double> versionNumber(const std::wstring& text) {
    size_t end = text.size();
    while (end > 0 && (text[end - 1] == L' ' || text[end - 1] == L'\t')) --end;
    double whole = 0;
    size_t i = 0;
    for (; i < end && text[i] >= L'0' && text[i] <= L'9'; ++i)
        whole = whole * 10 + (text[i] - L'0');
    if (i == 0) return std::nullopt;
    if (i == end) return whole;
    if (text[i] != L'.') return std::nullopt;
    // Each digit adds its own share, so a long fraction fades to nothing instead of running to
    // infinity and reading as no number.
    double fraction = 0;
    double place = 0.1;
    size_t digits = 0;
    for (++i; i < end && text[i] >= L'0' && text[i] <= L'9'; ++i, ++digits) {
        fraction += (text[i] - L'0') * place;
        place /= 10;
    }
    if (i != end || digits == 0) return std::nullopt;
    return whole + fraction;
}

std::wstring versionFileUrl() { return vendorUrl() + L"products/zp/version.txt"; }

std::wstring downloadPageUrl() { return vendorUrl() + L"products/zp/"; }

std::string withoutByteOrderMark(const std::string& content) {
    return content.rfind("\xEF\xBB\xBF", 0) == 0 ? content.substr(3) : content;
}

UpdateCheckResult checkForUpdates(UpdateServices& s) {
    UpdateCheckResult result;
    const std::wstring url = versionFileUrl();
    // The cached copy goes first, so that what is read is what the server publishes now. The
    // file is read into memory: the program's own folder may well be read-only.
    if (const Status dropped = s.urlCache.remove(url); dropped.code != kErrorFileNotFound)
        result.cachedCopyDropped = dropped;
    std::string content;
    result.versionFileFetched =
        s.downloader.download(url, kVersionFileLimit, kDownloadTimeoutSeconds, content);
    const Status fetched = result.versionFileFetched;
    if (!fetched && fetched.code != kErrorFileTooLarge) {
        s.dialogs.messageBox(
            L"The update file not found.Unable to verify if new download is present", kAppTitle,
            kMbOk);
        return result;
    }
    const bool read = fetched.ok();
    content = withoutByteOrderMark(content);

    const std::optional<double> latest = read ? versionNumber(firstField(content)) : std::nullopt;
    // The version file names a major and minor version.
    const AppVersion version = s.appInfo.version();
    const std::optional<double> running =
        versionNumber(std::to_wstring(version.major) + L"." + std::to_wstring(version.minor));
    if (!latest || !running) {
        s.dialogs.messageBox(
            L"The update file could not be read.Unable to verify if new download is present",
            kAppTitle, kMbOk | kMbIconExclamation);
        return result;
    }
    if (*running < *latest) {
        if (s.dialogs.messageBox(
                L"A newer version is available!. Do you wish to go to the download page?",
                kAppTitle, kMbYesNo | kMbIconInformation) == kIdYes) {
            result.downloadPageOpened = s.shell.open(downloadPageUrl());
        }
        return result;
    }
    s.dialogs.messageBox(L"Your version is up to date", kAppTitle, kMbOk | kMbIconInformation);
    return result;
}

}  // namespace purgeon
