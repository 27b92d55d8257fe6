#pragma once
// Reading of the texts.tsv files that hold the program's user texts.
// A row is "id<TAB>German<TAB>English"; "#" starts a comment line. Texts are taken
// exactly as written (blanks at either end are significant); "\t", "\n" and "\\"
// are the only escapes.
#include <map>
#include <string>
#include <vector>

namespace varnak::texts {

struct TextRow {
    int id = 0;
    std::string german;
    std::string english;
};

struct TextTableResult {
    std::map<int, TextRow> rows;
    std::vector<std::string> errors;  // "file:line: reason"
};

// Adds the rows of one file's content to result; origin names the file in messages.
void parseTextTable(const std::string& content, const std::string& origin,
                    TextTableResult& result);

}  // namespace varnak::texts
