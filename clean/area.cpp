// Building an area's result.
#include "clean/area.h"

#include "clean/failure_text.h"

namespace purgeon {

AreaResult leftAlone(std::wstring why) {
    AreaResult result;
    result.ran = false;
    result.done = false;
    result.why = std::move(why);
    return result;
}

std::wstring countText(std::size_t count, const wchar_t* one, const wchar_t* many) {
    return std::to_wstring(count) + L" " + (count == 1 ? one : many);
}

std::wstring joinedNotes(const std::vector<std::wstring>& notes) {
    std::wstring text;
    for (const std::wstring& note : notes) text += (text.empty() ? L"" : L"; ") + note;
    return text;
}

std::wstring refusedText(const FolderCheck& check) {
    return L"the folder " + check.folder + L" was refused: " + refusalReason(check);
}

std::wstring wordsInLine(CleanContext& context, const Status& status) {
    std::wstring words = systemWords(context.services.errors, status);
    while (!words.empty() && words.back() == L'.') words.pop_back();
    return words;
}

void addBrowsersPart(AreaResult& result, const AreaResult& part) {
    result.browsers = part.browsers;
    result.log.insert(result.log.end(), part.log.begin(), part.log.end());
    result.done = result.done && part.done;
}

}  // namespace purgeon
