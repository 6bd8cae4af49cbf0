#pragma once
// The fit: validates the input, converts the source points to values,
// normalises them, solves for the chosen model and samples the fitted curve.
// It runs without a window; the window carries out the returned events.

#include <cstdint>
#include <string>
#include <vector>

#include "common/axis_settings.h"
#include "common/geometry.h"
#include "fit/fit_types.h"
#include "fit/svd.h"

namespace qf {

struct FitInput {
    const SourcePoint* points = nullptr;
    int32_t pointCount = 0;
    AxisSettings axis;
    FitSettings settings;
    bool imagePresent = false;
};

enum class FitEventKind {
    SetOutputText,  // replace the whole text of the output page "出力"
    MessageBox,     // a modal message box with an OK button
};

struct FitEvent {
    FitEventKind kind;
    std::string text;
    friend bool operator==(const FitEvent&, const FitEvent&) = default;
};

enum FitStatus : int32_t {
    FitOk = 0,
    FitNotRun = 1,        // no image, no point, or more than 128 points
    FitSolverFailed = 2,  // solver error, or no memory for the generated points
    FitRejected = 3,      // settings rejected, or a formula did not compile
};

struct FitOutcome {
    int32_t status = FitNotRun;
    // True once the entry checks passed: the mouse tools are to be switched off.
    bool modesCleared = false;
    // What the window must show, in this order.
    std::vector<FitEvent> events;
};

FitOutcome runFit(const FitInput& in, SvdFitWork& work, FitResult& result, GeneratedGraph& graph);

// Scales xData and yData [1..n] by Nx = max(1, |x|) and Ny = max(1, |y|) over
// all points, as the fit does before solving.
void normaliseFitData(SvdFitWork& work, int n, double& nx, double& ny);

}  // namespace qf
