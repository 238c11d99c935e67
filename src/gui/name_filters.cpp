#include "gui/name_filters.h"

#include <QRegularExpression>
#include <QString>

namespace qorvel::gui {

namespace {

QStringList SplitPatterns(const QString& patterns) {
    static const QRegularExpression separators(QStringLiteral("[;\\s]+"));
    return patterns.split(separators, Qt::SkipEmptyParts);
}

// The patterns a description shows at its end, "(*.dat)" or "(*.dat;*.txt)", if any.
QStringList TrailingPatterns(const QString& description) {
    if (!description.endsWith(u')')) return {};
    const qsizetype open = description.lastIndexOf(u'(');
    if (open < 0) return {};
    return SplitPatterns(description.mid(open + 1, description.size() - open - 2));
}

}  // namespace

QStringList ToQtNameFilters(std::string_view filter) {
    const QStringList pieces = QString::fromUtf8(filter.data(), static_cast<qsizetype>(filter.size())).split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i < pieces.size(); i += 2) {
        const QString description = pieces[i].trimmed();
        QStringList patterns = SplitPatterns(i + 1 < pieces.size() ? pieces[i + 1] : QString());
        if (patterns.isEmpty()) patterns << QStringLiteral("*");
        if (description.isEmpty() && i + 1 >= pieces.size()) continue;  // a trailing "|"
        if (TrailingPatterns(description) == patterns)
            filters << description;
        else if (description.isEmpty())
            filters << QStringLiteral("(%1)").arg(patterns.join(u' '));
        else
            filters << QStringLiteral("%1 (%2)").arg(description, patterns.join(u' '));
    }
    if (filters.isEmpty()) filters << QStringLiteral("(*)");
    return filters;
}

}  // namespace qorvel::gui
