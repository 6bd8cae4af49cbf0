#include "view/document_sync.h"

#include "imaging/mapping.h"
#include "imaging/processing.h"
#include "view/view_commands.h"

namespace qf {

DocumentRecord recordOf(const ViewState& s) {
    DocumentRecord r;
    r.image = s.picture.imagePath;
    r.mapping = s.mapping.geometry;
    r.applied = s.picture.applied;
    r.axis = s.axis;
    r.points.assign(s.points.points.begin(), s.points.points.begin() + s.points.pointCount);
    r.extraction = s.extraction;
    r.fit = s.fit;
    r.graph = s.graphStyle;
    return r;
}

void showRecord(ViewState& s, const DocumentRecord& r) {
    if (s.mapping.geometry != r.mapping) {
        s.mapping.geometry = r.mapping;
        updateInnerQuad(s.mapping);
    }
    s.axis = r.axis;
    const int32_t selected = s.points.selectedPoint;
    s.points = SourcePointList{};
    for (const SourcePoint& p : r.points) s.points.add(p);
    s.points.selectedPoint = selected < s.points.pointCount ? selected : -1;
    s.extraction = r.extraction;
    s.fit = r.fit;
    s.graphStyle = r.graph;
}

PictureWork pictureWorkFor(const ViewState& s, const DocumentRecord& r) {
    PictureWork w;
    w.read = r.image != s.picture.imagePath && !r.image.empty();
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
    if (work.clear) {
        s.extractPreview = {};
        s.images = ImagePair{};
        s.picture = PictureSource{};
        s.display.currentImage = CurrentImage::None;
        s.transform.scrollPos = {0, 0};
        refreshDisplay(s);
        return;
    }
    if (!work.remap && !work.unmap) return;
    s.extractPreview = {};  // found on the picture this replaces
    if (work.unmap) convertGrey(s.images, s.display.currentImage, s.greyMode);
    if (work.remap) runMapping(s.images, s.display.currentImage, *r.applied);
    s.picture.applied = r.applied;
    refreshDisplay(s);
}

}  // namespace qf
