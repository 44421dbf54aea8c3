// The Recycle Bin's preview and clean: what the bins hold, and emptying them through the shell.
#include "clean/recycle_bin_area.h"

#include "clean/failure_text.h"

namespace purgeon {

namespace {

AreaResult previewRecycleBin(CleanContext& context) {
    RecycleBinContents contents;
    const Status queried = context.services.shell.queryRecycleBin(contents);
    if (!queried)
        return leftAlone(L"the Recycle Bin could not be read: " + wordsInLine(context, queried));
    AreaResult result;
    result.count = static_cast<std::size_t>(contents.items);
    result.bytes = contents.bytes;
    return result;
}

AreaResult cleanRecycleBin(CleanContext& context) {
    Shell& shell = context.services.shell;
    // Read first, so the summary can say what went.
    RecycleBinContents contents;
    const Status queried = shell.queryRecycleBin(contents);
    Status emptied = Status::error(kErrorBusy);
    context.operations.runOperation(
        L"emptying the Recycle Bin",
        [&](std::stop_token, ProgressSink&) { emptied = shell.emptyRecycleBin(); });
    if (!emptied) {
        AreaResult result = leftAlone(L"the shell refused to empty it");
        result.log.push_back(
            failureLine(context.services.errors, L"Recycle Bin: not emptied", emptied));
        return result;
    }
    AreaResult result;
    if (queried) {
        result.count = static_cast<std::size_t>(contents.items);
        result.bytes = contents.bytes;
    }
    result.log.push_back(L"Recycle Bin: emptied.");
    return result;
}

}  // namespace

const Area kRecycleBinArea{
    .name = L"recyclebin",
    .title = L"Recycle Bin",
    .one = L"item",
    .many = L"items",
    .help = L"the Recycle Bins of all drives",
    .optionKey = kAutoRecycleBinKey,
    .status = L"Emptying Recycle Bin...",
    .preview = previewRecycleBin,
    .clean = cleanRecycleBin,
};

}  // namespace purgeon
