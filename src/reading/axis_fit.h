#pragma once
// Value against pixel along one axis, from tick labels: linear or base-10
// logarithmic, whichever the labels agree on, with misread labels left out.

#include <string>
#include <vector>

namespace qf {

struct AxisFit {
    bool ok = false;
    bool log = false;
    // value = a + b * pixel (log: log10 value = a + b * pixel)
    double a = 0;
    double b = 0;
    std::vector<bool> used;  // per label: one of those the fit agrees with
    double rms = 0;          // the used labels' distance from the fit, in pixels
    std::string reason;      // why not ok, in English
    double valueAt(double pixel) const;
};

// `pixels` are the labels' tick positions, `values` their values. The fit is
// accepted when at least three labels, and more than half of them, lie within
// `tolerance` pixels of it. `usual` is the direction values usually run in
// (+1: growing with the pixel, as along X; -1: falling, as down Y): a scale
// running the other way is accepted only when every label agrees with it,
// since labels whose minus signs were lost ("4 2 0 2 4") agree on a reversed
// scale on one side of zero.
AxisFit fitAxis(const std::vector<double>& pixels, const std::vector<double>& values,
                double tolerance, int usual = 0);

}  // namespace qf
