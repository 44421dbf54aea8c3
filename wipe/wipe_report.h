// Counting shred outcomes, and the words that tell the user what was and was not wiped.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "wipe/shred.h"

namespace purgeon {

// Whether the file's name left its folder: every outcome that removed it.
bool nameRemoved(ShredOutcome outcome);

class WipeTally {
public:
    void add(ShredOutcome outcome, size_t files = 1) {
        m_counts[static_cast<size_t>(outcome)] += files;
    }
    size_t count(ShredOutcome outcome) const { return m_counts[static_cast<size_t>(outcome)]; }
    size_t total() const;
    size_t wiped() const { return count(ShredOutcome::wiped); }
    // Files whose name this run took away: wiped, removed, only unlinked (the data lives on under
    // another name), links removed as themselves, or removed though their overwriting failed, was
    // not verified or their renaming failed. A file someone else removed first ("gone") is not
    // among them.
    size_t removed() const;
    size_t notWiped() const { return total() - wiped(); }
    // "2 in use by another program, 1 access denied": every outcome but wiped, in a fixed order.
    std::wstring notWipedDetails() const;

private:
    std::array<size_t, kShredOutcomeCount> m_counts{};
};

// "3 file(s) wiped, 1 not wiped (1 in use by another program)": counts and reasons, never a
// name, as the log keeps them.
std::wstring wipeCountsText(const WipeTally& tally);

// The message after a single file: "<name> wiped" when it was; otherwise what happened and why,
// for instance "report.doc could not be wiped: it is in use by another program."
std::wstring fileWipeMessage(const std::wstring& name, const ShredResult& result,
                             const std::wstring& systemText);

// The message after a folder: "<n>File(s) wiped", and, when some were not, a second line with
// their count and reasons.
std::wstring folderWipeMessage(const WipeTally& tally);

// "1 byte", "700 bytes", "1.5 KB", "3.2 MB", "1.0 GB".
std::wstring sizeText(std::uint64_t bytes);

}  // namespace purgeon
