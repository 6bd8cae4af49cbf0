#pragma once
// The view works on its own copy of the document's record while a gesture or
// a command runs, and hands the result back to the document as one edit.
// These functions move the record between the document and the view's state,
// and say what the pictures need when a record arrives that the view did not
// make (undo, redo, an opened project).

#include "document/document_record.h"
#include "view/view_state.h"

namespace qf {

// The work part of the view's state as a record.
DocumentRecord recordOf(const ViewState& s);

// Copies the record into the view's state: geometry, axes, points and
// settings. The point selection stays while it names a point. The pictures
// are not touched (see pictureWorkFor).
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
