#include "view/document_sync.h"

#include "imaging/mapping.h"
#include "imaging/processing.h"
#include "view/view_commands.h"

namespace qf {

void showRecord(ViewState& s, const DocumentRecord& r) {
    const bool moved = s.doc.mapping != r.mapping;
    s.doc = r;
    if (moved) updateInnerQuad(s.doc.mapping, s.guide);
    if (s.selectedPoint >= s.pointCount()) s.selectedPoint = -1;
}

PictureWork pictureWorkFor(const ViewState& s, const DocumentRecord& r) {
    PictureWork w;
    // Another page of the same PDF, or the same at another resolution, is
    // another picture.
    w.read = (r.image != s.picture.imagePath || r.page != s.picture.page ||
              (r.page && r.dpi != s.picture.dpi)) &&
             !r.image.empty();
    w.clear = r.image.empty() && !s.picture.imagePath.empty();
    if (w.clear) return w;
    const std::optional<MappingGeometry> mappedNow = w.read ? std::nullopt : s.picture.applied;
    if (r.applied)
        w.remap = mappedNow != r.applied;
    else
        w.unmap = mappedNow.has_value();
    return w;
}

void rebuildWorkingPicture(ViewState& s, const DocumentRecord& r, const PictureWork& work) {
    // The picture just read was installed before the record it belongs to.
    if (work.read && s.picture.imagePath == r.image) {
        s.picture.page = r.page;
        s.picture.dpi = r.dpi;
    }
    if (work.clear) {
        s.extractPreview = {};
        s.readLabels.reset();
        s.images = ImagePair{};
        s.picture = PictureSource{};
        s.display.currentImage = CurrentImage::None;
        s.transform.scrollPos = {0, 0};
        refreshDisplay(s);
        return;
    }
    if (!work.remap && !work.unmap) return;
    s.extractPreview = {};  // found on the picture this replaces
    s.readLabels.reset();
    if (work.unmap) convertGrey(s.images, s.display.currentImage, s.greyMode);
    if (work.remap) runMapping(s.images, s.display.currentImage, *r.applied);
    s.picture.applied = r.applied;
    refreshDisplay(s);
}

}  // namespace qf
