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

}  // namespace qf
