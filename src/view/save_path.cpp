#include "view/save_path.h"

#include <QRegularExpression>
#include <cstring>

namespace qf {
namespace {

QString fileNameOf(const QString& path) {
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

bool endsWithSuffix(const QString& name, const QString& suffix) {
    return name.endsWith(QLatin1Char('.') + suffix, Qt::CaseInsensitive);
}

// The last part of a name's extension, "json" of "a.quillfen.json"; empty for
// "chart", "chart." and ".hidden".
QString lastSuffixOf(const QString& name) {
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0 || dot == name.size() - 1) return {};
    return name.mid(dot + 1);
}

QString withSuffix(const QString& path, const QString& suffix) {
    return path.endsWith(QLatin1Char('.')) ? path + suffix : path + QLatin1Char('.') + suffix;
}

}  // namespace

QStringList filterSuffixes(const QString& nameFilter) {
    // The patterns are the text in the last parentheses, or the whole entry.
    static const QRegularExpression kPatterns(QStringLiteral("\\(([^()]*)\\)\\s*$"));
    const QRegularExpressionMatch m = kPatterns.match(nameFilter);
    const QString patterns = m.hasMatch() ? m.captured(1) : nameFilter;
    QStringList suffixes;
    for (const QString& pattern : patterns.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (!pattern.startsWith(QStringLiteral("*."))) continue;
        const QString suffix = pattern.mid(2);
        // "*.*" and other wildcards name no one extension.
        if (suffix.isEmpty() || suffix.contains(QLatin1Char('*')) ||
            suffix.contains(QLatin1Char('?')) || suffix.contains(QLatin1Char('[')))
            continue;
        suffixes << suffix;
    }
    return suffixes;
}

QString savePathFor(const QString& typed, const QString& selectedFilter, const QString& filters,
                    const QString& defaultSuffix) {
    const QString name = fileNameOf(typed);
    if (name.isEmpty()) return typed;
    const QStringList selected = filterSuffixes(selectedFilter);
    if (selected.isEmpty()) {
        if (lastSuffixOf(name).isEmpty() && !defaultSuffix.isEmpty())
            return withSuffix(typed, defaultSuffix);
        return typed;
    }
    for (const QString& suffix : selected)
        if (endsWithSuffix(name, suffix)) return typed;
    // An extension this dialog offers under another entry names the format
    // as clearly as the filter does; "json" also counts for "quillfen.json",
    // whose owner settles the rest.
    const QString typedSuffix = lastSuffixOf(name);
    if (!typedSuffix.isEmpty())
        for (const QString& entry : filters.split(QStringLiteral(";;"), Qt::SkipEmptyParts))
            for (const QString& suffix : filterSuffixes(entry))
                if (suffix.section(QLatin1Char('.'), -1)
                        .compare(typedSuffix, Qt::CaseInsensitive) == 0)
                    return typed;
    return withSuffix(typed, selected.constFirst());
}

QString proposedSaveName(const QString& projectPath, const QString& picturePath, SavedFile what) {
    QString stem;
    if (!projectPath.isEmpty()) {
        stem = fileNameOf(projectPath);
        // "chart.quillfen.json" and "chart.json" are both the project "chart".
        for (const char* suffix : {".quillfen.json", ".json"})
            if (stem.endsWith(QLatin1String(suffix), Qt::CaseInsensitive)) {
                stem.chop(qsizetype(std::strlen(suffix)));
                break;
            }
    } else if (!picturePath.isEmpty()) {
        stem = fileNameOf(picturePath);
        const qsizetype dot = stem.lastIndexOf(QLatin1Char('.'));
        if (dot > 0) stem.truncate(dot);
    }
    const char* name = "";
    switch (what) {
        case SavedFile::Project:
            return stem.isEmpty() ? QString() : stem + QStringLiteral(".quillfen.json");
        case SavedFile::SourcePoints:
            name = "points.csv";
            break;
        case SavedFile::GeneratedPoints:
            name = "fit.csv";
            break;
        case SavedFile::Picture:
            name = "working.png";
            break;
        case SavedFile::GraphImage:
            name = "graph.png";
            break;
        case SavedFile::FitJson:
            name = "fit.json";
            break;
        case SavedFile::SeriesPoints:
            name = "series.csv";
            break;
    }
    return stem.isEmpty() ? QString::fromLatin1(name)
                          : stem + QLatin1Char('.') + QLatin1String(name);
}

}  // namespace qf
