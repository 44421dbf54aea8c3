// Reading rule files: every key, the encodings, and malformed entries left out rather than read
// more widely than written.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <tuple>

#include "browsers/utf8_text.h"
#include "rules/rule_book.h"
#include "rules/rule_names.h"

namespace purgeon {
namespace {

std::string narrow(const std::wstring& text) { return toUtf8(text); }

std::string utf16le(const std::wstring& text, bool mark) {
    std::string bytes = mark ? std::string("\xFF\xFE") : std::string();
    for (wchar_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>((c >> 8) & 0xFF));
    }
    return bytes;
}

// A file as real ones are written: notes, CRLF, numbers past 100, names with odd characters,
// long keys, several Detect keys of both kinds.
const char kRules[] =
    "; Version: test\r\n"
    "; a note\r\n"
    "\r\n"
    "[Notepad++ *]\r\n"
    "LangSecRef=3021\r\n"
    "Section=Editors\r\n"
    "Detect=HKCU\\Software\\Notepad++\r\n"
    "Detect2=HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\Notepad++\r\n"
    "DetectFile=%AppData%\\Notepad++\r\n"
    "Default=False\r\n"
    "FileKey1=%AppData%\\Notepad++|session.xml;*.bak\r\n"
    "FileKey134=%LocalAppData%\\Notepad++\\backup*|*.*|RECURSE|REMOVESELF\r\n"
    "RegKey401=HKCU\\Software\\Notepad++|Recent File List\r\n"
    "RegKey2=HKCR\\Applications\\notepad++.exe\\%1 shell\r\n"
    "ExcludeKey1=FILE|%AppData%\\Notepad++\\|keep.bak\r\n"
    "ExcludeKey2=PATH|%AppData%\\Notepad++\\plugins\\\r\n"
    "ExcludeKey3=REG|HKU\\.DEFAULT\\Software\\Notepad++|Keep\r\n"
    "Warning=This removes your unsaved tabs.\r\n"
    "\r\n"
    "[Tom's Player & 100% Audio: Cache? [1]]\r\n"
    "DetectOS=6.2|\r\n"
    "FileKey1=%LocalAppData%\\Tom's Player\\Cache [1]|LOG;CURRENT;data *.tmp;**x**\r\n";

TEST(RuleBook, ReadsEveryKeyOfAnEntryAsWritten) {
    const RuleBook book = parseRules(kRules);
    ASSERT_EQ(book.entries.size(), 2u);
    EXPECT_TRUE(book.problems.empty()) << narrow(problemText(book.problems.front()));

    const RuleEntry& notepad = book.entries[0];
    EXPECT_EQ(notepad.name, L"Notepad++ *");
    EXPECT_EQ(notepad.line, 4u);
    EXPECT_EQ(notepad.section, L"Editors");
    EXPECT_EQ(notepad.langSecRef, L"3021");
    EXPECT_FALSE(notepad.defaultOn);
    EXPECT_EQ(notepad.warning, L"This removes your unsaved tabs.");
    EXPECT_EQ(notepad.detectKeys,
              (std::vector<std::wstring>{L"HKCU\\Software\\Notepad++",
                                         L"HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\Notepad++"}));
    EXPECT_EQ(notepad.detectFiles, std::vector<std::wstring>{L"%AppData%\\Notepad++"});
    EXPECT_FALSE(notepad.alwaysDetected());
    ASSERT_EQ(notepad.files.size(), 2u);
    EXPECT_EQ(notepad.files[0],
              (FileRule{L"%AppData%\\Notepad++", {L"session.xml", L"*.bak"}, false, false, {}}));
    EXPECT_EQ(notepad.files[1],
              (FileRule{L"%LocalAppData%\\Notepad++\\backup*", {L"*.*"}, true, true, {}}));
    ASSERT_EQ(notepad.registry.size(), 2u);
    EXPECT_EQ(notepad.registry[0], (RegRule{L"HKCU\\Software\\Notepad++", L"Recent File List"}));
    // A "%" in a registry key is part of its name.
    EXPECT_EQ(notepad.registry[1], (RegRule{L"HKCR\\Applications\\notepad++.exe\\%1 shell", {}}));
    ASSERT_EQ(notepad.excludes.size(), 3u);
    EXPECT_EQ(notepad.excludes[0],
              (ExcludeRule{ExcludeKind::file, L"%AppData%\\Notepad++", {L"keep.bak"}, {}}));
    EXPECT_EQ(notepad.excludes[1],
              (ExcludeRule{ExcludeKind::path, L"%AppData%\\Notepad++\\plugins", {}, {}}));
    EXPECT_EQ(notepad.excludes[2],
              (ExcludeRule{ExcludeKind::reg, L"HKU\\.DEFAULT\\Software\\Notepad++", {}, L"Keep"}));

    const RuleEntry& player = book.entries[1];
    EXPECT_EQ(player.name, L"Tom's Player & 100% Audio: Cache? [1]");
    EXPECT_TRUE(player.alwaysDetected());
    ASSERT_TRUE(player.detectOs);
    EXPECT_EQ(player.detectOs->min, std::make_pair(6, 2));
    EXPECT_FALSE(player.detectOs->max);
    EXPECT_EQ(player.files[0].patterns,
              (std::vector<std::wstring>{L"LOG", L"CURRENT", L"data *.tmp", L"**x**"}));
    EXPECT_EQ(book.find(L"Notepad++ *"), &book.entries[0]);
    EXPECT_EQ(book.find(L"notepad++ *"), nullptr);
}

TEST(RuleBook, ReadsTheSameEntriesInEveryEncodingAndLineEnd) {
    const std::wstring wide = fromUtf8(kRules);
    std::string lf = kRules;
    std::erase(lf, '\r');
    struct Case {
        const char* what;
        std::string bytes;
        RuleEncoding encoding;
    };
    for (const Case& c : {
             Case{"UTF-8, CRLF", kRules, RuleEncoding::utf8},
             Case{"UTF-8, LF", lf, RuleEncoding::utf8},
             Case{"UTF-8 with its mark", "\xEF\xBB\xBF" + std::string(kRules),
                  RuleEncoding::utf8WithMark},
             Case{"UTF-16LE with its mark", utf16le(wide, true), RuleEncoding::utf16le},
             Case{"UTF-16LE without a mark", utf16le(wide, false), RuleEncoding::utf16le},
         }) {
        const RuleBook book = parseRules(c.bytes);
        EXPECT_EQ(book.encoding, c.encoding) << c.what;
        ASSERT_EQ(book.entries.size(), 2u) << c.what;
        EXPECT_TRUE(book.problems.empty()) << c.what;
        EXPECT_EQ(book.entries[0].files[1].folder, L"%LocalAppData%\\Notepad++\\backup*") << c.what;
        EXPECT_EQ(book.entries[1].name, L"Tom's Player & 100% Audio: Cache? [1]") << c.what;
    }
    // Characters beyond ASCII and a line past a thousand characters.
    std::string longKey = "[Caf\xC3\xA9 \xF0\x9F\x98\x80]\nFileKey1=%Temp%\\x|";
    for (int i = 0; i < 66; ++i) longKey += "pattern number " + std::to_string(i) + "*.tmp;";
    const RuleBook book = parseRules(longKey);
    ASSERT_EQ(book.entries.size(), 1u);
    EXPECT_EQ(book.entries[0].name, L"Caf\u00e9 \U0001F600");
    EXPECT_EQ(book.entries[0].files[0].patterns.size(), 66u);
}

TEST(RuleBook, LeavesOutAMalformedEntryWholeAndGoesOn) {
    struct Case {
        const char* key;
        const wchar_t* problem;  // found in the problem's text
    };
    for (const Case& c : {
             Case{"FileKey1=%AppData%\\App", L"no file pattern"},
             Case{"FileKey1=%AppData%\\App|", L"no file pattern"},
             Case{"FileKey1=%AppData%\\App| ; ", L"no file pattern"},
             Case{"FileKey1=%AppData%\\App|RECURSE", L"where the file pattern belongs"},
             Case{"FileKey1=%AppData%\\App|removeself|*.log", L"where the file pattern belongs"},
             Case{"FileKey1=%AppData%\\App|*.log|RECURSIVE", L"unknown or repeated flag"},
             Case{"FileKey1=%AppData%\\App|*.log||RECURSE", L"unknown or repeated flag"},
             Case{"FileKey1=%AppData%\\App|*.log|RECURSE|RECURSE", L"unknown or repeated flag"},
             Case{"FileKey1=%AppData%\\App|..\\*.log", L"not a file name"},
             Case{"FileKey1=App\\Logs|*.log", L"not a full path"},
             Case{"FileKey1=|*.log", L"names no folder"},
             Case{"FileKey1=%AppDir%\\Logs|*.log", L"unknown environment name: %AppDir%"},
             Case{"FileKey1=%AppData\\Logs|*.log", L"unclosed environment name"},
             Case{"FileKey1=*:\\Logs|*.log", L"not a full path"},
             Case{"FileKey=%AppData%\\App|*.log", L"has no number"},
             Case{"FileKey0=%AppData%\\App|*.log", L"not 1 or more"},
             Case{"RegKey1=Software\\App", L"no registry root"},
             Case{"RegKey1=HKCU", L"whole registry root"},
             Case{"RegKey1=HKCU\\Software\\App|", L"empty value name"},
             Case{"RegKey1=HKCU\\Software\\App|a|b", L"more than a key"},
             Case{"ExcludeKey1=DIR|%AppData%\\App\\|x", L"not FILE, PATH or REG"},
             Case{"ExcludeKey1=FILE", L"nothing to keep"},
             Case{"ExcludeKey1=PATH|%AppData%\\App\\|RECURSE", L"where the file pattern belongs"},
             Case{"Detect=Software\\App", L"no registry root"},
             Case{"DetectFile=App.exe", L"not a full path"},
             Case{"DetectOS=6.1", L"<min>|<max>"},
             Case{"DetectOS=|", L"<min>|<max>"},
             Case{"DetectOS=six|", L"<min>|<max>"},
             Case{"Default=maybe", L"neither True nor False"},
             Case{"SpecialDetect=DET_CHROME", L"not a key this program reads"},
             Case{"Section1=Editors", L"not a key of this format"},
             Case{"FileKey2=%Temp%|*.x", L"given twice"},
             Case{"Warning=", L"is empty"},
             Case{"just some words", L"not <key>=<value>"},
         }) {
        const std::string text = std::string("[Before]\nFileKey1=%Temp%\\a|*.a\n[Bad]\n") +
                                 "FileKey2=%Temp%\\b|*.b\n" + c.key +
                                 "\n[After]\nRegKey1=HKCU\\Software\\After\n";
        const RuleBook book = parseRules(text);
        ASSERT_EQ(book.entries.size(), 2u) << c.key;
        EXPECT_EQ(book.entries[0].name, L"Before") << c.key;
        EXPECT_EQ(book.entries[1].name, L"After") << c.key;
        ASSERT_EQ(book.problems.size(), 1u) << c.key;
        EXPECT_EQ(book.problems[0].entry, L"Bad") << c.key;
        EXPECT_EQ(book.problems[0].line, 5u) << c.key;
        EXPECT_NE(book.problems[0].text.find(c.problem), std::wstring::npos)
            << c.key << " gave " << narrow(book.problems[0].text);
    }
}

TEST(RuleBook, ReportsBrokenLinesAndEntriesThatCannotBeNamedOrDoNothing) {
    const std::string text =
        "stray=1\n"
        "[Empty]\n"
        "Section=x\n"
        "[Twice]\nRegKey1=HKCU\\Software\\A\n"
        "[Twice]\nRegKey1=HKCU\\Software\\B\n"
        "[Pipe|Name]\nRegKey1=HKCU\\Software\\C\n"
        "[Unclosed\nRegKey1=HKCU\\Software\\D\n"
        "[Broken]\nFileKey1=%Temp%\\\xC3(|*.x\n"
        "[Good]\nRegKey1=HKCU\\Software\\E\n"
        "[Carriage return]\nRegKey1=HKCU\\Software\\F\r\\\r\n";
    const RuleBook book = parseRules(text);
    ASSERT_EQ(book.entries.size(), 2u);
    EXPECT_EQ(book.entries[0].name, L"Twice");
    EXPECT_EQ(book.entries[0].registry[0].key, L"HKCU\\Software\\A");
    EXPECT_EQ(book.entries[1].name, L"Good");
    std::vector<std::wstring> texts;
    for (const RuleProblem& problem : book.problems) texts.push_back(problemText(problem));
    EXPECT_EQ(texts,
              (std::vector<std::wstring>{
                  L"line 1: the key stands before any entry",
                  L"line 2, entry \"Empty\": removes nothing: it has no FileKey and no RegKey",
                  L"line 6, entry \"Twice\": has the name of an entry before it",
                  L"line 8, entry \"Pipe|Name\": the entry's name holds \"|\"",
                  L"line 10, entry \"Unclosed\": the entry's name does not end in \"]\"",
                  L"line 13, entry \"Broken\": the line is not text in the file's encoding or "
                  L"holds a control character",
                  L"line 17, entry \"Carriage return\": the line is not text in the file's "
                  L"encoding or holds a control character",
              }));
}

// The keys only the built-in rules may use: read exactly there, and in a community file left out
// as every unknown key is, so that a community file reads as it always did.
TEST(RuleBook, TheBuiltInKeysAreReadInTheBuiltInRulesOnly) {
    const std::string text =
        "[Run box]\n"
        "Admin=True\n"
        "RegValues1=HKCU\\Software\\X\\*\\Count|#;MRUList|ROT13\n"
        "CountKeys1=HKCU\\Software\\X\\Bags|#|folders with remembered views\n"
        "FileKey1=%AppData%\\Recent|*.lnk|NAMES|ADMIN\n"
        "[Clipboard]\nOperation=clipboard\n";
    const RuleBook builtIn = parseRules(text, RuleDialect::builtIn);
    ASSERT_EQ(builtIn.entries.size(), 2u);
    EXPECT_TRUE(builtIn.problems.empty()) << narrow(problemText(builtIn.problems.front()));
    const RuleEntry& run = builtIn.entries[0];
    EXPECT_TRUE(run.adminOnly);
    EXPECT_EQ(run.values,
              (std::vector<ValuesRule>{
                  {L"HKCU\\Software\\X\\*\\Count", {L"#", L"MRUList"}, ValueNaming::rot13}}));
    EXPECT_EQ(run.keyCounts,
              (std::vector<KeyCount>{
                  {L"HKCU\\Software\\X\\Bags", {L"#"}, L"folders with remembered views"}}));
    EXPECT_TRUE(run.files[0].names && run.files[0].adminOnly);
    EXPECT_EQ(builtIn.entries[1].operation, RuleOperation::clipboard);
    EXPECT_TRUE(parseRules(text).entries.empty());
    EXPECT_EQ(parseRules(text).problems.size(), 2u);

    for (const char* key :
         {"RegValues1=HKCU\\*\\X|a", "RegValues1=HKCU\\X|a|SHOUT", "RegValues1=HKCU\\X",
          "RegValues1=HKCU\\X|a\\b", "CountKeys1=HKCU\\X|#", "Operation=registry", "Admin=False",
          "FileKey1=%Temp%|*.x|NAMES|NAMES"}) {
        const RuleBook book = parseRules(std::string("[Bad]\nFileKey9=%Temp%|*.y\n") + key + "\n",
                                         RuleDialect::builtIn);
        EXPECT_TRUE(book.entries.empty()) << key;
    }
    // The rules shipped inside the program read without a problem.
    std::ifstream file(PURGEON_WINDOWS_RULES, std::ios::binary);
    const std::string shipped((std::istreambuf_iterator<char>(file)), {});
    const RuleBook windows = parseRules(shipped, RuleDialect::builtIn);
    EXPECT_EQ(windows.entries.size(), 12u);
    EXPECT_TRUE(windows.problems.empty()) << narrow(problemText(windows.problems.front()));
}

TEST(RuleNames, NamePatternsTakeARunOfDigitsForHash) {
    for (const auto& [pattern, name, matches] :
         std::vector<std::tuple<const wchar_t*, const wchar_t*, bool>>{
             {L"#", L"0", true},
             {L"#", L"125", true},
             {L"#", L"", false},
             {L"#", L"1a", false},
             {L"url#", L"url25", true},
             {L"url#", L"url", false},
             {L"url#", L"URL3", true},
             {L"?", L"a", true},
             {L"?", L"ab", false},
             {L"*", L"", true},
             {L"#*", L"12x", true},
             {L"MRUListEx", L"mrulistex", true},
         })
        EXPECT_EQ(namePatternMatch(pattern, name), matches)
            << narrow(pattern) << " " << narrow(name);
}

}  // namespace
}  // namespace purgeon
