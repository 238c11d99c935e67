#pragma once
// The steps give their dialog filters as "description|pattern" (more entries may follow, each
// a further "|description|pattern"; several patterns are separated by ";"). Qt's file dialogs
// want "description (pattern pattern)" entries instead.

#include <QStringList>
#include <string_view>

namespace qorvel::gui {

// A description that already ends with its patterns in parentheses, as in
// "保存_中桩数据dat文件(*.dat)|*.dat", is kept as it is; otherwise the patterns are added in
// parentheses. An entry without a pattern offers every file.
QStringList ToQtNameFilters(std::string_view filter);

}  // namespace qorvel::gui
