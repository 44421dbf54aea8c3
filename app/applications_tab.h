// Behaviour of the Applications tab: the Windows group (what Windows itself remembers), then the
// detected entries of the rule file grouped by section, each with its tick, its files and size,
// counted off the window's thread; the Warning before a tick; a preview of one entry's files;
// "Clean Applications" with a summary; "Get rules..." when there is no rule file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/listing.h"
#include "clean/apps_area.h"
#include "clean/clean_context.h"
#include "platform/dialogs.h"
#include "platform/downloader.h"

namespace purgeon {

// One row of the list.
struct AppRow {
    std::wstring section;  // "" for entries without one
    std::wstring name;
    std::size_t files = 0;
    std::uint64_t bytes = 0;
    std::size_t registry = 0;
    bool ticked = false;
    // What the row says of itself instead of counts ("empty", "needs administrator rights"); its
    // counts are shown only when counted.
    std::wstring note;
    bool counted = true;
    bool operator==(const AppRow&) const = default;
};

class WindowsGroup;

// What the tab needs from the window system.
class ApplicationsView {
public:
    virtual ~ApplicationsView() = default;
    virtual void showRows(const std::vector<AppRow>& rows) = 0;
    // One row's tick: the user's tick shows only once the behaviour has taken it.
    virtual void showTick(std::size_t row, bool ticked) = 0;
    // What the tab says of the rule file; offerRules: there is none, and "Get rules..." is offered.
    virtual void showRuleFile(const std::wstring& text, bool offerRules) = 0;
    // "Clean applications automatically".
    virtual void showAutomatic(bool ticked) = 0;
};

class ApplicationsTab {
public:
    // The context's state holds the program's rule file (context.state.apps; null: no rule file
    // can be read), which the runs read afresh; the tab reads its own copy through the listing,
    // parsing it again only when its content changed. listingChanged runs when a listing starts
    // and when it ends.
    ApplicationsTab(CleanContext context, Dialogs& dialogs, Downloader& downloader,
                    ApplicationsView& view, std::unique_ptr<ListingRunner> listing,
                    std::function<void()> listingChanged = {});
    ~ApplicationsTab();
    ApplicationsTab(const ApplicationsTab&) = delete;
    ApplicationsTab& operator=(const ApplicationsTab&) = delete;

    // Reads the ticks, then lists afresh: the rule file is read, and every entry detected and
    // counted, off the window's thread; the rows show as they come.
    void refresh();
    bool listing() const { return m_listing->running(); }
    void stopListing();
    // The user ticked or unticked a row. An entry with a Warning is ticked only after "Yes".
    void tick(std::size_t row, bool ticked);
    // "Clean applications automatically" ticked or unticked: stored at once.
    void setAutomatic(bool ticked);
    // Tells, in a box, the files and registry items the row's entry would remove.
    void preview(std::size_t row);
    // Cleans the ticked entries with progress and Cancel, then tells what came of it.
    void clean();
    // Downloads the rule file and tells how many entries it holds.
    void getRules();

    const std::vector<AppRow>& rows() const { return m_rows; }

private:
    struct RuleRead;
    void ruleFileRead(const RuleRead& read);
    void addApps(std::vector<DetectedApp>& apps);
    void showAllRows();
    void showRuleText();
    void tell(const std::wstring& text, unsigned style);

    CleanContext m_context;
    Dialogs& m_dialogs;
    Downloader& m_downloader;
    ApplicationsView& m_view;
    std::function<void()> m_listingChanged;
    // The rule file as last read: where, whether it was there, its entries and its content's
    // key (size and hash), so that an unchanged file is not parsed again.
    std::wstring m_file;
    bool m_found = false;
    std::shared_ptr<const RuleBook> m_book;
    std::uint64_t m_key = 0;
    bool m_listed = false;               // the last listing ran to its end
    std::vector<std::wstring> m_ticked;  // as stored: detected or not
    std::vector<DetectedApp> m_apps;     // in the rows' order, entries of m_book
    std::vector<AppRow> m_rows;          // the Windows group's, then the rule file's
    std::unique_ptr<WindowsGroup> m_windows;
    // Last, so that the listing stops before what it fills goes.
    std::unique_ptr<ListingRunner> m_listing;
};

}  // namespace purgeon
