#pragma once
// The view's commands as operations on its state: display, tools, mapping,
// processing and image loading. The widget runs them, then repaints, syncs its
// scroll bars and updates the panes as the returned values say.

#include <opencv2/core.hpp>
#include <string>

#include "fit/fit_driver.h"
#include "imaging/image_pair.h"
#include "view/view_state.h"

namespace qf {

// Scroll geometry for an image of w x h at the current zoom; an empty image
// leaves the display and cell sizes as they were.
void updateScrollSizes(ViewState& s, IntSize image);

// Points the current image at the output (display source 2) or the input
// (0 and 1), and recomputes the scroll sizes for it.
void refreshDisplay(ViewState& s);

// One tool on, the others off, and the display source the tool works on. An
// extraction preview not yet added is dropped.
void selectTool(ViewState& s, Tool tool);

void toggleInputDisplay(ViewState& s);    // input shown, or the white area
void toggleOutputDisplay(ViewState& s);   // processing output shown, or the input
void toggleGeneratedGraph(ViewState& s);  // the generated graph over the image
void toggleMappingGrid(ViewState& s);     // shows the input; the grid on or off
void togglePixelGrid(ViewState& s);
void toggleGreyMode(ViewState& s);  // and rebuilds the output from the input

// Maps the corners' quadrilateral onto the graph rectangle and shows the
// result with the graph-rectangle tool active. Needs an image.
void runMappingCommand(ViewState& s);

// Black and white by adaptive threshold, shown as the output; corner tool off.
void runProcessingCommand(ViewState& s);

// The pixel that stands out most from the ground within reach of a click
// (nearer ones preferred), or the click itself where there is only ground.
IntPoint snapToInk(const cv::Mat& picture, IntPoint click, int reach);

// The automatic extraction. A click with the extraction tool on the working
// picture: the curve through that pixel becomes the preview, replacing any
// earlier one. On failure the preview stays as it was and the reason is
// returned; empty when found. `cancel` is asked now and then while it runs
// (the window passes its Escape poll).
std::string previewExtraction(ViewState& s, IntPoint image, const ExtractionCancel& cancel = {});
// The settings changed: the preview is made again from its click. When that
// now finds nothing the preview is dropped and the reason returned.
std::string redoExtraction(ViewState& s);
// Adds the preview's points to the point list, as many as it still takes,
// and drops the preview. Returns how many were added.
int confirmExtraction(ViewState& s);
// What the user is told of a preview beyond the bare points: markers beyond
// what a fit takes (evenly spaced ones kept). Empty when there is nothing to say.
std::string extractionNote(const ExtractionPreview& preview);

struct FitCommandResult {
    FitOutcome outcome;  // status and the texts of "出力" and message boxes, in order
    std::string report;  // the page "フィッティング出力": the report after a fit, else empty
    int activeTab = 0;  // the output page to bring to the front
};

// Runs the fit on the view's points and settings. Whatever the outcome the
// generated graph is switched on and the display refreshed; a fit that got
// past its entry checks switches the mouse tools off.
FitCommandResult runFitCommand(ViewState& s, SvdFitWork& work);

// What the user is told when a result file cannot be created or written:
// the desktop's usual Japanese texts naming the file for a refused access and
// for a file that is busy or read-only, else the system's reason.
std::string fileWriteFailureText(const std::string& path, int errorNumber,
                                 const std::string& systemReason);

// 1:1 at the origin: how the generated-graph image is drawn, and where the
// view stays afterwards.
void resetZoomToOrigin(ViewState& s);

// Shows a picture just read as a newly opened one (geometry placed for its
// size, its grey rendering as the working picture) and notes its file.
void installPicture(ViewState& s, cv::Mat picture, const std::string& path);

}  // namespace qf
