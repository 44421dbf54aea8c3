// What a fill leaves behind when it ends abruptly: its files' and folders' names, the record of
// the volumes being filled, and the sweep that removes them at the next start.
#include <algorithm>
#include <cwctype>

#include "wipe/folder_guard.h"
#include "wipe/free_space.h"
#include "wipe/remove_file.h"

namespace purgeon {

namespace {

constexpr wchar_t kFillPrefix[] = L"purgeon-fill-";
constexpr wchar_t kFillSuffix[] = L".tmp";
constexpr std::size_t kNumberDigits = 8;

constexpr wchar_t kRecordSection[] = L"Free space";
constexpr wchar_t kRecordKey[] = L"fillroots";
constexpr wchar_t kRecordSeparator = L'|';  // no path can hold it

std::wstring lowered(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

}  // namespace

std::wstring fillFileName(std::uint64_t number) {
    std::wstring digits = std::to_wstring(number);
    if (digits.size() < kNumberDigits) digits.insert(0, kNumberDigits - digits.size(), L'0');
    return kFillPrefix + digits + kFillSuffix;
}

bool isFillFileName(const std::wstring& name) {
    const std::wstring text = lowered(name);
    const std::wstring prefix = kFillPrefix;
    const std::wstring suffix = kFillSuffix;
    if (text.size() < prefix.size() + kNumberDigits + suffix.size()) return false;
    if (text.compare(0, prefix.size(), prefix) != 0) return false;
    if (text.compare(text.size() - suffix.size(), suffix.size(), suffix) != 0) return false;
    const std::wstring digits =
        text.substr(prefix.size(), text.size() - prefix.size() - suffix.size());
    return std::all_of(digits.begin(), digits.end(),
                       [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

bool isRecordFolderName(const std::wstring& name) {
    return name.size() == 1 && name[0] >= L'0' &&
           name[0] < static_cast<wchar_t>(L'0' + kRecordsPerFolder);
}

std::wstring fillFolderOf(const std::wstring& root) {
    return (root.empty() || root.back() == L'\\' ? root : root + L"\\") + kFillFolderName;
}

namespace {

// Removes the folders below a folder of the records tree, deepest first, then the folder itself.
// What is not the tree's (a file, a link, another name) stays, and so do the folders that hold it.
void removeRecordTree(FileSystem& files, Volumes& volumes, const std::wstring& folder,
                      std::stop_token stop, LeftoverSweep& sweep) {
    std::vector<std::wstring> names;
    if (!files.listFolder(folder + L"\\", [&](const DirEntry& entry) {
            if ((entry.attributes & kAttrDirectory) && !(entry.attributes & kAttrReparsePoint) &&
                isRecordFolderName(entry.name))
                names.push_back(entry.name);
        }))
        return;
    for (const std::wstring& name : names) {
        if (stop.stop_requested()) return;
        removeRecordTree(files, volumes, folder + L"\\" + name, stop, sweep);
    }
    if (volumes.removeFolder(folder)) {
        ++sweep.removed;
    } else {
        ++sweep.notRemoved;
    }
}

}  // namespace

LeftoverSweep RemoveFillLeftovers(FileSystem& files, Volumes& volumes, const std::wstring& root,
                                  std::stop_token stop) {
    LeftoverSweep sweep;
    const std::wstring folder = fillFolderOf(root);
    std::wstring final;
    // No folder, or a name that leads elsewhere: nothing here is ours.
    if (!files.resolveFolder(folder, final) || !samePath(plainPath(final), plainPath(folder)))
        return sweep;
    std::vector<std::wstring> names;
    bool records = false;
    const Status listed = files.listFolder(folder + L"\\", [&](const DirEntry& entry) {
        if (!(entry.attributes & kAttrDirectory) && isFillFileName(entry.name))
            names.push_back(entry.name);
        records = records ||
                  ((entry.attributes & kAttrDirectory) && !(entry.attributes & kAttrReparsePoint) &&
                   samePath(entry.name, kRecordsFolderName));
    });
    if (!listed) return sweep;
    if (records) removeRecordTree(files, volumes, folder + L"\\" + kRecordsFolderName, stop, sweep);
    for (const std::wstring& name : names) {
        if (stop.stop_requested()) return sweep;
        const Status removed = files.deleteFile(folder + L"\\" + name);
        if (removed) {
            ++sweep.removed;
        } else if (!removedOrGone(removed)) {
            ++sweep.notRemoved;
        }
    }
    static_cast<void>(volumes.removeFolder(folder));
    return sweep;
}

std::vector<std::wstring> FillRecord::roots() {
    std::wstring text;
    if (!m_store.read(m_application, kRecordSection, kRecordKey, text)) return {};
    std::vector<std::wstring> roots;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(kRecordSeparator, start)) != std::wstring::npos;
         start = end + 1) {
        if (end > start) roots.push_back(text.substr(start, end - start));
    }
    return roots;
}

Status FillRecord::add(const std::wstring& root) {
    std::vector<std::wstring> now = roots();
    for (const std::wstring& known : now) {
        if (samePath(known, root)) return Status::success();
    }
    now.push_back(root);
    return write(now);
}

Status FillRecord::remove(const std::wstring& root) {
    std::vector<std::wstring> now = roots();
    const auto kept = std::remove_if(
        now.begin(), now.end(), [&](const std::wstring& known) { return samePath(known, root); });
    if (kept == now.end()) return Status::success();
    now.erase(kept, now.end());
    return write(now);
}

Status FillRecord::write(const std::vector<std::wstring>& roots) {
    std::wstring text;
    for (const std::wstring& root : roots) text += root + kRecordSeparator;
    return m_store.write(m_application, kRecordSection, kRecordKey, text);
}

LeftoverSweep SweepFillLeftovers(FileSystem& files, Volumes& volumes, FillRecord& record,
                                 std::stop_token stop) {
    const std::vector<std::wstring> recorded = record.roots();
    std::vector<std::wstring> roots = recorded;
    for (const std::wstring& root : volumes.driveRoots()) {
        if (volumes.driveKind(root) != DriveKind::fixed) continue;
        if (std::none_of(roots.begin(), roots.end(),
                         [&](const std::wstring& known) { return samePath(known, root); }))
            roots.push_back(root);
    }
    LeftoverSweep total;
    for (const std::wstring& root : roots) {
        if (stop.stop_requested()) break;
        const LeftoverSweep swept = RemoveFillLeftovers(files, volumes, root, stop);
        total += swept;
        const bool wasRecorded =
            std::any_of(recorded.begin(), recorded.end(),
                        [&](const std::wstring& known) { return samePath(known, root); });
        if (wasRecorded && swept.notRemoved == 0 && !stop.stop_requested())
            static_cast<void>(record.remove(root));
    }
    return total;
}

}  // namespace purgeon
