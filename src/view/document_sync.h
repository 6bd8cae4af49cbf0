#pragma once
// The view edits the document's record in its state while a gesture or a
// command runs, and hands the result back to the document as one edit. When a
// record arrives that the view did not make (undo, redo, an opened project),
// these functions take it in and say what the pictures need.

#include "document/document_record.h"
#include "view/view_state.h"

namespace qf {

// Makes the record the view's: the mapping guide follows its corners, and the
// point selection stays while it names a point. The pictures are not touched
// (see pictureWorkFor).
void showRecord(ViewState& s, const DocumentRecord& r);

struct PictureWork {
    bool read = false;   // another picture file: read it
    bool remap = false;  // the working picture must be mapped with the record's geometry
    bool unmap = false;  // the working picture must be rebuilt from the input
    bool clear = false;  // the record has no picture: show none
    bool any() const { return read || remap || unmap || clear; }
};

// What the pictures need so that they are what the record derives.
PictureWork pictureWorkFor(const ViewState& s, const DocumentRecord& r);

// Rebuilds the working picture for the record (after any read): maps it with
// the record's geometry or rebuilds it from the input, and notes what it was
// made from.
void rebuildWorkingPicture(ViewState& s, const DocumentRecord& r, const PictureWork& work);

}  // namespace qf
