// Behaviour of the Applications tab: the detected entries of the rule file grouped by section,
// each with its tick, its files and size; the Warning before a tick; a preview of one entry's
// files; "Clean Applications" with a summary; "Get rules..." when there is no rule file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

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
    bool operator==(const AppRow&) const = default;
};

// What the tab needs from the window system.
class ApplicationsView {
public:
    virtual ~ApplicationsView() = default;
    virtual void showRows(const std::vector<AppRow>& rows) = 0;
    // No rule file: the text says where to put one, and "Get rules..." is offered.
    virtual void showNoRules(const std::wstring& text) = 0;
    // The files (and registry items) the selected entry would remove.
    virtual void showPreview(const std::vector<std::wstring>& lines) = 0;
};

class ApplicationsTab {
public:
    // The context's state holds the rule file (context.state.apps, never null here).
    ApplicationsTab(CleanContext& context, Dialogs& dialogs, Downloader& downloader,
                    ApplicationsView& view);

    // Reads the rule file and the ticks, detects and counts every entry, off the window's thread
    // (through the context's operations), then shows the rows.
    void refresh();
    // The user ticked or unticked a row. An entry with a Warning is ticked only after "Yes".
    void tick(std::size_t row, bool ticked);
    // The files and registry items of the row's entry.
    void preview(std::size_t row);
    // Cleans the ticked entries with progress and Cancel, then tells what came of it.
    void clean();
    // Downloads the rule file and tells how many entries it holds.
    void getRules();

    const std::vector<AppRow>& rows() const { return m_rows; }

private:
    void show();
    void save();

    CleanContext& m_context;
    Dialogs& m_dialogs;
    Downloader& m_downloader;
    ApplicationsView& m_view;
    std::vector<DetectedApp> m_apps;  // in the rows' order
    std::vector<AppRow> m_rows;
};

}  // namespace purgeon
