#include "view/document_sync.h"

#include "imaging/mapping.h"
#include "imaging/processing.h"
#include "view/view_commands.h"

namespace qf {

DocumentRecord recordOf(const ViewState& s) {
    DocumentRecord r;
    r.image = s.picture.m_imagePath;
    r.corners = s.mapping.m_mappingCorners;
    r.graphRect = s.mapping.m_graphRect;
    r.mappingMethod = s.mapping.m_mappingMethod;
    r.mappingSampling = s.mapping.m_mappingSampling;
    r.applyMapping = s.picture.m_mappingApplied != 0;
    r.mappedCorners = r.applyMapping ? s.picture.m_mappedCorners : r.corners;
    r.mappedGraphRect = r.applyMapping ? s.picture.m_mappedGraphRect : r.graphRect;
    r.mappedMethod = r.applyMapping ? s.picture.m_mappedMethod : r.mappingMethod;
    r.mappedSampling = r.applyMapping ? s.picture.m_mappedSampling : r.mappingSampling;
    r.axis = s.axis;
    r.points.assign(s.points.m_points.begin(), s.points.m_points.begin() + s.points.m_pointCount);
    r.extraction = s.extraction;
    r.fit = s.fit;
    r.graph = s.graphStyle;
    return r;
}

void showRecord(ViewState& s, const DocumentRecord& r) {
    if (s.mapping.m_mappingCorners != r.corners || s.mapping.m_graphRect != r.graphRect ||
        s.mapping.m_mappingMethod != r.mappingMethod ||
        s.mapping.m_mappingSampling != r.mappingSampling) {
        s.mapping.m_mappingCorners = r.corners;
        s.mapping.m_graphRect = r.graphRect;
        s.mapping.m_mappingMethod = r.mappingMethod;
        s.mapping.m_mappingSampling = r.mappingSampling;
        updateInnerQuad(s.mapping);
    }
    s.axis = r.axis;
    const int32_t selected = s.points.m_selectedPoint;
    s.points = SourcePointList{};
    for (const SourcePoint& p : r.points) s.points.add(p);
    s.points.m_selectedPoint = selected < s.points.m_pointCount ? selected : -1;
    s.extraction = r.extraction;
    s.fit = r.fit;
    s.graphStyle = r.graph;
}

PictureWork pictureWorkFor(const ViewState& s, const DocumentRecord& r) {
    PictureWork w;
    w.read = r.image != s.picture.m_imagePath && !r.image.empty();
    w.clear = r.image.empty() && !s.picture.m_imagePath.empty();
    if (w.clear) return w;
    const bool mappedNow = s.picture.m_mappingApplied != 0 && !w.read;
    if (r.applyMapping) {
        w.remap = !mappedNow || s.picture.m_mappedCorners != r.mappedCorners ||
                  s.picture.m_mappedGraphRect != r.mappedGraphRect ||
                  s.picture.m_mappedMethod != r.mappedMethod ||
                  s.picture.m_mappedSampling != r.mappedSampling;
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
        s.display.m_currentImage = CurrentImage::None;
        s.transform.m_scrollPos = {0, 0};
        refreshDisplay(s);
        return;
    }
    if (!work.remap && !work.unmap) return;
    s.extractPreview = {};  // found on the picture this replaces
    if (work.unmap) convertGrey(s.images, s.display.m_currentImage, s.m_greyMode);
    if (work.remap) {
        MappingQuad mapped = s.mapping;
        mapped.m_mappingCorners = r.mappedCorners;
        mapped.m_graphRect = r.mappedGraphRect;
        mapped.m_mappingMethod = r.mappedMethod;
        mapped.m_mappingSampling = r.mappedSampling;
        runMapping(s.images, s.display.m_currentImage, mapped);
    }
    s.picture.m_mappingApplied = r.applyMapping ? 1 : 0;
    s.picture.m_mappedCorners = r.mappedCorners;
    s.picture.m_mappedGraphRect = r.mappedGraphRect;
    s.picture.m_mappedMethod = r.mappedMethod;
    s.picture.m_mappedSampling = r.mappedSampling;
    refreshDisplay(s);
}

}  // namespace qf
