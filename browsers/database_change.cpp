// Changing a browser's database so that nothing a change removes stays readable on the disk.
#include "browsers/database_change.h"

#include "wipe/shred.h"
#include "wipe/wipe_report.h"

namespace purgeon {

std::wstring overwriteLeftover(FileSystem& files, const std::wstring& path) {
    if (path.empty()) return {};
    ShredRequest request(WipeMethod::onePass, false);
    const ShredResult result = ShredFile(files, path, request);
    if (result.outcome == ShredOutcome::wiped || result.outcome == ShredOutcome::gone) return {};
    const size_t slash = path.find_last_of(L'\\');
    const std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    return fileWipeMessage(name, result, {});
}

std::wstring changeLeavingNoTrace(FileSystem& files, const std::wstring& path,
                                  const std::function<bool(SqliteDatabase&)>& change) {
    std::wstring journal;
    try {
        SqliteDatabase db(path, false);
        journal = db.keepJournal();
        db.secureDelete();
        if (change(db)) db.compact();
    } catch (const SqliteError&) {
        // Closed by now: a change that failed was rolled back from the journal, which still
        // holds pages of the file.
        static_cast<void>(overwriteLeftover(files, journal));
        throw;
    }
    return overwriteLeftover(files, journal);
}

}  // namespace purgeon
