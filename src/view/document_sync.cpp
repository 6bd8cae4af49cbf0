#include "view/document_sync.h"

#include "imaging/mapping.h"
#include "imaging/processing.h"
#include "view/view_commands.h"

namespace qf {

DocumentRecord recordOf(const ViewState& s) {
    DocumentRecord r;
    r.image = s.picture.imagePath;
    r.corners = s.mapping.mappingCorners;
    r.graphRect = s.mapping.graphRect;
    r.mappingMethod = s.mapping.mappingMethod;
    r.mappingSampling = s.mapping.mappingSampling;
    r.applyMapping = s.picture.mappingApplied != 0;
    r.mappedCorners = r.applyMapping ? s.picture.mappedCorners : r.corners;
    r.mappedGraphRect = r.applyMapping ? s.picture.mappedGraphRect : r.graphRect;
    r.mappedMethod = r.applyMapping ? s.picture.mappedMethod : r.mappingMethod;
    r.mappedSampling = r.applyMapping ? s.picture.mappedSampling : r.mappingSampling;
    r.axis = s.axis;
    r.points.assign(s.points.points.begin(), s.points.points.begin() + s.points.pointCount);
    r.extraction = s.extraction;
    r.fit = s.fit;
    r.graph = s.graphStyle;
    return r;
}

void showRecord(ViewState& s, const DocumentRecord& r) {
    if (s.mapping.mappingCorners != r.corners || s.mapping.graphRect != r.graphRect ||
        s.mapping.mappingMethod != r.mappingMethod ||
        s.mapping.mappingSampling != r.mappingSampling) {
        s.mapping.mappingCorners = r.corners;
        s.mapping.graphRect = r.graphRect;
        s.mapping.mappingMethod = r.mappingMethod;
        s.mapping.mappingSampling = r.mappingSampling;
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
    const bool mappedNow = s.picture.mappingApplied != 0 && !w.read;
    if (r.applyMapping) {
        w.remap = !mappedNow || s.picture.mappedCorners != r.mappedCorners ||
                  s.picture.mappedGraphRect != r.mappedGraphRect ||
                  s.picture.mappedMethod != r.mappedMethod ||
                  s.picture.mappedSampling != r.mappedSampling;
    } else {
        w.unmap = mappedNow;
    }
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
    if (work.remap) {
        MappingQuad mapped = s.mapping;
        mapped.mappingCorners = r.mappedCorners;
        mapped.graphRect = r.mappedGraphRect;
        mapped.mappingMethod = r.mappedMethod;
        mapped.mappingSampling = r.mappedSampling;
        runMapping(s.images, s.display.currentImage, mapped);
    }
    s.picture.mappingApplied = r.applyMapping ? 1 : 0;
    s.picture.mappedCorners = r.mappedCorners;
    s.picture.mappedGraphRect = r.mappedGraphRect;
    s.picture.mappedMethod = r.mappedMethod;
    s.picture.mappedSampling = r.mappedSampling;
    refreshDisplay(s);
}

}  // namespace qf
