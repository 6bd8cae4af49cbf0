#pragma once
// The name a save dialog's answer stands for. The format of a saved file is
// read from its extension alone, so a name typed without one takes it from
// the filter the user chose, not from a fixed default.

#include <QString>
#include <QStringList>

namespace qf {

// The extensions of one filter entry, without the dot and in the order given:
// "PNG (*.png)" gives {"png"}, "Image Files (*.bmp *.jpg)" {"bmp", "jpg"};
// "All Files (*)" and "(*.*)" give none.
QStringList filterSuffixes(const QString& nameFilter);

// The path to write for `typed`, the path the dialog returned:
// - a name that ends in one of the selected filter's extensions, or in any
//   extension another entry of `filters` (the whole ";;" list) offers, is
//   kept as it is: the user named the format;
// - any other name gets the selected filter's first extension ("chart" and
//   "my.chart" with "PNG (*.png)" become "chart.png" and "my.chart.png");
// - under a filter without extensions ("All Files (*)") only a name without
//   any extension gets `defaultSuffix`.
// Extensions compare without regard to case.
QString savePathFor(const QString& typed, const QString& selectedFilter, const QString& filters,
                    const QString& defaultSuffix);

// What a save dialog offers to write.
enum class SavedFile {
    Project,
    SourcePoints,
    GeneratedPoints,
    Picture,
    GraphImage,
    FitJson,
    SeriesPoints,  // every series' points in long form
};

// The name a save dialog proposes: the project's name, else (an untitled
// project) the picture's base name, with the extension of what is saved; the
// names the batch mode writes ("points.csv", "fit.json", ...) after it, so
// that no proposal is the picture's own file. Without either name: the batch
// mode's names alone, and nothing for a project.
QString proposedSaveName(const QString& projectPath, const QString& picturePath, SavedFile what);

}  // namespace qf
