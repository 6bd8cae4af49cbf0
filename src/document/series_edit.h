#pragma once
// The edits that add, rename, recolour and delete a document's series and
// move points between them. Each works on a record, so that the window makes
// every one of them a single undoable step; each keeps the record's rules
// (at least one series, the active index inside the list, no series over
// its point limit) and returns false, leaving the record alone, when asked
// for what would break them.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "document/document_record.h"

namespace qf {

// Colours that stay apart from each other and from black, grey and white
// (0x00BBGGRR); the first is the one a document's lone series always had.
std::span<const uint32_t> seriesPalette();

// The first palette colour no series uses (the palette again when all are
// taken), for a series about to be added.
uint32_t unusedSeriesColour(const DocumentRecord& r);

// The colour for a series read off the picture: the curve's own colour
// (0x00BBGGRR) when it stands apart from every colour in `taken`, so the
// series looks like what it was read from; else the first unused palette
// colour.
uint32_t colourForCurve(const std::vector<Series>& taken, uint32_t own);

// Adds `series` after the others and makes it the active one.
bool addSeries(DocumentRecord& r, Series series);

// Deletes series `index`; the last series is never deleted. The active
// series stays the one it was, or the next (else the last) when that one goes.
bool removeSeries(DocumentRecord& r, int index);

bool renameSeries(DocumentRecord& r, int index, const std::string& name);
bool recolourSeries(DocumentRecord& r, int index, uint32_t colour);
bool setActiveSeries(DocumentRecord& r, int index);

// Moves point `point` of series `from` to the end of series `to`.
bool movePoint(DocumentRecord& r, int from, std::size_t point, int to);

// The total of points over all series.
std::size_t totalPointCount(const DocumentRecord& r);

}  // namespace qf
